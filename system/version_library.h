// The system's version-resource functions. version.dll is not among the libraries the system
// always loads from its own folder, so it is not imported: it is loaded from the system folder
// at first use and stays loaded until the program ends.
#pragma once

#include <windows.h>

namespace vt {

struct VersionLibrary {
    DWORD(WINAPI* GetFileVersionInfoSizeW)(LPCWSTR file, LPDWORD handle) = nullptr;
    BOOL(WINAPI* GetFileVersionInfoW)
    (LPCWSTR file, DWORD handle, DWORD size, LPVOID data) = nullptr;
    BOOL(WINAPI* VerQueryValueW)
    (LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length) = nullptr;
};

// The functions, loaded once. Raises 48 (error in loading DLL) when the library or one of its
// functions cannot be had; a later call tries again.
const VersionLibrary& Version();

} // namespace vt

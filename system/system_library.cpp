#include "system/system_library.h"

namespace vt {

void RestrictLibrarySearch() noexcept {
    // A Windows 7 without its loader update lacks the call: look it up, so that the program
    // still starts there, with the current folder taken out of the search at least.
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDirectories = ProcedureOf<SetDefaultDllDirectoriesProc>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDirectories) {
        setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
    // A bare name, not a full path: the activation context of the manifest redirects a bare
    // name (the common controls' version 6), a full path it would not.
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace vt

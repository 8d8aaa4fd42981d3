// Whether only trusted accounts may write into a folder or a file, from its security as the
// system keeps it.
#pragma once

#include "system/handles.h"

#include <windows.h>

#include <string>

namespace vt {

// True when nobody but the system, the Administrators group, the installer service and the
// account of this process owns `path` or may write into it (filesystem/write_access_rules.h).
// False too when its owner or access list, or this process's account, cannot be read.
bool OnlyTrustedMayWriteTo(const std::wstring& path) noexcept;
// The same for the file or folder open as `object`, read through the handle: what is judged is
// what was opened, whatever has been put at its path since.
bool OnlyTrustedMayWriteTo(HANDLE object) noexcept;

// A file the elevated run takes code from, held open while it is used: nobody can write,
// rename or delete it meanwhile, so the file judged is the file used.
struct HeldFile {
    UniqueFile handle;
    // Neither the file nor a folder between it and `top` admits another writer (`top` itself
    // is the caller's to judge), and none of them is a link.
    bool trusted = false;
};
// Holds the file at `path`, which must lie below `top` (as OpenedFolderPath names it) where it
// was opened. Never fails: a file that cannot be opened,
// or whose rights cannot be read, is held by nothing and not trusted.
HeldFile HoldFile(const std::wstring& path, const std::wstring& top) noexcept;

} // namespace vt

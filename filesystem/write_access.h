// Whether only trusted accounts may write into a folder or a file, from its security as the
// system keeps it.
#pragma once

#include <string>

namespace vt {

// True when nobody but the system, the Administrators group, the installer service and the
// account of this process owns `path` or may write into it (filesystem/write_access_rules.h).
// False too when its owner or access list, or this process's account, cannot be read.
bool OnlyTrustedMayWriteTo(const std::wstring& path) noexcept;

} // namespace vt

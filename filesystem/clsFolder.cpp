#include "filesystem/clsFolder.h"

#include "system/errors.h"

#include <windows.h>
#include <shlwapi.h>

namespace vt {

bool clsFolder::Exists(const std::wstring& folder) const noexcept {
    bool result = false;
    ResumeNext([&] { result = PathIsDirectoryW(folder.c_str()) != FALSE; });
    return result;
}

bool clsFolder::Delete(const std::wstring&) const noexcept {
    return false;
}

} // namespace vt

#include "filesystem/clsFile.h"

#include "system/errors.h"

#include <windows.h>
#include <shlwapi.h>

namespace vt {

bool clsFile::Exists(const std::wstring& file) const noexcept {
    bool result = false;
    ResumeNext([&] { result = PathFileExistsW(file.c_str()) && !PathIsDirectoryW(file.c_str()); });
    return result;
}

bool clsFile::Delete(const std::wstring&, bool) const noexcept {
    return false;
}

} // namespace vt

// Everything the uninstaller does to folders.
#pragma once

#include <string>

namespace vt {

class clsFolder {
  public:
    // True when the path names an existing folder.
    bool Exists(const std::wstring& folder) const noexcept;

    // Deletes the folder with all its contents; true when it was deleted.
    // The shell file operation behind it is not built yet: for now nothing is deleted.
    bool Delete(const std::wstring& folder) const noexcept;
};

} // namespace vt

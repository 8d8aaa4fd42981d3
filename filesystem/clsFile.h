// Everything the uninstaller does to single files.
#pragma once

#include <string>

namespace vt {

class clsFile {
  public:
    // True when the path exists and is not a folder.
    bool Exists(const std::wstring& file) const noexcept;

    // Deletes the file for good (or into the recycle bin); true when it was deleted.
    // The shell file operation behind it is not built yet: for now nothing is deleted.
    bool Delete(const std::wstring& file, bool recycleBin = false) const noexcept;
};

} // namespace vt

// Everything the uninstaller does to single files. The class holds nothing: each member opens
// and closes what it uses. Paths go to the system as the caller passes them.
#pragma once

#include <string>

namespace vt {

class clsFile {
  public:
    // True when the path exists and is not a folder. Never fails.
    bool Exists(const std::wstring& file) const noexcept;

    // Copies through the shell, without questions; silent also hides its progress display.
    // A source or destination that the path check refuses raises its error (52, 71, 76, ...)
    // before anything is copied. A failing shell operation beeps.
    void Copy(const std::wstring& source, const std::wstring& dest, bool silent = false) const;

    // Moves through the shell; checks and failures as Copy.
    void Move(const std::wstring& source, const std::wstring& dest) const;

    // Renames through the shell. The source check may show its box, but its errors are passed
    // over and the shell is asked all the same. A failing shell operation beeps.
    void Rename(const std::wstring& source, const std::wstring& dest) const noexcept;

    // Deletes for good, without questions or progress display (or into the recycle bin);
    // true exactly when the shell succeeded. Errors of the check are passed over.
    bool Delete(const std::wstring& file, bool recycleBin = false) const noexcept;

    // Has the system delete the file at the next restart, for a file that is in use now.
    void DeleteInUse(const std::wstring& file) const noexcept;
};

} // namespace vt

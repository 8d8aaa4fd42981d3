#include "filesystem/clsFile.h"

#include "filesystem/shell_file_op.h"
#include "system/errors.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace vt {

namespace {

void CheckSourcePath(const std::wstring& path) {
    CheckPath(path, PathCheckKind::File, /*yieldBeforeRetry=*/true);
}

void CheckDestPath(const std::wstring& path) {
    CheckPath(path, PathCheckKind::File, /*yieldBeforeRetry=*/false);
}

} // namespace

bool clsFile::Exists(const std::wstring& file) const noexcept {
    bool result = false;
    ResumeNext([&] { result = PathFileExistsW(file.c_str()) && !PathIsDirectoryW(file.c_str()); });
    return result;
}

void clsFile::Copy(const std::wstring& source, const std::wstring& dest, bool silent) const {
    CheckSourcePath(source);
    CheckDestPath(dest);
    if (ShellFileOperation(FO_COPY, {source}, &dest, silent ? kFofQuietSilent : kFofQuiet) != 0) {
        FailureBeep();
    }
}

void clsFile::Move(const std::wstring& source, const std::wstring& dest) const {
    CheckSourcePath(source);
    CheckDestPath(dest);
    if (ShellFileOperation(FO_MOVE, {source}, &dest, kFofQuiet) != 0) {
        FailureBeep();
    }
}

void clsFile::Rename(const std::wstring& source, const std::wstring& dest) const noexcept {
    ResumeNext([&] { CheckSourcePath(source); });
    ResumeNext([&] {
        if (ShellFileOperation(FO_RENAME, {source}, &dest, kFofQuiet) != 0) {
            FailureBeep();
        }
    });
}

bool clsFile::Delete(const std::wstring& file, bool recycleBin) const noexcept {
    bool deleted = false;
    ResumeNext([&] { CheckSourcePath(file); });
    ResumeNext([&] {
        const FILEOP_FLAGS flags = recycleBin ? kFofQuietSilent | kFofAllowUndo : kFofQuietSilent;
        deleted = ShellFileOperation(FO_DELETE, {file}, nullptr, flags) == 0;
    });
    return deleted;
}

void clsFile::DeleteInUse(const std::wstring& file) const noexcept {
    // No new name: the system deletes the file at the restart instead of renaming it.
    MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

} // namespace vt

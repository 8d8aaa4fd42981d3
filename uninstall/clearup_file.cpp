#include "uninstall/clearup_file.h"

#include "filesystem/write_access.h"
#include "system/ansi.h"
#include "system/handles.h"
#include "system/myMod.h"
#include "system/system_program.h"
#include "uninstall/form1_rules.h"

#include <windows.h>

namespace vt {

namespace {

// Whether the batch may call "clearup.bat" in the folder above the program folder: only when
// no account but the trusted ones may write into that folder, nor into the batch there if there
// is one (a file that others may write to could have been rewritten since it was put there).
bool ParentBatchTrusted() {
    const std::wstring parent = GetFileName(AppPath(), false);
    if (!OnlyTrustedMayWriteTo(parent)) {
        return false;
    }
    const std::wstring batch = AddBackslash(parent) + kClearupBatchName;
    return (GetFileAttributesW(batch.c_str()) == INVALID_FILE_ATTRIBUTES &&
            GetLastError() == ERROR_FILE_NOT_FOUND) ||
           OnlyTrustedMayWriteTo(batch);
}

// The batch deletes the executable in a loop until it is gone: a read-only one it never
// removes, and the loop would spin for ever. Only that mark goes; the others stay.
void ClearReadOnly(const std::wstring& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        return;
    }
    const DWORD rest = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(file.c_str(), rest != 0 ? rest : FILE_ATTRIBUTE_NORMAL);
}

} // namespace

bool StartClearupBatch(const ClearupBatch& batch) {
    // With /s the command processor takes off exactly the outer pair of quotes, whatever the
    // path holds between them. The batch's path is carried exactly by the ANSI code page.
    const std::optional<std::wstring> path = FromAnsiExact(batch.Path());
    return path &&
           StartSystemProgram(L"cmd.exe", L"/s /c \"\"" + *path + L"\"\"", nullptr, SW_SHOWNORMAL);
}

bool LeaveUninstallerForRestart() {
    ClearReadOnly(AppExePath());
    return MoveFileExW(AppExePath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

std::optional<ClearupBatch> WriteClearupBatch() {
    const std::wstring exePath = AppExePath();
    std::optional<ClearupBatch> batch =
        MakeClearupBatch(exePath, ShortPathName(exePath), ParentBatchTrusted(), ToAnsiExact);
    if (!batch) {
        return std::nullopt;
    }
    const std::wstring file = AddBackslash(AppPath()) + kClearupBatchName;
    const UniqueFile out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!out ||
        !WriteFile(out.get(), batch->text.data(), static_cast<DWORD>(batch->text.size()), &written,
                   nullptr) ||
        written != batch->text.size()) {
        return std::nullopt;
    }
    ClearReadOnly(exePath);
    return batch;
}

} // namespace vt

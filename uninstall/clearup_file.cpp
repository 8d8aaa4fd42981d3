#include "uninstall/clearup_file.h"

#include "system/ansi.h"
#include "system/handles.h"
#include "system/myMod.h"
#include "system/system_program.h"
#include "uninstall/form1_rules.h"

#include <windows.h>

namespace vt {

bool StartClearupBatch(const ClearupBatch& batch) {
    // With /s the command processor takes off exactly the outer pair of quotes, whatever the
    // path holds between them. The batch's path is carried exactly by the ANSI code page.
    const std::optional<std::wstring> path = FromAnsiExact(batch.Path());
    return path &&
           StartSystemProgram(L"cmd.exe", L"/s /c \"\"" + *path + L"\"\"", nullptr, SW_SHOWNORMAL);
}

std::optional<ClearupBatch> WriteClearupBatch() {
    const std::wstring exePath = AppExePath();
    std::optional<ClearupBatch> batch =
        MakeClearupBatch(exePath, ShortPathName(exePath), ToAnsiExact);
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
    return batch;
}

} // namespace vt

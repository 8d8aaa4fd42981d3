#include "uninstall/clearup_file.h"

#include "system/handles.h"
#include "system/myMod.h"
#include "uninstall/form1_rules.h"

#include <windows.h>

namespace vt {

namespace {

// Text in the ANSI code page, or nothing when the code page cannot carry all of it.
std::optional<std::string> ToAnsi(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    const int length = static_cast<int>(text.size());
    // The best-fit and default-character checks are refused for UTF-8, which carries all.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL lossy = FALSE;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* lossyCheck = utf8 ? nullptr : &lossy;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, lossyCheck);
    if (size <= 0 || lossy) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), length, bytes.data(), size, nullptr,
                        lossyCheck);
    return lossy ? std::nullopt : std::optional<std::string>(std::move(bytes));
}

// The short form of an existing path; empty when the system has none.
std::wstring ShortPath(const std::wstring& path) {
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    shortPath.resize(length < size ? length : 0);
    return shortPath;
}

// The system folder in the ANSI code page, as the batch's own path is; empty when unknown.
std::string SystemFolder() {
    std::string folder(MAX_PATH, '\0');
    const UINT length = GetSystemDirectoryA(folder.data(), static_cast<UINT>(folder.size()));
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}

} // namespace

bool StartClearupBatch(const ClearupBatch& batch) {
    const std::string system = SystemFolder();
    if (system.empty()) {
        return false;
    }
    const std::string processor = system + "\\cmd.exe";
    // With /s the command processor takes off exactly the outer pair of quotes, whatever the
    // path holds between them.
    std::string commandLine = "\"" + processor + "\" /s /c \"\"" + batch.Path() + "\"\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(processor.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, system.c_str(), &startup, &started)) {
        return false;
    }
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    return true;
}

std::optional<ClearupBatch> WriteClearupBatch() {
    const std::wstring exePath = AppExePath();
    std::optional<ClearupBatch> batch = MakeClearupBatch(exePath, ShortPath(exePath), ToAnsi);
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

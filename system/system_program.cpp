#include "system/system_program.h"

#include "system/myMod.h"

#include <shellapi.h>

namespace vt {

namespace {
// A terminated process is gone within moments; this only keeps a failure from hanging.
constexpr DWORD kTerminationMs = 5000;
} // namespace

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = L"";
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return std::wstring(folder, length);
}

UniqueHandle StartSystemProgram(const wchar_t* program, const std::wstring& parameters, HWND owner,
                                int show) noexcept {
    try {
        const std::wstring folder = SystemFolder();
        if (folder.empty()) {
            return {};
        }
        const std::wstring path = folder + L"\\" + program;
        SHELLEXECUTEINFOW execute{};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        execute.hwnd = owner;
        execute.lpVerb = L"open";
        execute.lpFile = path.c_str();
        execute.lpParameters = parameters.c_str();
        execute.lpDirectory = folder.c_str();
        execute.nShow = show;
        if (!ShellExecuteExW(&execute)) {
            return {};
        }
        return UniqueHandle(execute.hProcess);
    } catch (...) {
        return {};
    }
}

bool WaitForProgram(HANDLE process, DWORD limitMs) noexcept {
    const ULONGLONG deadline = GetTickCount64() + limitMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            return true;
        }
        if (woke == WAIT_OBJECT_0 + 1 && left > 0) {
            DoEvents();
            continue;
        }
        // Ended, its libraries are unloaded and may be deleted.
        if (TerminateProcess(process, ERROR_TIMEOUT)) {
            WaitForSingleObject(process, kTerminationMs);
        }
        return false;
    }
}

} // namespace vt

#include "tests/support/process.h"

#include "tests/support/helpers.h"
#include "tests/support/text.h"
#include "uninstall/form1_layout.h"

#include <stdexcept>

namespace vt::test {

bool WaitPumping(HANDLE object, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) {
            return woke == WAIT_OBJECT_0;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

WatchedProcess::WatchedProcess(const std::wstring& exe, const std::wstring& arguments) {
    const auto fail = [this](const std::string& what) {
        const DWORD error = GetLastError();
        if (process_) {
            TerminateProcess(process_.get(), 1);
        }
        throw std::runtime_error(what + " (error " + std::to_string(error) + ")");
    };
    // The hook library sits beside the harness executable.
    std::wstring library(MAX_PATH, L'\0');
    library.resize(GetModuleFileNameW(nullptr, library.data(), MAX_PATH));
    library = library.substr(0, library.rfind(L'\\') + 1) + kShowHookLibrary;
    hookLibrary_.reset(LoadLibraryW(library.c_str()));
    // A library's export comes as a generic procedure; the hook's has the hook signature.
    const auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(hookLibrary_.get(), kShowHookProcedure)));
    if (!procedure) {
        fail("cannot load " + ToUtf8(library));
    }
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Wine now and then fails to create a process among many (error 1359): it is asked again.
    const auto create = [&] {
        return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_SUSPENDED, nullptr, nullptr, &startup, &started);
    };
    if (!create() && !create()) {
        fail("cannot start " + ToUtf8(exe));
    }
    process_.reset(started.hProcess);
    const UniqueHandle thread(started.hThread);
    id_ = started.dwProcessId;
    // Watch before the first instruction runs, or an early show could slip past.
    shown_.reset(CreateEventW(nullptr, TRUE, FALSE, MainWindowShownEvent(id_).c_str()));
    hook_.reset(
        SetWindowsHookExW(WH_CALLWNDPROC, procedure, hookLibrary_.get(), started.dwThreadId));
    if (!shown_ || !hook_ || ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        fail("cannot watch " + ToUtf8(exe));
    }
}

WatchedProcess::~WatchedProcess() {
    if (!HasExited()) {
        TerminateProcess(Handle(), 1);
        WaitForSingleObject(Handle(), 10000); // hang protection only
    }
}

std::optional<DWORD> WatchedProcess::ExitCode() const {
    DWORD code = 0;
    if (!HasExited() || !GetExitCodeProcess(Handle(), &code)) {
        return std::nullopt;
    }
    return code;
}

bool WatchedProcess::MainWindowWasShown() const noexcept {
    return WaitForSingleObject(shown_.get(), 0) == WAIT_OBJECT_0;
}

HWND WatchedProcess::MainWindow() const {
    for (HWND window : TopLevelWindowsOf(id_)) {
        if (ClassOf(window) == kForm1ClassName) {
            return window;
        }
    }
    return nullptr;
}

namespace {

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM context) {
    auto& [id, found] = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == id) {
        found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    std::pair<DWORD, std::vector<HWND>> search{processId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

} // namespace vt::test

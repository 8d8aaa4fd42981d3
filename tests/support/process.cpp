#include "tests/support/process.h"

#include "tests/support/show_hook.h"
#include "tests/support/text.h"
#include "uninstall/form1_layout.h"

#include <stdexcept>

namespace vt::test {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + " (error " + std::to_string(GetLastError()) + ")");
}

// The hook library sits beside the harness executable.
std::wstring HookLibraryPath() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    path.resize(path.rfind(L'\\') + 1);
    return path + kShowHookLibrary;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId) {
        search.found.push_back(window);
    }
    return TRUE;
}

} // namespace

bool WaitPumping(HANDLE object, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            return true;
        }
        if (woke != WAIT_OBJECT_0 + 1) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

WatchedProcess::WatchedProcess(const std::wstring& exe, const std::wstring& arguments) {
    const std::wstring libraryPath = HookLibraryPath();
    hookLibrary_.reset(LoadLibraryW(libraryPath.c_str()));
    if (!hookLibrary_) {
        Fail("cannot load " + ToUtf8(libraryPath));
    }
    // A library's export comes as a generic procedure; the hook's has the hook signature.
    const auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(hookLibrary_.get(), kShowHookProcedure)));
    if (!procedure) {
        Fail("the hook library lacks its procedure");
    }

    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &started)) {
        Fail("cannot start " + ToUtf8(exe));
    }
    process_.reset(started.hProcess);
    const UniqueHandle thread(started.hThread);
    id_ = started.dwProcessId;

    // Watch before the first instruction runs, or an early show could slip past.
    const auto abandon = [this](const std::string& what) {
        const DWORD error = GetLastError();
        TerminateProcess(process_.get(), 1);
        SetLastError(error);
        Fail(what);
    };
    const ShownEventName name(id_);
    shown_.reset(CreateEventW(nullptr, TRUE, FALSE, name.text));
    if (!shown_ || GetLastError() == ERROR_ALREADY_EXISTS) {
        abandon("cannot make the event " + ToUtf8(name.text));
    }
    hook_.reset(
        SetWindowsHookExW(WH_CALLWNDPROC, procedure, hookLibrary_.get(), started.dwThreadId));
    if (!hook_) {
        abandon("cannot hook the main thread of " + ToUtf8(exe));
    }
    if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        abandon("cannot resume " + ToUtf8(exe));
    }
}

WatchedProcess::~WatchedProcess() {
    Terminate();
}

bool WatchedProcess::HasExited() const noexcept {
    return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
}

bool WatchedProcess::WaitForExit(DWORD milliseconds) const {
    return WaitPumping(process_.get(), milliseconds);
}

std::optional<DWORD> WatchedProcess::ExitCode() const {
    DWORD code = 0;
    if (!HasExited() || !GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

void WatchedProcess::Terminate() noexcept {
    if (process_ && !HasExited()) {
        TerminateProcess(process_.get(), 1);
        // Hang protection only: a terminated process is gone at once.
        WaitForSingleObject(process_.get(), 10000);
    }
}

bool WatchedProcess::MainWindowWasShown() const noexcept {
    return WaitForSingleObject(shown_.get(), 0) == WAIT_OBJECT_0;
}

HWND WatchedProcess::MainWindow() const {
    return FindTopLevelWindow(id_, kForm1ClassName);
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, static_cast<int>(sizeof name / sizeof name[0]));
    return name;
}

HWND FindTopLevelWindow(DWORD processId, const wchar_t* className) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassOf(window) == className) {
            return window;
        }
    }
    return nullptr;
}

} // namespace vt::test

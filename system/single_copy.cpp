#include "system/single_copy.h"

namespace vt {

SingleCopyLock::SingleCopyLock(const wchar_t* name) noexcept
    : mutex_(CreateMutexW(nullptr, FALSE, name)) {
    if (!mutex_) {
        // Another user's copy made it, with access for that user only: it runs. Any other
        // failure says nothing about another copy, and the lock is no reason to refuse the run.
        held_ = GetLastError() != ERROR_ACCESS_DENIED;
        return;
    }
    // Abandoned: its owner ended without releasing it, so no copy runs any more.
    const DWORD taken = WaitForSingleObject(mutex_.get(), 0);
    held_ = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
}

SingleCopyLock::~SingleCopyLock() {
    if (held_ && mutex_) {
        ReleaseMutex(mutex_.get());
    }
}

namespace {

struct FrontSearch {
    DWORD processId;
    HWND found = nullptr;
};

// Top-level windows come topmost first: a question owned by the main window lies above it.
BOOL CALLBACK FindTopmostVisible(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<FrontSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

void BringOtherCopyToFront(const wchar_t* windowClass) noexcept {
    // The main window is found hidden too: before the run shows it, its question stands alone.
    const HWND main = FindWindowW(windowClass, nullptr);
    if (!main) {
        return;
    }
    // Neither call waits for the other copy, which may be busy and not answering.
    if (IsIconic(main)) {
        ShowWindowAsync(main, SW_RESTORE);
    }
    FrontSearch search{};
    GetWindowThreadProcessId(main, &search.processId);
    EnumWindows(FindTopmostVisible, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
        SetForegroundWindow(search.found);
    }
}

} // namespace vt

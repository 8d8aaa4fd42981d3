// A program under test, started so that nothing it does escapes the harness: suspended until
// the show watch is in place, terminated when the harness lets go of it while it still runs.
#pragma once

#include "system/handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vt::test {

// Waits up to `milliseconds` for `object`, dispatching this thread's messages meanwhile;
// true when the object was signalled.
bool WaitPumping(HANDLE object, DWORD milliseconds);

class WatchedProcess {
  public:
    // Runs `exe` with the command line `"exe" arguments`. Throws std::runtime_error when the
    // program cannot be started or watched.
    WatchedProcess(const std::wstring& exe, const std::wstring& arguments);
    // A program still running is terminated: a failed test leaves nothing behind.
    ~WatchedProcess();
    WatchedProcess(const WatchedProcess&) = delete;
    WatchedProcess& operator=(const WatchedProcess&) = delete;

    DWORD Id() const noexcept { return id_; }
    HANDLE Handle() const noexcept { return process_.get(); }
    bool HasExited() const noexcept { return WaitForSingleObject(Handle(), 0) == WAIT_OBJECT_0; }
    // Waits for the end of the program; false when it still runs after `milliseconds`.
    bool WaitForExit(DWORD milliseconds) const { return WaitPumping(Handle(), milliseconds); }
    // Nothing while the program runs.
    std::optional<DWORD> ExitCode() const;

    // Whether the program's main window was ever shown, however briefly, up to now.
    bool MainWindowWasShown() const noexcept;
    // The program's main window (shown or not), or null when it has none (yet, or any more).
    HWND MainWindow() const;

  private:
    UniqueHandle process_;
    DWORD id_ = 0;
    UniqueHandle shown_;
    // The hook goes before the library that holds its procedure.
    UniqueModule hookLibrary_;
    UniqueWindowsHook hook_;
};

// The top-level windows that belong to `processId`, hidden ones too, topmost first.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

// The class name of a window, which can be read across processes.
std::wstring ClassOf(HWND window);

} // namespace vt::test

// Programs of the product family running for a test: copies of the idle program under the
// names the test chooses, each in a folder of the test's own. Whatever still runs when the
// test ends is terminated, so a failing test leaves no process behind.
#pragma once

#include "system/handles.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace vt::test {

class RunningPrograms {
  public:
    // Copies live in C:\vt-tests\<folderName>. Throws std::runtime_error when VT_IDLE_PROGRAM
    // names no program.
    explicit RunningPrograms(const std::wstring& folderName);
    ~RunningPrograms();
    RunningPrograms(const RunningPrograms&) = delete;
    RunningPrograms& operator=(const RunningPrograms&) = delete;

    // Starts a copy named `exeName` and returns once it runs. Throws std::runtime_error when it
    // cannot, and for a name started before.
    void Start(const std::wstring& exeName);

    // Whether the copy named `exeName` still runs (false for a name never started).
    bool IsRunning(const std::wstring& exeName) const;
    // Waits (up to `milliseconds`, hang protection) for the copy to end; true once it has.
    bool WaitForEnd(const std::wstring& exeName, DWORD milliseconds) const;
    // The copy's exit code once it has ended.
    std::optional<DWORD> ExitCode(const std::wstring& exeName) const;

  private:
    HANDLE Process(const std::wstring& exeName) const;

    std::wstring folder_;
    std::wstring idleProgram_;
    std::map<std::wstring, UniqueHandle> processes_;
};

// How many processes run `exeName` (the whole file name, case ignored), by a fresh snapshot.
int CountProcessesNamed(const std::wstring& exeName);

// Polls `condition` until it holds or `milliseconds` have passed; the result is its last
// value. For what no event announces, such as a file that another process deletes.
template <class Condition> bool PollUntil(Condition&& condition, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return condition();
        }
        Sleep(50);
    }
}

} // namespace vt::test

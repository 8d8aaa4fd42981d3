// Programs of the product family running for a test: copies of the idle program under the
// names the test chooses, in a folder of the test's own. Whatever still runs when the test
// ends is terminated, so a failing test leaves no process behind.
#pragma once

#include "system/handles.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace vt::test {

class RunningPrograms {
  public:
    // Copies live in C:\vt-tests\<folderName>.
    explicit RunningPrograms(const std::wstring& folderName);
    ~RunningPrograms();
    RunningPrograms(const RunningPrograms&) = delete;
    RunningPrograms& operator=(const RunningPrograms&) = delete;

    // Starts a copy named `exeName` and returns once it runs. Throws std::runtime_error when it
    // cannot.
    void Start(const std::wstring& exeName);

    bool IsRunning(const std::wstring& exeName) const { return !WaitForEnd(exeName, 0); }
    // Waits (up to `milliseconds`, hang protection) for the copy to end; true once it has.
    bool WaitForEnd(const std::wstring& exeName, DWORD milliseconds) const;
    // The copy's exit code once it has ended.
    std::optional<DWORD> ExitCode(const std::wstring& exeName) const;

  private:
    std::wstring folder_;
    std::map<std::wstring, UniqueHandle> processes_;
};

// How many processes run `exeName` (the whole file name, case ignored), by a fresh snapshot.
int CountProcessesNamed(const std::wstring& exeName);

// Polls `condition` until it holds or `milliseconds` have passed; the result is its last
// value. For what no event announces, such as a file that another process deletes.
template <class Condition> bool PollUntil(Condition&& condition, DWORD milliseconds) {
    for (const ULONGLONG deadline = GetTickCount64() + milliseconds;; Sleep(50)) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return condition();
        }
    }
}

} // namespace vt::test

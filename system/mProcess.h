// Processes by executable file name: whether one is running, and terminating all of a name.
// The two questions are answered through different interfaces with different matching rules:
// the running test compares the whole file name of each process's main module; termination
// compares the end of each process's executable name, so "Veltrane.exe" also ends
// "OldVeltrane.exe".
#pragma once

#include <string>

namespace vt {

// True when a process that this one may inspect has a main module whose file name equals
// `ExeName`, ignoring case and the spaces around `ExeName`. Yields to the message loop while it
// looks. Processes that cannot be opened or read do not count; it never raises.
bool IsProcessRunning(std::wstring ExeName);

// Terminates (exit code 0) every process whose executable name ends with `ExeName`, ignoring
// case; true when the last termination succeeded, false when none matched or it failed. Does
// not wait for the processes to end. An empty name matches nothing, and this process is never
// terminated. A run-time error shows its description in a box titled
// "unins000" and ends the walk with the result reached so far.
bool KillProcess(const std::wstring& ExeName);

} // namespace vt

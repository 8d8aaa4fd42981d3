// Control identifiers of the main window, and its window class. Tests find the controls by
// these identifiers, so they are part of the window's outside.
#pragma once

namespace vt {

inline constexpr wchar_t kForm1ClassName[] = L"VT_Uninstall_Form1";
// The lock that a running uninstaller holds, machine-wide: a copy of another user or another
// session counts too.
inline constexpr wchar_t kSingleCopyName[] = L"Global\\Veltrane.Uninstall.Running";

enum Form1ControlId : int {
    kIdLabel1 = 101, // the status line
    kIdLabel2 = 102,
    kIdLabel3 = 103,
    kIdLabel4 = 104,
    kIdProgressBar = 110,
    kIdCommand1 = 120,
};

} // namespace vt

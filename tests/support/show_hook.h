// What the harness and its hook library agree on. Wine 8 raises no EVENT_OBJECT_SHOW, so a
// WinEvent hook cannot tell whether the program under test ever showed its main window; a
// WH_CALLWNDPROC hook on the program's main thread sees the show messages themselves and sets
// a named event that the harness reads.
#pragma once

#include <windows.h>

#include <cwchar>

namespace vt::test {

inline constexpr wchar_t kShowHookLibrary[] = L"vt_show_hook.dll";
inline constexpr char kShowHookProcedure[] = "VtShowHookProc";

// The event is per process, so that programs watched one after the other never share one.
struct ShownEventName {
    explicit ShownEventName(DWORD processId) noexcept {
        std::swprintf(text, sizeof text / sizeof text[0], L"vt-main-window-shown-%lu",
                      static_cast<unsigned long>(processId));
    }
    wchar_t text[64];
};

} // namespace vt::test

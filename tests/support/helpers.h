// What the harness and the programs and libraries that stand in for others agree on: the
// events through which they tell the harness what happened in them, named per process, so
// that programs watched one after the other never share one.
#pragma once

#include "system/handles.h"

#include <windows.h>

#include <string>

namespace vt::test {

// Set by the idle program once it runs, so that no test inspects a process still loading.
inline std::wstring IdleReadyEvent(DWORD processId) {
    return L"vt-idle-ready-" + std::to_wstring(processId);
}

// Wine 8 raises no EVENT_OBJECT_SHOW, so a WinEvent hook cannot tell whether the program under
// test ever showed its main window; a WH_CALLWNDPROC hook on the program's main thread, in the
// hook library beside the harness, sees the show messages themselves and sets this event.
inline std::wstring MainWindowShownEvent(DWORD processId) {
    return L"vt-main-window-shown-" + std::to_wstring(processId);
}
inline constexpr wchar_t kShowHookLibrary[] = L"vt_show_hook.dll";
inline constexpr char kShowHookProcedure[] = "VtShowHookProc";

// Sets the event `name`, when whoever watches has made it.
inline void Tell(const std::wstring& name) {
    if (const UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str())); event) {
        SetEvent(event.get());
    }
}

} // namespace vt::test

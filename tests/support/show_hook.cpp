// The hook library: loaded by Windows into the program under test, where it runs on the
// thread that owns the main window.
#include "tests/support/show_hook.h"

#include "system/handles.h"
#include "uninstall/form1_layout.h"

namespace {

bool IsShowMessage(const CWPSTRUCT& message) {
    if (message.message == WM_SHOWWINDOW) {
        return message.wParam != FALSE;
    }
    // SetWindowPos can show a window without WM_SHOWWINDOW.
    return message.message == WM_WINDOWPOSCHANGING &&
           (reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_SHOWWINDOW) != 0;
}

bool IsMainWindow(HWND window) {
    wchar_t className[64] = L"";
    GetClassNameW(window, className, static_cast<int>(sizeof className / sizeof className[0]));
    return lstrcmpW(className, vt::kForm1ClassName) == 0;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    VtShowHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (IsShowMessage(message) && IsMainWindow(message.hwnd)) {
            const vt::test::ShownEventName name(GetCurrentProcessId());
            // The harness made the event before the program started; without it nobody is
            // watching and there is nothing to tell.
            if (const vt::UniqueHandle shown(OpenEventW(EVENT_MODIFY_STATE, FALSE, name.text));
                shown) {
                SetEvent(shown.get());
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook library: loaded by Windows into the program under test, where it runs on the
// thread that owns the main window, and tells when that window is shown.
#include "tests/support/helpers.h"
#include "uninstall/form1_layout.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK
    VtShowHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    // SetWindowPos can show a window without WM_SHOWWINDOW.
    const bool shows =
        (message.message == WM_SHOWWINDOW && message.wParam) ||
        (message.message == WM_WINDOWPOSCHANGING &&
         (reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_SHOWWINDOW));
    wchar_t className[64] = L"";
    if (code == HC_ACTION && shows && GetClassNameW(message.hwnd, className, 64) &&
        lstrcmpW(className, vt::kForm1ClassName) == 0) {
        vt::test::Tell(vt::test::MainWindowShownEvent(GetCurrentProcessId()));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

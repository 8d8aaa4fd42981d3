// The uninstaller's window as its run shows it, held on the screen for tests that look at it
// from outside: at the display scale the prefix had when the program started, with the bar at
// VALUE of 0..180 and the status line of the registry step. It runs until it is terminated.
//
//   vt_window_host VALUE
#include "uninstall/form1.h"

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    const vt::OleApartment ole;
    vt::Form1 form(GetModuleHandleW(nullptr));
    form.Create();
    SetWindowTextW(form.hWnd(), L"Veltrane Uninstaller");
    form.pb.Max(180);
    form.pb.Value(argc > 1 ? static_cast<std::int32_t>(std::wcstol(argv[1], nullptr, 10)) : 0);
    form.Label1.Caption(L"Removing Registry Entries...");
    ShowWindow(form.hWnd(), SW_SHOWNORMAL);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

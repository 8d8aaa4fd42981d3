// A stand-in program for checking the harness itself: it shows one message box with the
// flags it is given and ends with the button pressed. With "flash" it first shows a window of
// the uninstaller's main window class for a moment only, hidden again before the box comes,
// which is the show that the harness must not miss.
//
//   vt_box_fixture FLAGS [flash]      FLAGS in hexadecimal, as MessageBox takes them
#include "uninstall/form1_layout.h"

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return -1;
    }
    const auto flags = static_cast<UINT>(std::wcstoul(argv[1], nullptr, 16));
    const bool flash = argc > 2 && std::wcscmp(argv[2], L"flash") == 0;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = vt::kForm1ClassName;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, vt::kForm1ClassName, L"Fixture", WS_OVERLAPPEDWINDOW, 0, 0,
                                  200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (flash) {
        ShowWindow(window, SW_SHOWNA);
        ShowWindow(window, SW_HIDE);
    }
    const int answer = MessageBoxW(nullptr, L"Fixture text", L"Fixture", flags);
    DestroyWindow(window);
    return answer;
}

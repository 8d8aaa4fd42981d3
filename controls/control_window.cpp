#include "controls/control_window.h"

#include "system/handles.h"

#include <algorithm>
#include <cmath>

namespace vt {

TwipsScale TwipsScale::OfScreen() noexcept {
    WindowDc screen(nullptr);
    const int x = GetDeviceCaps(screen.get(), LOGPIXELSX);
    const int y = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return TwipsScale{1440.0 / (x > 0 ? x : 96), 1440.0 / (y > 0 ? y : 96)};
}

TwipsScale TwipsScale::OfDpi(unsigned dpi) noexcept {
    const double perPixel = 1440.0 / (dpi > 0 ? dpi : 96);
    return TwipsScale{perPixel, perPixel};
}

unsigned WindowDpi(HWND window) noexcept {
    // Systems before per-monitor scaling lack the call: it is looked up, not imported, so
    // that the program still starts there.
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) {
            return dpi;
        }
    }
    WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

int TwipsScale::PixelsX(double twips) const noexcept {
    return static_cast<int>(std::lround(twips / x));
}

int TwipsScale::PixelsY(double twips) const noexcept {
    return static_cast<int>(std::lround(twips / y));
}

LRESULT AnswerTextMessage(const std::wstring& text, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXTLENGTH) {
        return static_cast<LRESULT>(text.size());
    }
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    const std::size_t room = static_cast<std::size_t>(wParam);
    if (!buffer || room == 0) {
        return 0;
    }
    const std::size_t count = std::min(text.size(), room - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

short MouseButtonOf(UINT message) noexcept {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return 4;
    default:
        return 0;
    }
}

short ShiftStateOf(WPARAM keys) noexcept {
    short shift = 0;
    if (keys & MK_SHIFT) {
        shift |= 1;
    }
    if (keys & MK_CONTROL) {
        shift |= 2;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= 4;
    }
    return shift;
}

} // namespace vt

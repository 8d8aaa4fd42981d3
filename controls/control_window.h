// What the two controls' windows share: their state hung on the window, the pixels-to-twips
// scale of the screen, and the text messages answered from a caption.
#pragma once

#include <windows.h>

#include <string>

namespace vt {

// Twips per pixel of the screen on each axis: 15 at 96 dots per inch.
struct TwipsScale {
    double x = 15;
    double y = 15;
    static TwipsScale OfScreen() noexcept;
    int PixelsX(double twips) const noexcept;
    int PixelsY(double twips) const noexcept;
};

// The state object a window of ours carries (set when it is created, freed when it goes).
template <class State> State* StateOf(HWND window) noexcept {
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// WM_GETTEXT and WM_GETTEXTLENGTH answered from `text`.
LRESULT AnswerTextMessage(const std::wstring& text, UINT message, WPARAM wParam, LPARAM lParam);

// The mouse button and shift state of a mouse message, numbered as the controls' events pass
// them: buttons 1 left, 2 right, 4 middle; shift 1, control 2, alt 4.
short MouseButtonOf(UINT message) noexcept;
short ShiftStateOf(WPARAM keys) noexcept;

} // namespace vt

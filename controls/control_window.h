// What the two controls' windows share: their state hung on the window, the pixels-to-twips
// scale of the window's display, how a property is stored, and the text messages answered
// from a caption.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace vt {

// Twips per pixel on each axis: 15 at 96 dots per inch.
struct TwipsScale {
    double x = 15;
    double y = 15;
    static TwipsScale OfScreen() noexcept;
    static TwipsScale OfDpi(unsigned dpi) noexcept;
    int PixelsX(double twips) const noexcept;
    int PixelsY(double twips) const noexcept;
    // A length the design gives in pixels of 96 dots per inch, in pixels of this scale.
    int ScaledX(double designPixels) const noexcept { return PixelsX(designPixels * 15); }
    int ScaledY(double designPixels) const noexcept { return PixelsY(designPixels * 15); }
    bool operator==(const TwipsScale&) const = default;
};

// The dots per inch of the display `window` is on: the window's own where the system keeps
// one per monitor, else the screen's.
unsigned WindowDpi(HWND window) noexcept;

// The state object a window of ours carries (set when it is created, freed when it goes).
template <class State> State* StateOf(HWND window) noexcept {
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Stores one property of a control's state and reports its key to the property listener; the
// caller redraws as far as the property needs.
template <class State, class Props, class T>
void StoreAndReport(State& state, T Props::*field, T value, std::wstring_view key) {
    state.props.*field = std::move(value);
    state.Report(key);
}

// WM_GETTEXT and WM_GETTEXTLENGTH answered from `text`.
LRESULT AnswerTextMessage(const std::wstring& text, UINT message, WPARAM wParam, LPARAM lParam);

// The mouse button and shift state of a mouse message, numbered as the controls' events pass
// them: buttons 1 left, 2 right, 4 middle; shift 1, control 2, alt 4.
short MouseButtonOf(UINT message) noexcept;
short ShiftStateOf(WPARAM keys) noexcept;

} // namespace vt

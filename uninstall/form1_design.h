// The main window's design: the window's size, the banner picture and the etched rules drawn on
// its surface, its labels and progress bar created from their stored properties, and its
// button. Everything is placed in twips and drawn at the scale of the display the window is
// on: the pictures are scaled once for it, and a move to a display of another scale lays the
// window out again.
#pragma once

#include "controls/MyProgressBar.h"
#include "controls/MyUniLabel.h"
#include "controls/control_window.h"
#include "controls/surface.h"
#include "system/handles.h"

#include <windows.h>

#include <array>
#include <optional>

namespace vt {

// The window's font: Tahoma 8.25 pt, regular, character set 0.
FontData Form1Font();

// The stored properties of each control as the window's design holds them.
PropertyBag Label3Design();
PropertyBag Label4Design();
PropertyBag Label1Design();
PropertyBag Label2Design();
PropertyBag ProgressBarDesign(HINSTANCE instance);

class Form1Design {
  public:
    explicit Form1Design(HINSTANCE instance);
    Form1Design(const Form1Design&) = delete;
    Form1Design& operator=(const Form1Design&) = delete;

    // Hooks the design to the window (its surface is painted from here on), creates the
    // labels, the progress bar and the button `command1` on it, and gives the window its size,
    // centred on the work area. The design outlives the window: it owns the controls' fonts.
    void CreateControls(HWND window, MyUniLabel& label1, MyUniLabel& label2, MyUniLabel& label3,
                        MyUniLabel& label4, MyProgressBar& pb, HWND& command1);

    // Lays the window out for a display of `dpi` dots per inch: its size, fonts, pictures and
    // every control's place. `suggested` is where the system puts the window (its top left
    // is kept); without it the window is centred on the work area.
    void ScaleTo(unsigned dpi, const RECT* suggested);

    // The window's share of its messages: painting, the pictures its labels ask for, and a
    // move to a display of another scale. Nothing when the message is not the design's.
    static std::optional<LRESULT> HandleMessage(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);

    // The banner picture (Image1) at the window's scale.
    const Surface& Banner() const noexcept { return banner_; }

  private:
    void Paint(HWND window, HDC target) const;
    void PlaceWindow(const RECT* suggested) const;
    // A box of the design in pixels of the window's display.
    RECT Pixels(const TwipsBox& box) const;

    HWND window_ = nullptr;
    std::array<MyUniLabel*, 4> labels_{};
    MyProgressBar* pb_ = nullptr;
    HWND command1_ = nullptr;
    TwipsScale scale_;
    Surface bannerDecoded_;
    Surface banner_;
    UniqueFont font_;       // the window's: the bar's caption
    UniqueFont buttonFont_; // the button's
};

} // namespace vt

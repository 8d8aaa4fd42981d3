// The main window's design: the banner picture and the etched rules drawn on the window's
// surface, and its labels and progress bar created from their stored properties.
#pragma once

#include "controls/MyProgressBar.h"
#include "controls/MyUniLabel.h"
#include "controls/control_window.h"
#include "controls/surface.h"

#include <windows.h>

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

    // Hooks the design to the window (its surface is painted from here on) and creates the
    // labels and the progress bar on it. `barFont` is the window's font, owned by the caller.
    void CreateControls(HWND window, MyUniLabel& label1, MyUniLabel& label2, MyUniLabel& label3,
                        MyUniLabel& label4, MyProgressBar& pb, HFONT barFont);

    // The window's share of its messages: painting, and the pictures its labels ask for.
    // Nothing when the message is not the design's.
    static std::optional<LRESULT> HandleMessage(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);

    // The banner picture (Image1).
    const Surface& Banner() const noexcept { return banner_; }

  private:
    void Paint(HWND window, HDC target) const;

    TwipsScale scale_ = TwipsScale::OfScreen();
    Surface banner_;
};

} // namespace vt

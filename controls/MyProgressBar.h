// MyProgressBar: a progress bar drawn from a picture. The progress picture is tiled into a strip
// (its head, the last HeadWidth columns, at the strip's right end); the share of the strip
// that the value has reached is copied onto the bar's background, with the head after it when
// LeadMarker is on, and a caption shows the percentage or a fixed text.
//
// The bar is a window of its own (class kProgressBarClass). It answers PBM_GETPOS and
// PBM_GETRANGE with Value, Min and Max and WM_GETTEXT with its caption, so that tools that read
// a standard progress bar read this one too; to a screen reader it is a progress bar whose
// value is its caption, and it announces each new caption. Its pictures and the lengths it
// takes in pixels (ImageRepStep, HeadWidth) are pixels of 96 dots per inch, scaled once to
// its window's display. Every setter draws at once: a change of Value is
// on the screen when the setter returns. Arithmetic faults of the percentage (a range of
// zero, a difference that leaves 32 bits) reach the caller as run-time errors.
#pragma once

#include "controls/progress_rules.h"

#include <windows.h>

#include <functional>
#include <string>

namespace vt {

inline constexpr wchar_t kProgressBarClass[] = L"VT_MyProgressBar";

struct ProgressBarState;

class MyProgressBar {
  public:
    using ChangeHandler = std::function<void()>;
    using MouseHandler = std::function<void(short& button, short& shift, float& x, float& y)>;
    using PropertyChangedHandler = std::function<void(std::wstring_view key)>;

    // Registers the window class; safe to call more than once.
    static void Register(HINSTANCE instance);

    // Creates the bar as a child window loaded from `bag` (keys missing from it take their
    // absent values). The parent owns the window.
    void Create(HWND parent, int id, const RECT& place, const PropertyBag& bag);
    // Creates the bar as a newly placed one: the new values of every property.
    void CreateNew(HWND parent, int id, const RECT& place);
    void Attach(HWND window) noexcept { window_ = window; }
    HWND hWnd() const noexcept { return window_; }
    // The window has moved to a display of `dpi` dots per inch: the pictures are scaled to it
    // and the bar drawn again. The parent gives the bar its new place.
    void ScaleTo(unsigned dpi);

    PropertyBag Save() const;
    const ProgressBarProps& Properties() const;

    // Properties, as the run and the window's design set them.
    void ProgressPicture(const PictureData& picture);
    void BackPicture(const PictureData& picture);
    std::int32_t Min() const;
    void Min(std::int32_t value);
    std::int32_t Max() const;
    void Max(std::int32_t value);
    std::int32_t Value() const;
    void Value(std::int32_t value);
    bool ErrorsOn() const;
    void ErrorsOn(bool on);
    std::uint32_t BackColour() const;
    void BackColour(std::uint32_t colour);
    bool LeadMarker() const;
    void LeadMarker(bool on);
    std::int32_t HeadWidth() const;
    void HeadWidth(std::int32_t width);
    std::int32_t ImageRepStep() const;
    void ImageRepStep(std::int32_t step);
    bool Appearance() const;
    void Appearance(bool threeD);
    std::wstring Text() const;
    void Text(const std::wstring& text);
    std::wstring Text2() const;
    void Text2(const std::wstring& text);
    std::int32_t TextAlignment() const;
    void TextAlignment(std::int32_t alignment);
    std::uint32_t TextForeColour() const;
    void TextForeColour(std::uint32_t colour);
    bool TextPercentage() const;
    void TextPercentage(bool on);

    // What the caption shows now.
    std::wstring Caption() const;

    // Events. Change follows every repaint of the bar; MouseDown a press on the caption or on
    // the control's surface outside the bar.
    void OnChange(ChangeHandler handler);
    void OnMouseDown(MouseHandler handler);
    void OnPropertyChanged(PropertyChangedHandler handler);

  private:
    ProgressBarState& State() const;
    HWND window_ = nullptr;
};

} // namespace vt

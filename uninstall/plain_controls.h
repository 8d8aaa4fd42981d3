// The window's labels and progress bar as the system's standard controls, with the property
// names the run uses. A label sizes itself to its caption.
#pragma once

#include <windows.h>

#include <string>

namespace vt {

class PlainLabel {
  public:
    void Attach(HWND window) noexcept { window_ = window; }
    HWND hWnd() const noexcept { return window_; }

    std::wstring Caption() const;
    void Caption(const std::wstring& text);
    void Visible(bool visible) noexcept;

  private:
    HWND window_ = nullptr;
};

class PlainProgressBar {
  public:
    void Attach(HWND window) noexcept { window_ = window; }
    HWND hWnd() const noexcept { return window_; }

    long Min() const noexcept;
    void Min(long value) noexcept;
    long Max() const noexcept;
    void Max(long value) noexcept;
    // The bar keeps its value within Min..Max.
    long Value() const noexcept;
    void Value(long value) noexcept;

  private:
    HWND window_ = nullptr;
};

} // namespace vt

#include "uninstall/plain_controls.h"

#include "system/handles.h"
#include "system/myMod.h"

#include <commctrl.h>

namespace vt {

std::wstring PlainLabel::Caption() const {
    return WindowText(window_);
}

void PlainLabel::Caption(const std::wstring& text) {
    SetWindowTextW(window_, text.c_str());
    // Grow or shrink to the text, with a little room around it.
    WindowDc dc(window_);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    SelectObjectScope useFont(dc.get(), font);
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_NOPREFIX);
    SetWindowPos(window_, nullptr, 0, 0, extent.right + 3, extent.bottom + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

void PlainLabel::Visible(bool visible) noexcept {
    ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

long PlainProgressBar::Min() const noexcept {
    return static_cast<long>(SendMessageW(window_, PBM_GETRANGE, TRUE, 0));
}

void PlainProgressBar::Min(long value) noexcept {
    SendMessageW(window_, PBM_SETRANGE32, static_cast<WPARAM>(value), Max());
}

long PlainProgressBar::Max() const noexcept {
    return static_cast<long>(SendMessageW(window_, PBM_GETRANGE, FALSE, 0));
}

void PlainProgressBar::Max(long value) noexcept {
    SendMessageW(window_, PBM_SETRANGE32, static_cast<WPARAM>(Min()), value);
}

long PlainProgressBar::Value() const noexcept {
    return static_cast<long>(SendMessageW(window_, PBM_GETPOS, 0, 0));
}

void PlainProgressBar::Value(long value) noexcept {
    SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

} // namespace vt

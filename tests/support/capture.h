// Pictures of what is on the screen. Wine's PrintWindow draws nothing for a window of another
// process, so the harness copies the screen where the window is, as a user would see it.
#pragma once

#include "tests/support/process.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vt::test {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows top first

    COLORREF Pixel(int x, int y) const noexcept {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
};

// The screen within `area` (screen coordinates); an empty picture when it cannot be had.
Picture CaptureScreen(const RECT& area);

// `icon` drawn as a static control draws it: at the top left, `width` by `height`, over
// `background`.
Picture RenderIcon(HICON icon, int width, int height, COLORREF background);

// The screen at `window`'s rectangle once the window has painted: it is made to paint now,
// then read until two readings agree, since what it painted reaches the screen a moment later.
// `process` owns the window; the reading stops when it ends.
Picture CaptureWindow(HWND window, const WatchedProcess& process);

// Writes the picture as PNG through the system's image encoder; false when it cannot.
bool SavePng(const std::wstring& path, const Picture& picture);

} // namespace vt::test

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
    std::vector<std::uint8_t> rgb; // rows top first, three bytes a pixel

    COLORREF Pixel(int x, int y) const noexcept;
    // A window that never painted comes out as one flat colour.
    bool IsUniform() const noexcept;
};

// The screen within `area` (screen coordinates); an empty picture when it cannot be had.
Picture CaptureScreen(const RECT& area);

// `icon` drawn as a static control draws it: at the top left, `width` by `height`, over
// `background`.
Picture RenderIcon(HICON icon, int width, int height, COLORREF background);

// Writes the picture as PNG; false when it cannot be written.
bool SavePng(const std::wstring& path, const Picture& picture);

// The screen at `window`'s rectangle once the window has painted: it is made to paint now,
// then read until two readings agree, since what it painted reaches the screen a moment later.
// `process` owns the window; the reading stops when it ends.
Picture CaptureWindow(HWND window, const WatchedProcess& process);

} // namespace vt::test

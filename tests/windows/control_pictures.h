// Off-screen pictures of this process's windows for the control tests: a window (and, for a
// whole window, its children) painted through WM_PRINTCLIENT into a 32-bit surface, read back
// as 0x00BBGGRR colours.
#pragma once

#include "controls/surface.h"
#include "tests/support/capture.h"

#include <windows.h>

namespace vt::testing {

class Rendered {
  public:
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB as the surface holds them

    COLORREF At(int x, int y) const {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    test::Picture ToPicture() const {
        return test::Picture{width, height, pixels};
    }
};

inline Rendered FromSurface(const Surface& surface) {
    GdiFlush();
    Rendered out;
    out.width = surface.width();
    out.height = surface.height();
    out.pixels.assign(surface.pixels(),
                      surface.pixels() + static_cast<std::size_t>(out.width) * out.height);
    return out;
}

// The client area of `window` as it paints itself; with `children`, its child windows that are
// shown (whether or not the window itself is) painted over it at their places.
inline Rendered Render(HWND window, bool children = false) {
    RECT client{};
    GetClientRect(window, &client);
    Surface surface;
    surface.Resize(client.right, client.bottom);
    surface.Fill(RGB(255, 0, 255));
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    if (children) {
        for (HWND child = GetWindow(window, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) {
                continue;
            }
            RECT at{};
            GetWindowRect(child, &at);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
            // A child may have its parent paint behind it (themed buttons do): the clip keeps
            // that to the child's own rectangle.
            const int saved = SaveDC(surface.dc());
            SetViewportOrgEx(surface.dc(), at.left, at.top, nullptr);
            IntersectClipRect(surface.dc(), 0, 0, at.right - at.left, at.bottom - at.top);
            SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()),
                         PRF_CLIENT | PRF_ERASEBKGND);
            RestoreDC(surface.dc(), saved);
        }
    }
    return FromSurface(surface);
}

// The pixels of a decoded picture.
inline Rendered Decoded(const PictureData& data) {
    Surface surface;
    DecodePicture(data, surface);
    return FromSurface(surface);
}

} // namespace vt::testing

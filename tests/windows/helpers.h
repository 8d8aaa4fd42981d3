// What the unit tests of the window, the controls and the boxes share: pictures of this
// process's windows read back as COLORREFs, and the boxes that work on a thread of its own shows.
#pragma once

#include "controls/surface.h"
#include "system/handles.h"
#include "tests/support/fixtures.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <future>

namespace vt::testing {

struct Rendered {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB as the surface holds them

    COLORREF At(int x, int y) const {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

inline Rendered FromSurface(const Surface& surface) {
    GdiFlush();
    const std::size_t count = static_cast<std::size_t>(surface.width()) * surface.height();
    return {surface.width(), surface.height(), {surface.pixels(), surface.pixels() + count}};
}

// The client area of `window` as it paints itself; with `children`, its child windows that are
// shown (whether or not the window itself is) painted over it, each clipped to its own place
// (a themed child has its parent paint behind it).
inline Rendered Render(HWND window, bool children = false) {
    RECT client{};
    GetClientRect(window, &client);
    Surface surface;
    surface.Resize(client.right, client.bottom);
    surface.Fill(RGB(255, 0, 255));
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    for (HWND child = children ? GetWindow(window, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT at{};
        GetWindowRect(child, &at);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
        const int saved = SaveDC(surface.dc());
        SetViewportOrgEx(surface.dc(), at.left, at.top, nullptr);
        IntersectClipRect(surface.dc(), 0, 0, at.right - at.left, at.bottom - at.top);
        if (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) {
            SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()),
                         PRF_CLIENT | PRF_ERASEBKGND);
        }
        RestoreDC(surface.dc(), saved);
    }
    return FromSurface(surface);
}

// What the screen shows at `area` (screen coordinates).
inline Rendered Screen(const RECT& area) {
    Surface surface;
    surface.Resize(area.right - area.left, area.bottom - area.top);
    const WindowDc screen(nullptr);
    BitBlt(surface.dc(), 0, 0, surface.width(), surface.height(), screen.get(), area.left, area.top,
           SRCCOPY);
    return FromSurface(surface);
}

inline Rendered Decoded(const PictureData& data) {
    Surface surface;
    DecodePicture(data, surface);
    return FromSurface(surface);
}

// Runs `work` on a thread of its own, answers each box it shows with the next of `answers` (the
// last one again for any further box), and returns the boxes as a user saw them.
inline std::vector<test::ThreadBox> BoxesOf(const std::function<void()>& work,
                                            const std::vector<int>& answers) {
    std::promise<DWORD> thread;
    auto done = std::async(std::launch::async, [&] {
        thread.set_value(GetCurrentThreadId());
        work();
    });
    const DWORD id = thread.get_future().get();
    const auto finished = [&] {
        return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    std::vector<test::ThreadBox> boxes;
    while (auto box = test::AnswerNextBoxOfThread(
               id, answers[std::min(boxes.size(), answers.size() - 1)], finished)) {
        boxes.push_back(*box);
    }
    done.get();
    return boxes;
}

} // namespace vt::testing

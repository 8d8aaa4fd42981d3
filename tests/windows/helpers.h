// What the unit tests of the window, the controls and the boxes share: pictures of this
// process's windows read back as COLORREFs, and the boxes that work on a thread of its own shows.
#pragma once

#include "controls/surface.h"
#include "system/handles.h"
#include "tests/support/capture.h"
#include "tests/support/fixtures.h"
#include "tests/support/message_box.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <future>

namespace vt::testing {

inline test::Picture FromSurface(const Surface& surface) {
    GdiFlush();
    const std::size_t count = static_cast<std::size_t>(surface.width()) * surface.height();
    test::Picture picture{
        surface.width(), surface.height(), {surface.pixels(), surface.pixels() + count}};
    for (std::uint32_t& pixel : picture.pixels) {
        pixel &= 0x00FFFFFF;
    }
    return picture;
}

// The client area of `window` as it paints itself; with `children`, its child windows that are
// shown (whether or not the window itself is) painted over it, each clipped to its own place
// (a themed child has its parent paint behind it).
inline test::Picture Render(HWND window, bool children = false) {
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

inline test::Picture Decoded(const PictureData& data) {
    Surface surface;
    DecodePicture(data, surface);
    return FromSurface(surface);
}

// Runs `work` on a thread of its own, answers each box it shows with the next of `answers` (the
// last one again for any further box), and returns the boxes as a user saw them.
inline std::vector<test::SeenBox> BoxesOf(const std::function<void()>& work,
                                          const std::vector<int>& answers) {
    std::promise<std::pair<DWORD, HANDLE>> started;
    auto done = std::async(std::launch::async, [&] {
        const DWORD id = GetCurrentThreadId();
        started.set_value({id, OpenThread(SYNCHRONIZE, FALSE, id)});
        work();
    });
    const auto [id, handle] = started.get_future().get();
    const UniqueHandle thread(handle);
    test::BoxDriver driver(id, thread.get());
    std::vector<test::SeenBox> boxes;
    while (auto box = driver.WaitForNextBox()) {
        driver.Answer(*box, answers[std::min(boxes.size(), answers.size() - 1)]);
        boxes.push_back(*box);
    }
    done.get();
    return boxes;
}

} // namespace vt::testing

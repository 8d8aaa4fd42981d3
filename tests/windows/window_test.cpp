// The main window as its design builds and draws it, hidden: its surface with the title keyed
// over the banner, a move to another scale, what screen readers hear, and the texts of this
// module's own message table.
#include "controls/control_window.h"
#include "resources/resource.h"
#include "system/myMod.h"
#include "tests/windows/helpers.h"
#include "uninstall/form1.h"
#include "uninstall/form1_design.h"
#include "uninstall/message_table.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

using testing::Decoded;
using testing::Render;
using testing::Rendered;

class Window : public ::testing::Test {
  protected:
    void SetUp() override {
        form.Create();
        ASSERT_NE(form.hWnd(), nullptr);
    }
    // `control`'s rectangle in the window's client area.
    RECT Where(HWND control) const {
        RECT at{};
        GetWindowRect(control, &at);
        MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&at), 2);
        return at;
    }
    Form1 form{GetModuleHandleW(nullptr)};
    TwipsScale scale = TwipsScale::OfScreen();
    Rendered banner = Decoded(ResourcePicture(GetModuleHandleW(nullptr), IDR_BANNER));
};

// The texts' own rules are tested natively; here the table is found in this module, and an
// empty place in it is no text.
TEST_F(Window, MessagesComeFromTheBuiltInTableThroughTheTextRules) {
    form.Language = L"English_UK";
    EXPECT_EQ(form.GetMessageText(IDS_PRODUCT_RUNNING, L"Brendix"),
              L"Uninstall cannot begin.  Brendix is currently running. \r\n\r\nIn order to "
              L"continue, Brendix must be closed. \r\n\r\nTerminate Now?");
    EXPECT_EQ(form.GetMessageText(IDS_REMOVED),
              L"Veltrane was successfully removed from your computer.");
    EXPECT_EQ(BuiltInMessage(GetModuleHandleW(nullptr), 3907), std::nullopt);
    form.Language = L"english_uk"; // the built-in language is compared exactly
    EXPECT_EQ(form.GetMessageText(IDS_UNINSTALLER), L"");
}

// The banner across the top band, ended by the upper rule; the etched rules; the title keyed
// over the banner, where only its black text differs; the status lines on button face.
TEST_F(Window, SurfaceShowsTheBannerTheRulesAndTheTitleKeyedOverIt) {
    const Rendered window = Render(form.hWnd(), true);
    ASSERT_EQ(banner.width, 500);
    EXPECT_LE(banner.height, scale.PixelsY(860));
    for (POINT p : {POINT{0, 0}, POINT{250, 30}, POINT{480, 50}, POINT{497, 56}}) {
        EXPECT_EQ(window.At(p.x, p.y), banner.At(p.x, p.y)) << p.x << "," << p.y;
    }
    const COLORREF dark = GetSysColor(COLOR_SCROLLBAR), white = RGB(255, 255, 255);
    const std::pair<int, COLORREF> rules[] = {
        {860, dark}, {875, white}, {4680, dark}, {4700, white}};
    for (const auto& [twips, colour] : rules) {
        for (int x : {0, 100, 497}) {
            EXPECT_EQ(window.At(x, scale.PixelsY(twips)), colour) << twips;
        }
    }
    const RECT title = Where(form.Label3.hWnd());
    int text = 0;
    for (int y = title.top; y < title.bottom; ++y) {
        for (int x = title.left; x < title.right; ++x) {
            const COLORREF c = window.At(x, y);
            if (c != banner.At(x, y)) {
                ++text;
                EXPECT_LT(GetRValue(c) + GetGValue(c) + GetBValue(c), 3 * 200) << x << "," << y;
            }
        }
    }
    EXPECT_GT(text, 50);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT status = Where(form.Label2.hWnd());
    EXPECT_EQ(window.At(10, 150), face);
    EXPECT_EQ(window.At(status.left, status.top), face);
    EXPECT_EQ(window.At(status.right - 1, status.bottom - 1), face);
}

// The places in twips are checked from outside at every scale; here the move itself, and the
// way back to the first scale gives the first window again.
TEST_F(Window, MoveToADisplayOfAnotherScaleLaysItOutAgain) {
    const Rendered first = Render(form.hWnd(), true);
    RECT suggested{10, 20, 0, 0};
    for (const WORD dpi : {WORD{144}, WORD{96}}) {
        SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT client{};
        GetClientRect(form.hWnd(), &client);
        EXPECT_EQ(client.right, TwipsScale::OfDpi(dpi).PixelsX(7470));
        EXPECT_EQ(Where(form.Command1).top, TwipsScale::OfDpi(dpi).PixelsY(4880));
    }
    EXPECT_EQ(Render(form.hWnd(), true).pixels, first.pixels);
}

// Only the bar says a new value, once per percentage; a status line says a new caption once.
TEST_F(Window, ScreenReadersHearEachNewPercentageAndStatusLine) {
    static int heard[2] = {};
    const UniqueWinEventHook hook(SetWinEventHook(
        EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD)
            WINAPI { ++heard[event == EVENT_OBJECT_VALUECHANGE]; },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT));
    for (int value = 0; value <= 100; ++value) {
        form.pb.Value(value);
    }
    form.Label1.Caption(L"Removing Settings...");
    form.Label1.Caption(L"Removing Settings...");
    DoEvents();
    EXPECT_EQ(heard[1], 100) << "1% to 100%";
    EXPECT_EQ(heard[0], 1);
}

} // namespace
} // namespace vt

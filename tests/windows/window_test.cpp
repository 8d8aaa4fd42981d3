// The main window as its design builds it, hidden: the texts of this module's own message
// table, its surface with the title keyed over the banner, a move to another scale, what screen
// readers hear; and its picture progress bar and Unicode labels: their pixels, captions, limits,
// boxes, sizes, cursors and drag.
#include "controls/control_window.h"
#include "resources/resource.h"
#include "system/myMod.h"
#include "tests/windows/helpers.h"
#include "uninstall/form1.h"
#include "uninstall/form1_design.h"
#include "uninstall/message_table.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vt {
namespace {

using test::Picture;
using testing::Decoded;
using testing::Render;

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
    Picture banner = Decoded(ResourcePicture(GetModuleHandleW(nullptr), IDR_BANNER));
    Picture tile = Decoded(ResourcePicture(GetModuleHandleW(nullptr), IDR_PROGRESS_TILE));
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
    const Picture window = Render(form.hWnd(), true);
    ASSERT_EQ(banner.width, 500);
    EXPECT_LE(banner.height, scale.PixelsY(860));
    for (POINT p : {POINT{0, 0}, POINT{250, 30}, POINT{480, 50}, POINT{497, 56}}) {
        EXPECT_EQ(window.Pixel(p.x, p.y), banner.Pixel(p.x, p.y)) << p.x << "," << p.y;
    }
    const COLORREF dark = GetSysColor(COLOR_SCROLLBAR), white = RGB(255, 255, 255);
    const std::pair<int, COLORREF> rules[] = {
        {860, dark}, {875, white}, {4680, dark}, {4700, white}};
    for (const auto& [twips, colour] : rules) {
        for (int x : {0, 100, 497}) {
            EXPECT_EQ(window.Pixel(x, scale.PixelsY(twips)), colour) << twips;
        }
    }
    const RECT title = Where(form.Label3.hWnd());
    int text = 0;
    for (int y = title.top; y < title.bottom; ++y) {
        for (int x = title.left; x < title.right; ++x) {
            const COLORREF c = window.Pixel(x, y);
            if (c != banner.Pixel(x, y)) {
                ++text;
                EXPECT_LT(GetRValue(c) + GetGValue(c) + GetBValue(c), 3 * 200) << x << "," << y;
            }
        }
    }
    EXPECT_GT(text, 50);
    EXPECT_EQ(window.Pixel(title.left, title.top), banner.Pixel(title.left, title.top)) << "keyed";
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT status = Where(form.Label2.hWnd());
    EXPECT_EQ(window.Pixel(10, 150), face);
    EXPECT_EQ(window.Pixel(status.left, status.top), face);
    EXPECT_EQ(window.Pixel(status.right - 1, status.bottom - 1), face);
}

// The places in twips are checked from outside at every scale; here the move itself, and the
// way back to the first scale gives the first window again.
TEST_F(Window, MoveToADisplayOfAnotherScaleLaysItOutAgain) {
    const Picture first = Render(form.hWnd(), true);
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

// The fill is the floored share of the bar's inside (two pixels of border on every side),
// white beyond it; its tiles repeat every 12 pixels from the picture's second column (the
// twelfth lies beyond the picture: the strip shows there). With LeadMarker the head, the
// picture's last four columns, follows the fill; at the end it lies beyond the bar. The
// caption is the percentage, halves rounded to even, drawn in black.
TEST_F(Window, BarFillTilesHeadAndCaptionFollowTheValue) {
    MyProgressBar& bar = form.pb;
    const int inside = Render(bar.hWnd()).width - 4;
    const COLORREF strip = GetSysColor(COLOR_BTNFACE);
    bar.HeadWidth(4);
    const struct {
        std::int32_t max, value;
        bool lead;
        const wchar_t* caption;
    } rows[] = {{100, 0, false, L"0%"},  {100, 1, false, L"1%"},  {100, 45, false, L"45%"},
                {100, 45, true, L"45%"}, {100, 50, true, L"50%"}, {100, 99, false, L"99%"},
                {8, 1, true, L"12%"},    {8, 8, true, L"100%"}};
    for (const auto& r : rows) {
        bar.LeadMarker(r.lead);
        bar.Max(r.max);
        bar.Value(r.value);
        wchar_t caption[16] = {};
        GetWindowTextW(bar.hWnd(), caption, 16); // as the run's observers read it
        EXPECT_STREQ(caption, r.caption);
        const Picture picture = Render(bar.hWnd());
        const int fill = inside * r.value / r.max;
        const auto expected = [&](int x, int row) {
            if (x < fill) {
                return x % 12 == 11 ? strip : tile.Pixel(x % 12 + 1, row);
            }
            return r.lead && x < fill + 4 ? tile.Pixel(8 + x - fill, row) : RGB(255, 255, 255);
        };
        for (int row : {0, 1, 2, 18, 19}) { // rows the caption does not cover
            for (int x = 0; x < inside; ++x) {
                ASSERT_EQ(picture.Pixel(2 + x, 2 + row), expected(x, row))
                    << r.value << "/" << r.max << " x " << x << " row " << row;
            }
        }
    }
    const auto darkPixels = [&] {
        const std::vector<std::uint32_t> pixels = Render(bar.hWnd()).pixels;
        return std::count_if(pixels.begin(), pixels.end(), [](std::uint32_t p) {
            return (p & 0xC0C0C0) == 0; // each channel below 64
        });
    };
    bar.Text2(L" done");
    bar.Value(0);
    EXPECT_EQ(bar.Caption(), L"0% done");
    EXPECT_GT(darkPixels(), 10);
    bar.TextPercentage(false);
    EXPECT_EQ(bar.Caption(), L"MyProgress Bar");
    bar.Text(L"");
    EXPECT_EQ(darkPixels(), 0);
}

// With errors off, as in the design, no box comes: a refused limit is dropped and a value out
// of range pulled in. A zero step is taken, and then paints nothing.
TEST_F(Window, BarKeepsItsLimitsSilently) {
    MyProgressBar& bar = form.pb;
    ASSERT_FALSE(bar.ErrorsOn());
    bar.Value(50);
    bar.Min(100); // not below Max: refused
    bar.Max(0);   // not above Min: refused
    bar.Value(150);
    EXPECT_EQ(bar.Value(), 100);
    bar.Value(-5);
    EXPECT_EQ(bar.Value(), 0);
    bar.Value(70);
    bar.Max(60); // pulls Value down
    EXPECT_EQ(bar.Value(), 60);
    bar.Value(10);
    bar.Max(180);
    bar.Min(20); // pushes it up
    EXPECT_EQ(bar.Value(), 20);
    EXPECT_EQ(std::pair(bar.Min(), bar.Max()), std::pair(20, 180));
    const Picture before = Render(bar.hWnd());
    bar.ImageRepStep(0);
    bar.Value(150);
    EXPECT_EQ(Render(bar.hWnd()).pixels, before.pixels);
}

// With errors on, each refusal or correction says so in a box of its own.
TEST(BarBoxes, EachRefusalOrCorrectionSaysSoWithErrorsOn) {
    ProgressBarProps props;
    const std::vector<test::SeenBox> boxes = testing::BoxesOf(
        [&] {
            Form1 form(GetModuleHandleW(nullptr));
            form.Create();
            MyProgressBar& bar = form.pb;
            bar.ErrorsOn(true);
            bar.Value(40);
            bar.Min(100);      // refused
            bar.Max(0);        // refused
            bar.Value(101);    // becomes Max
            bar.Value(-1);     // becomes Min
            bar.HeadWidth(-1); // refused
            bar.ImageRepStep(0);
            bar.Value(7); // in range: no box
            props = bar.Properties();
        },
        {IDOK});
    ASSERT_EQ(boxes.size(), 6u) << "one for each but the last";
    for (const test::SeenBox& box : boxes) {
        EXPECT_EQ(box.caption, L"VT_Uninstall");
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(box.icon, test::BoxIcon::Exclamation);
    }
    EXPECT_EQ(boxes[4].text, L"Header Width Minimum Value Must Be Higher Then -1.");
    EXPECT_EQ(std::tuple(props.Min, props.Max, props.Value), std::tuple(0, 100, 7));
    EXPECT_EQ(std::pair(props.HeadWidth, props.ImageRepStep), std::pair(0.0f, 12.0f));
}

// The bar repaints only what changed and keeps its strip: what reaches the screen must still be
// what a bar loaded afresh from its saved set draws at that value. Wine hands what a window drew
// to the screen a little later (on a busy machine, seconds later): the screen is read until it
// shows the bar, with a bound against hanging.
TEST_F(Window, BarOnTheScreenIsWhatABarLoadedFromItsSavedSetDraws) {
    MyProgressBar& bar = form.pb;
    ShowWindow(form.hWnd(), SW_SHOWNA);
    bar.HeadWidth(4);
    bar.LeadMarker(true);
    bar.Text2(L" done");
    bar.TextForeColour(0x00FF0000);
    RECT onScreen{};
    GetWindowRect(bar.hWnd(), &onScreen);
    for (int value : {10, 60, 30, 30, 100, 0, 45, 46, 44}) {
        bar.Value(value);
        MyProgressBar fresh;
        fresh.Create(form.hWnd(), 99,
                     RECT{0, 0, onScreen.right - onScreen.left, onScreen.bottom - onScreen.top},
                     bar.Save());
        ShowWindow(fresh.hWnd(), SW_HIDE);
        EXPECT_EQ(fresh.Properties(), bar.Properties());
        const Picture expected = Render(fresh.hWnd());
        DestroyWindow(fresh.hWnd());
        bool same = false;
        for (const ULONGLONG end = GetTickCount64() + 20000; !same && GetTickCount64() < end;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            DoEvents();
            same = test::CaptureScreen(onScreen).pixels == expected.pixels;
        }
        EXPECT_TRUE(same) << "at " << value;
    }
}

// A label is its caption's extent plus 40 twips (80 when bold) wide and 20 twips higher, in any
// script, keeping its left edge; an empty caption keeps the height.
TEST_F(Window, LabelsSizeThemselvesToTheirCaptions) {
    const std::pair<MyUniLabel*, const wchar_t*> cases[] = {
        {&form.Label1, L"Uninstall Status"},
        {&form.Label3, L"Uninstall Status"},
        {&form.Label1, L"\x0416\x0443 \x65E5\x672C"}};
    for (const auto& [label, caption] : cases) {
        const int left = label->Place().left;
        label->Caption(caption);
        const WindowDc dc(label->hWnd());
        const SelectObjectScope font(
            dc.get(), reinterpret_cast<HFONT>(SendMessageW(label->hWnd(), WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32W(dc.get(), caption, static_cast<int>(wcslen(caption)), &text);
        const TwipsBox place = label->Place();
        EXPECT_EQ(place.width, std::lround(text.cx * scale.x) + (label->FontBold() ? 80 : 40));
        EXPECT_EQ(place.height, std::lround(text.cy * scale.y) + 20);
        EXPECT_EQ(place.left, left);
        RECT pixels{};
        GetWindowRect(label->hWnd(), &pixels);
        EXPECT_EQ(pixels.right - pixels.left, scale.PixelsX(place.width));
        label->Caption(L"");
        EXPECT_EQ(std::pair(label->Place().width, label->Place().height),
                  std::pair(90, place.height));
    }
}

TEST_F(Window, LabelsMousePointerChoosesTheCursor) {
    const std::pair<std::int32_t, LPCWSTR> cases[] = {
        {11, IDC_WAIT}, {3, IDC_IBEAM}, {0, IDC_ARROW}, {99, IDC_ARROW}};
    for (const auto& [pointer, shape] : cases) {
        form.Label1.MousePointer(pointer);
        SetCursor(nullptr);
        SendMessageW(form.Label1.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Label1.hWnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, shape)) << pointer;
    }
}

// The window has no frame to hold: a press on a label drags it until the button goes up; Click
// and MouseUp follow.
TEST_F(Window, PressOnALabelDragsTheWindow) {
    ShowWindow(form.hWnd(), SW_SHOWNA);
    std::string events;
    const auto note = [&](const char* what) {
        return [&events, what](short& button, short&, float&, float&) {
            events += what + std::to_string(button) + " ";
        };
    };
    form.Label3.OnMouseDown(note("down"));
    form.Label3.OnClick([&] { events += "click "; });
    form.Label3.OnMouseUp(note("up"));
    UpdateWindow(form.hWnd());
    RECT before{}, on{}, after{};
    GetWindowRect(form.hWnd(), &before);
    GetWindowRect(form.Label3.hWnd(), &on);
    const auto mouse = [](LONG x, LONG y, DWORD flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        return input;
    };
    const LONG x = on.left + 5, y = on.top + 5;
    INPUT inputs[] = {mouse(x, y, 0), mouse(x, y, MOUSEEVENTF_LEFTDOWN), mouse(x + 20, y + 15, 0),
                      mouse(x + 40, y + 30, 0), mouse(x + 40, y + 30, MOUSEEVENTF_LEFTUP)};
    ASSERT_EQ(SendInput(5, inputs, sizeof(INPUT)), 5u);
    // The press is handled when its messages come: they are let through until the release,
    // with a bound against hanging.
    for (int rounds = 0; rounds < 1000 && !events.ends_with("up1 "); ++rounds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        DoEvents();
    }
    EXPECT_EQ(events, "down1 click up1 ");
    GetWindowRect(form.hWnd(), &after);
    EXPECT_EQ(std::pair(after.left - before.left, after.top - before.top), std::pair(40L, 30L));
}

} // namespace
} // namespace vt

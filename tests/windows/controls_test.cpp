// The picture progress bar and the Unicode label on a window of the test's own, drawn off
// screen: their pixels, captions, events, refusals and property sets.
#include "controls/MyProgressBar.h"
#include "controls/MyUniLabel.h"
#include "controls/control_window.h"
#include "system/errors.h"
#include "tests/support/fixtures.h"
#include "tests/windows/helpers.h"
#include "system/myMod.h"
#include "uninstall/form1_design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <tuple>

namespace vt {
namespace {

using testing::Decoded;
using testing::Render;
using testing::Rendered;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kHostColour = RGB(20, 200, 40);

// A window of one colour, whichever way it is asked to paint, that leaves its children's areas
// to them.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND || message == WM_PRINTCLIENT) {
        RECT all{};
        GetClientRect(window, &all);
        const UniqueBrush brush(CreateSolidBrush(kHostColour));
        FillRect(reinterpret_cast<HDC>(wParam), &all, brush.get());
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

UniqueWindow MakeHost(DWORD style = WS_POPUP) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VT_ControlTestHost";
    RegisterClassExW(&windowClass);
    return UniqueWindow(CreateWindowExW(0, L"VT_ControlTestHost", L"host", style | WS_CLIPCHILDREN,
                                        100, 100, 600, 200, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
}

// The window's bar, 5775 x 355 twips, loaded from its design.
class Bar : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host);
        bar.Create(host.get(), 1, place, design);
        bar.OnChange([this] { ++changes; });
        ASSERT_EQ(tile.width, 12);
    }
    // The inside of the 3-D bar: two pixels of border on every side.
    int ScaleWidth() const { return place.right - 4; }

    UniqueWindow host = MakeHost();
    PropertyBag design = ProgressBarDesign(GetModuleHandleW(nullptr));
    TwipsScale scale = TwipsScale::OfScreen();
    RECT place{0, 0, scale.PixelsX(5775), scale.PixelsY(355)};
    Rendered tile = Decoded(design.ReadPicture(L"ProgressPicture"));
    MyProgressBar bar;
    int changes = 0;
};

// The fill is the floored share of the bar's inside, white beyond it; its tiles repeat every 12
// pixels from the picture's second column (the twelfth lies beyond the picture: the strip shows
// there). With LeadMarker the head, the picture's last four columns, follows the fill; at the
// end it lies beyond the bar. The caption is the percentage, halves rounded to even.
TEST_F(Bar, FillTilesHeadAndCaptionFollowTheValue) {
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
        const Rendered picture = Render(bar.hWnd());
        const int fill = ScaleWidth() * r.value / r.max;
        const auto expected = [&](int x, int row) {
            if (x < fill) {
                return x % 12 == 11 ? strip : tile.At(x % 12 + 1, row);
            }
            return r.lead && x < fill + 4 ? tile.At(8 + x - fill, row) : kWhite;
        };
        for (int row : {0, 1, 2, 18, 19}) { // rows the caption does not cover
            for (int x = 0; x < ScaleWidth(); ++x) {
                ASSERT_EQ(picture.At(2 + x, 2 + row), expected(x, row))
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
    EXPECT_GT(darkPixels(), 10) << "the caption is drawn in black";
    bar.TextPercentage(false);
    EXPECT_EQ(bar.Caption(), L"MyProgress Bar");
    bar.Text(L"");
    EXPECT_EQ(darkPixels(), 0);
}

// With errors off, as in the window, no box comes: a refused limit is dropped and a value out
// of range pulled in. A zero step is taken, and then paints nothing.
TEST_F(Bar, LimitsAreKeptSilentlyWithErrorsOff) {
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
    bar.Value(81);
    EXPECT_EQ(std::pair(bar.Min(), bar.Max()), std::pair(20, 180));
    changes = 0;
    bar.Value(81); // the same value repaints all the same
    const Rendered before = Render(bar.hWnd());
    bar.ImageRepStep(0);
    bar.Value(150);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Render(bar.hWnd()).pixels, before.pixels);
}

// The bar repaints only what changed and keeps its strip: what reaches the screen must still be
// what a bar loaded afresh from its saved set draws at that value. Wine hands what a window drew
// to the screen a little later: the screen is read until it shows the bar, with a bound
// against hanging.
TEST_F(Bar, ScreenShowsWhatABarLoadedFromItsSavedSetDraws) {
    ShowWindow(host.get(), SW_SHOWNA);
    bar.HeadWidth(4);
    bar.LeadMarker(true);
    bar.Text2(L" done");
    bar.TextForeColour(0x00FF0000);
    for (int value : {10, 60, 30, 30, 100, 0, 45, 46, 44}) {
        bar.Value(value);
        MyProgressBar fresh;
        fresh.Create(host.get(), 7, RECT{0, 100, place.right, 100 + place.bottom}, bar.Save());
        ShowWindow(fresh.hWnd(), SW_HIDE);
        EXPECT_EQ(fresh.Properties(), bar.Properties());
        const Rendered expected = Render(fresh.hWnd());
        DestroyWindow(fresh.hWnd());
        RECT onScreen{};
        GetWindowRect(bar.hWnd(), &onScreen);
        bool same = false;
        for (int reading = 0; reading < 300 && !same; ++reading) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, reading > 0 ? 10 : 0, QS_ALLINPUT);
            DoEvents();
            same = testing::Screen(onScreen).pixels == expected.pixels;
        }
        EXPECT_TRUE(same) << "at " << value;
    }
}

TEST(BarBoxes, EachRefusalOrCorrectionSaysSoWithErrorsOn) {
    ProgressBarProps props;
    const std::vector<test::ThreadBox> boxes = testing::BoxesOf(
        [&] {
            const UniqueWindow host = MakeHost();
            MyProgressBar bar;
            bar.CreateNew(host.get(), 1, RECT{0, 0, 300, 24});
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
    for (const test::ThreadBox& box : boxes) {
        EXPECT_EQ(box.caption, L"VT_Uninstall");
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
    }
    EXPECT_EQ(boxes[4].text, L"Header Width Minimum Value Must Be Higher Then -1.");
    EXPECT_EQ(std::tuple(props.Min, props.Max, props.Value), std::tuple(0, 100, 7));
    EXPECT_EQ(std::pair(props.HeadWidth, props.ImageRepStep), std::pair(0.0f, 1.0f));
}

const FontData kAmbient{L"Tahoma", Currency{82500}, 400, false, false, false, 0};

class Label : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(host); }
    MyUniLabel Place() {
        MyUniLabel label;
        label.CreateNew(host.get(), ++ids, TwipsBox{300, 300, 1575, 255}, kAmbient);
        return label;
    }
    UniqueWindow host = MakeHost();
    int ids = 0;
};

// The label is its caption's extent plus 40 twips (80 when bold) wide and 20 twips higher, in
// any script, keeping its left edge; an empty caption keeps the height.
TEST_F(Label, AutoSizeFollowsTheCaption) {
    const std::pair<const wchar_t*, bool> cases[] = {{L"Uninstall Status", false},
                                                     {L"Uninstall Status", true},
                                                     {L"\x0416\x0443 \x65E5\x672C", false}};
    const TwipsScale scale = TwipsScale::OfScreen();
    for (const auto& [caption, bold] : cases) {
        MyUniLabel label = Place();
        label.FontBold(bold);
        label.Caption(caption);
        const WindowDc dc(label.hWnd());
        const SelectObjectScope font(
            dc.get(), reinterpret_cast<HFONT>(SendMessageW(label.hWnd(), WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32W(dc.get(), caption, static_cast<int>(wcslen(caption)), &text);
        const TwipsBox place = label.Place();
        EXPECT_EQ(place.width, std::lround(text.cx * scale.x) + (bold ? 80 : 40)) << bold;
        EXPECT_EQ(place.height, std::lround(text.cy * scale.y) + 20);
        EXPECT_EQ(place.left, 300);
        RECT pixels{};
        GetWindowRect(label.hWnd(), &pixels);
        EXPECT_EQ(pixels.right - pixels.left, scale.PixelsX(place.width));
        label.Caption(L"");
        EXPECT_EQ(std::pair(label.Place().width, label.Place().height),
                  std::pair(90, place.height));
    }
}

// Empty pixels show BackColor, or where it is keyed or copied the window behind; the caption is
// drawn over them.
TEST_F(Label, BackgroundsOpaqueKeyedAndCopied) {
    const std::pair<std::int32_t, COLORREF> cases[] = {{kBackOpaque, RGB(86, 105, 120)},
                                                       {kBackColourKeyed, kHostColour},
                                                       {kBackCopied, kHostColour}};
    for (const auto& [style, background] : cases) {
        MyUniLabel label = Place();
        label.ForeColor(0);
        label.BackStyle(style);
        label.Caption(L"Status text");
        const Rendered picture = Render(label.hWnd());
        int text = 0;
        for (int i = 0; i < picture.width * picture.height; ++i) {
            text += picture.At(i % picture.width, i / picture.width) != background;
        }
        EXPECT_EQ(picture.At(0, 0), background) << style;
        EXPECT_EQ(picture.At(picture.width - 1, picture.height - 1), background) << style;
        EXPECT_GT(text, 20) << "the caption is drawn";
    }
}

TEST_F(Label, MousePointerChoosesTheCursorOverTheLabel) {
    MyUniLabel label = Place();
    const std::pair<std::int32_t, LPCWSTR> cases[] = {
        {11, IDC_WAIT}, {3, IDC_IBEAM}, {0, IDC_ARROW}, {99, IDC_ARROW}};
    for (const auto& [pointer, shape] : cases) {
        label.MousePointer(pointer);
        SetCursor(nullptr);
        SendMessageW(label.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label.hWnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, shape)) << pointer;
    }
}

// A press on a label drags its window until the button goes up; Click and MouseUp follow.
TEST(LabelDrag, PressOnALabelMovesTheWindow) {
    const UniqueWindow host = MakeHost(WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(host);
    std::string events;
    const auto note = [&](const char* what) {
        return [&events, what](short& button, short&, float&, float&) {
            events += what + std::to_string(button) + " ";
        };
    };
    MyUniLabel label;
    label.CreateNew(host.get(), 1, TwipsBox{300, 300, 1575, 255}, kAmbient);
    label.OnMouseDown(note("down"));
    label.OnClick([&] { events += "click "; });
    label.OnMouseUp(note("up"));
    UpdateWindow(host.get());
    RECT before{}, on{}, after{};
    GetWindowRect(host.get(), &before);
    GetWindowRect(label.hWnd(), &on);
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
    GetWindowRect(host.get(), &after);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
}

} // namespace
} // namespace vt

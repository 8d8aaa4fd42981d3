// The main window as its design builds and draws it: its texts, size and controls' places,
// banner, rules, the labels over the banner and on the window, the bar; and pictures of the
// window during the run and at its last step.
#include "controls/control_window.h"
#include "resources/resource.h"
#include "system/myMod.h"
#include "tests/windows/control_pictures.h"
#include "uninstall/form1.h"
#include "uninstall/form1_design.h"
#include "uninstall/form1_layout.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

using testing::Decoded;
using testing::Render;
using testing::Rendered;

class WindowDesignTest : public ::testing::Test {
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

// The texts' own rules are tested natively; here the table is found in this module.
TEST_F(WindowDesignTest, MessagesComeFromTheBuiltInTableThroughTheTextRules) {
    form.Language = L"English_UK";
    EXPECT_EQ(form.GetMessageText(3903, L"Brendix"),
              L"Uninstall cannot begin.  Brendix is currently running. \r\n\r\nIn order to "
              L"continue, Brendix must be closed. \r\n\r\nTerminate Now?");
    EXPECT_EQ(form.GetMessageText(3906), L"Veltrane was successfully removed from your computer.");
    EXPECT_EQ(form.GetMessageText(3907), L"") << "no such message";
    form.Language = L"english_uk"; // the built-in language is compared exactly
    EXPECT_EQ(form.GetMessageText(3900), L"");
}

// The places in twips are checked from outside, at every scale; here the move itself.
TEST_F(WindowDesignTest, MoveToADisplayOfAnotherScaleLaysItOutAgain) {
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
    EXPECT_EQ(Render(form.hWnd(), true).pixels, first.pixels) << "back as it was";
}

TEST_F(WindowDesignTest, WindowIsCreatedHiddenAndTheFrameCannotCloseIt) {
    EXPECT_FALSE(IsWindowVisible(form.hWnd()));
    EXPECT_FALSE(IsWindowEnabled(form.Command1));
    SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    SendMessageW(form.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(form.hWnd()));
    const UINT state = GetMenuState(GetSystemMenu(form.hWnd(), FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_TRUE(state & MF_GRAYED);
}

TEST_F(WindowDesignTest, PicturesAreBaselineJpegsOfTheirSizes) {
    const struct {
        int id, width, height;
    } cases[] = {{IDR_BANNER, 500, 57}, {IDR_PROGRESS_TILE, 12, 20}};
    for (const auto& c : cases) {
        const PictureData data = ResourcePicture(GetModuleHandleW(nullptr), c.id);
        ASSERT_GT(data.bytes.size(), 4u) << c.id;
        // A baseline frame (SOF0) of three components, and no other frame kind.
        bool baseline = false;
        for (std::size_t i = 0; i + 9 < data.bytes.size(); ++i) {
            if (data.bytes[i] == 0xFF && data.bytes[i + 1] == 0xC0) {
                baseline = data.bytes[i + 9] == 3;
                break;
            }
            EXPECT_FALSE(data.bytes[i] == 0xFF && data.bytes[i + 1] == 0xC2) << "progressive";
        }
        EXPECT_TRUE(baseline) << c.id;
        const Rendered picture = Decoded(data);
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
    }
}

TEST_F(WindowDesignTest, BannerAndEtchedRulesAreOnTheWindowsSurface) {
    const Rendered window = Render(form.hWnd());
    ASSERT_EQ(banner.width, 500);
    for (POINT p : {POINT{0, 0}, POINT{250, 30}, POINT{480, 50}, POINT{497, 56}}) {
        EXPECT_EQ(window.At(p.x, p.y), banner.At(p.x, p.y)) << p.x << "," << p.y;
    }
    const COLORREF dark = GetSysColor(COLOR_SCROLLBAR);
    const COLORREF white = RGB(255, 255, 255);
    const struct {
        int twips;
        COLORREF colour;
    } rules[] = {{860, dark}, {875, white}, {4680, dark}, {4700, white}};
    for (const auto& rule : rules) {
        for (int x : {0, 100, 497}) {
            EXPECT_EQ(window.At(x, scale.PixelsY(rule.twips)), rule.colour) << rule.twips;
        }
    }
    EXPECT_EQ(window.At(10, 150), GetSysColor(COLOR_BTNFACE));
    // The banner ends where the upper rule starts.
    EXPECT_LE(banner.height, scale.PixelsY(860));
}

TEST_F(WindowDesignTest, ControlsCarryTheirStoredProperties) {
    const struct {
        MyUniLabel* label;
        std::int32_t backStyle;
        const wchar_t* link;
        bool bold;
    } labels[] = {{&form.Label3, kBackColourKeyed, L"Image1", true},
                  {&form.Label4, kBackColourKeyed, L"Image1", false},
                  {&form.Label1, kBackOpaque, L"", false},
                  {&form.Label2, kBackOpaque, L"", false}};
    for (const auto& l : labels) {
        const LabelProps& p = l.label->Properties();
        EXPECT_EQ(p.BackStyle, l.backStyle);
        EXPECT_EQ(p.AlphaLinkIMG, l.link);
        EXPECT_EQ(p.FontBold, l.bold);
        EXPECT_TRUE(p.AutoSize);
        EXPECT_EQ(p.Font.name, L"Tahoma");
        // Keyed labels key on the default colour; the status lines are button face.
        EXPECT_EQ(p.BackColor, l.backStyle == kBackOpaque ? 0x8000000Fu : 0x00786956u);
    }
    // The bar's design is loaded and drawn by the bar's own tests.
}

TEST_F(WindowDesignTest, TitleIsKeyedOverTheBannerAndStatusLinesAreOpaque) {
    const Rendered window = Render(form.hWnd(), true);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Over the title only the black text differs from the banner.
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
    // The status line is button face wherever its text is not.
    const RECT status = Where(form.Label2.hWnd());
    EXPECT_EQ(window.At(status.left, status.top), face);
    EXPECT_EQ(window.At(status.right - 1, status.bottom - 1), face);
}

TEST_F(WindowDesignTest, CopiedBackgroundComesFromTheNamedPictureOrTheWindow) {
    const struct { const wchar_t* link; } cases[] = {{L"Image1"}, {L"NoSuchPicture"}, {L""}};
    for (const auto& c : cases) {
        form.Label4.AlphaLinkIMG(c.link);
        form.Label4.BackStyle(kBackCopied);
        // Either way the banner is what lies under the subtitle: from the picture itself, or
        // from the window's own image when no picture has that name.
        const Rendered label = Render(form.Label4.hWnd());
        const RECT at = Where(form.Label4.hWnd());
        int same = 0;
        for (int y = 0; y < label.height; ++y) {
            for (int x = 0; x < label.width; ++x) {
                same += label.At(x, y) == banner.At(at.left + x, at.top + y);
            }
        }
        EXPECT_GT(same, label.width * label.height * 3 / 4) << c.link;
        EXPECT_LT(same, label.width * label.height) << "the caption is drawn over it";
    }
    // The window names its one picture to the labels that ask.
    const UINT findPicture = RegisterWindowMessageW(kFindPictureMessage);
    const auto* image1 = reinterpret_cast<const Surface*>(
        SendMessageW(form.hWnd(), findPicture, 0, reinterpret_cast<LPARAM>(L"Image1")));
    ASSERT_NE(image1, nullptr);
    EXPECT_EQ(image1->width(), 500);
    EXPECT_EQ(image1->height(), 57);
    EXPECT_EQ(SendMessageW(form.hWnd(), findPicture, 0, reinterpret_cast<LPARAM>(L"image1")), 0)
        << "names match exactly";
}

TEST_F(WindowDesignTest, ScreenReadersHearEachNewPercentageAndStatusLine) {
    // Only the bar says a new value, only the status line gets a new caption.
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
    EXPECT_EQ(heard[0], 1) << "the same caption again says nothing";
}

} // namespace
} // namespace vt

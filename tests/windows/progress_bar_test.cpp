// The picture progress bar drawn off screen: fill, tiles, head, caption, events, limits, the
// validation boxes and its property set.
#include "controls/MyProgressBar.h"
#include "controls/control_window.h"
#include "system/errors.h"
#include "tests/support/fixtures.h"
#include "tests/windows/control_pictures.h"
#include "uninstall/form1_design.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace vt {
namespace {

using test::ErrorOf;
using testing::Decoded;
using testing::Render;
using testing::Rendered;

constexpr COLORREF kWhite = RGB(255, 255, 255);

LRESULT CALLBACK PlainHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A hidden top-level window to put bars on.
UniqueWindow MakeHost() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PlainHostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"VT_BarTestHost";
    RegisterClassExW(&windowClass);
    // Like the main window, the host leaves its children's areas to them when it paints.
    return UniqueWindow(CreateWindowExW(0, L"VT_BarTestHost", L"host", WS_POPUP | WS_CLIPCHILDREN,
                                        0, 0, 600, 200, nullptr, nullptr, GetModuleHandleW(nullptr),
                                        nullptr));
}

class ProgressBarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host);
        const TwipsScale scale = TwipsScale::OfScreen();
        // The window's bar: 5775 x 355 twips, loaded from its design.
        place = RECT{0, 0, scale.PixelsX(5775), scale.PixelsY(355)};
        bar.Create(host.get(), 1, place, design);
        bar.OnChange([this] { ++changes; });
        tile = Decoded(design.ReadPicture(L"ProgressPicture"));
        ASSERT_EQ(tile.width, 12);
        ASSERT_EQ(tile.height, 20);
    }

    // The inside of the 3-D bar: two pixels of border on every side.
    int ScaleWidth() const { return place.right - place.left - 4; }
    // Filled columns of the bar's bottom row, which the caption never reaches.
    int FilledColumns(const Rendered& picture) const {
        const int row = picture.height - 3;
        int filled = 0;
        while (filled < ScaleWidth() && picture.At(2 + filled, row) != kWhite) {
            ++filled;
        }
        for (int x = filled; x < ScaleWidth(); ++x) {
            EXPECT_EQ(picture.At(2 + x, row), kWhite) << "white expected after the fill at " << x;
        }
        return filled;
    }

    UniqueWindow host = MakeHost();
    PropertyBag design = ProgressBarDesign(GetModuleHandleW(nullptr));
    MyProgressBar bar;
    RECT place{};
    Rendered tile;
    int changes = 0;
};

TEST_F(ProgressBarTest, FillWidthIsTheFlooredShareOfTheBar) {
    for (int value : {0, 45, 100, 1, 99, 50}) {
        bar.Value(value);
        const Rendered picture = Render(bar.hWnd());
        EXPECT_EQ(FilledColumns(picture), FillWidth(ScaleWidth(), value)) << value << "%";
    }
    if (ScaleWidth() == 381) { // 96 dots per inch
        bar.Value(45);
        EXPECT_EQ(FilledColumns(Render(bar.hWnd())), 171);
    }
}

TEST_F(ProgressBarTest, TilesRepeatEveryStepFromThePicturesSecondColumn) {
    bar.Value(100);
    const Rendered picture = Render(bar.hWnd());
    const COLORREF stripColour = GetSysColor(COLOR_BTNFACE);
    for (int row : {0, 1, 2, 18, 19}) { // rows the caption does not cover
        for (int x = 0; x < ScaleWidth(); ++x) {
            const int column = x % 12;
            // The twelfth column of a tile lies beyond the picture: the strip shows through.
            const COLORREF expected = column == 11 ? stripColour : tile.At(column + 1, row);
            ASSERT_EQ(picture.At(2 + x, 2 + row), expected) << "x " << x << " row " << row;
        }
    }
}

TEST_F(ProgressBarTest, HeadSitsRightAfterTheFillWhenLeadMarkerIsOn) {
    bar.HeadWidth(4);
    bar.Value(45);
    const int fill = FillWidth(ScaleWidth(), 45);
    const int row = 19;
    Rendered picture = Render(bar.hWnd());
    EXPECT_EQ(picture.At(2 + fill, 2 + row), kWhite); // no head without LeadMarker
    bar.LeadMarker(true);
    picture = Render(bar.hWnd());
    // The strip's right end holds the picture's last four columns; the head copies them.
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(picture.At(2 + fill + k, 2 + row), tile.At(8 + k, row)) << k;
    }
    EXPECT_EQ(picture.At(2 + fill + 4, 2 + row), kWhite);
    // At the end the head lies beyond the bar: the last column is an ordinary tile column.
    bar.Value(100);
    picture = Render(bar.hWnd());
    const int last = ScaleWidth() - 1;
    const COLORREF tileColumn =
        last % 12 == 11 ? GetSysColor(COLOR_BTNFACE) : tile.At(last % 12 + 1, row);
    EXPECT_EQ(picture.At(2 + last, 2 + row), tileColumn);
}

TEST_F(ProgressBarTest, CaptionShowsThePercentageRoundedHalvesToEven) {
    const struct {
        std::int32_t min, max, value;
        const wchar_t* text2;
        const wchar_t* caption;
    } cases[] = {
        {0, 8, 1, L"", L"12%"}, // the rounding itself is tested natively
        {0, 8, 8, L"", L"100%"},
        {0, 100, 45, L" done", L"45% done"},
    };
    for (const auto& c : cases) {
        bar.Max(c.max);
        bar.Min(c.min);
        bar.Text2(c.text2);
        bar.Value(c.value);
        wchar_t read[64] = {};
        GetWindowTextW(bar.hWnd(), read, 64); // what the run's observers read
        EXPECT_STREQ(read, c.caption);
    }
    // The caption is drawn: black text where the caption is, none when it is empty.
    const auto darkPixels = [&] {
        const Rendered picture = Render(bar.hWnd());
        int dark = 0;
        for (int y = 2; y < picture.height - 2; ++y) {
            for (int x = 2; x < picture.width - 2; ++x) {
                const COLORREF c = picture.At(x, y);
                dark += GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64;
            }
        }
        return dark;
    };
    bar.Value(0);
    EXPECT_GT(darkPixels(), 10);
    bar.TextPercentage(false);
    EXPECT_EQ(bar.Caption(), L"MyProgress Bar");
    bar.Text(L"");
    EXPECT_EQ(darkPixels(), 0);
    bar.TextPercentage(true);
    EXPECT_EQ(bar.Caption(), L"0%");
}

TEST_F(ProgressBarTest, AnswersTheStandardBarsQuestions) {
    bar.Max(180);
    bar.Value(81);
    EXPECT_EQ(SendMessageW(bar.hWnd(), PBM_GETPOS, 0, 0), 81);
    EXPECT_EQ(SendMessageW(bar.hWnd(), PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(bar.hWnd(), PBM_GETRANGE, FALSE, 0), 180);
}

TEST_F(ProgressBarTest, ChangeFollowsEveryRepaintAndAZeroStepPaintsNothing) {
    for (int value = 1; value <= 5; ++value) {
        bar.Value(value);
    }
    EXPECT_EQ(changes, 5);
    bar.Value(5); // the same value repaints all the same
    EXPECT_EQ(changes, 6);
    const Rendered before = Render(bar.hWnd());
    ASSERT_FALSE(bar.ErrorsOn());
    bar.ImageRepStep(0); // silently taken with errors off
    changes = 0;
    bar.Value(60);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(bar.Value(), 60);
    EXPECT_EQ(bar.Caption(), L"5%");
    EXPECT_EQ(Render(bar.hWnd()).pixels, before.pixels);
}

TEST_F(ProgressBarTest, MouseDownComesFromTheCaptionAndTheControlsOwnSurface) {
    // A control taller than its bar, so that its own surface shows under the bar.
    MyProgressBar tall;
    tall.Create(host.get(), 6, RECT{0, 0, place.right, place.bottom + 16}, design);
    std::vector<std::vector<float>> presses;
    tall.OnMouseDown([&](short& button, short& shift, float& x, float& y) {
        presses.push_back({static_cast<float>(button), static_cast<float>(shift), x, y});
    });
    const TwipsScale scale = TwipsScale::OfScreen();
    const int captionLeft = 2 + scale.PixelsX(120);
    const auto press = [&](UINT message, int x, int y) {
        SendMessageW(tall.hWnd(), message, 0, MAKELPARAM(x, y));
    };
    press(WM_LBUTTONDOWN, captionLeft + 10, 2 + 4 + 3); // on the caption: its own pixels
    press(WM_RBUTTONDOWN, 1, 1);                        // on the bar's border: nothing
    press(WM_LBUTTONDOWN, captionLeft + 10, 2 + 19);    // on the bar below the caption: nothing
    press(WM_MBUTTONDOWN, 10, place.bottom + 8);        // the control's surface: twips
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0], (std::vector<float>{1, 0, 10, 3}));
    EXPECT_EQ(presses[1], (std::vector<float>{4, 0, static_cast<float>(10 * scale.x),
                                              static_cast<float>((place.bottom + 8) * scale.y)}));
}

// The bar repaints only what changed and keeps its strip: what reaches the screen must still
// be what a bar drawn afresh at that value shows. Pending paints are let through while the
// screen is read, so only the bar's own drawing can leave stale pixels behind.
TEST_F(ProgressBarTest, ScreenShowsWhatAFreshBarDrawsAfterEveryChange) {
    ShowWindow(host.get(), SW_SHOWNA);
    bar.HeadWidth(4);
    bar.LeadMarker(true);
    bar.Text2(L" done");
    for (int value : {10, 60, 30, 30, 100, 0, 45, 46, 44}) {
        bar.Value(value);
        MyProgressBar fresh;
        fresh.Create(host.get(), 7, RECT{0, 100, place.right, 100 + place.bottom}, bar.Save());
        ShowWindow(fresh.hWnd(), SW_HIDE);
        const Rendered expected = Render(fresh.hWnd());
        DestroyWindow(fresh.hWnd());
        // Wine hands what a window drew to the screen a little later; the screen is read
        // until it shows the bar, with a bound against hanging.
        RECT onScreen{};
        GetWindowRect(bar.hWnd(), &onScreen);
        int different = -1;
        for (int reading = 0; reading < 300 && different != 0; ++reading) {
            if (reading > 0) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
            MSG message{};
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
            const test::Picture seen = test::CaptureScreen(onScreen);
            ASSERT_EQ(seen.width, expected.width);
            ASSERT_EQ(seen.height, expected.height);
            different = 0;
            for (int y = 0; y < seen.height; ++y) {
                for (int x = 0; x < seen.width; ++x) {
                    different += seen.Pixel(x, y) != expected.At(x, y);
                }
            }
        }
        EXPECT_EQ(different, 0) << "at " << value;
    }
}

TEST_F(ProgressBarTest, SettersRefuseAndCorrectSilentlyWithErrorsOff) {
    std::vector<std::wstring> reported;
    bar.OnPropertyChanged([&](std::wstring_view key) { reported.emplace_back(key); });
    // The refusals and corrections themselves are tested natively and with their boxes below;
    // here no box comes and each change is reported once.
    bar.Value(50);
    bar.Min(100); // not below Max: refused
    bar.Max(0);   // not above Min: refused
    bar.Value(150);
    bar.Value(-5);
    EXPECT_EQ(bar.Value(), 0);
    bar.Value(70);
    bar.Max(60); // pulls Value down
    EXPECT_EQ(bar.Value(), 60);
    bar.Value(10);
    bar.Min(20); // above Value (but below Max): pushes it up
    EXPECT_EQ(bar.Value(), 20);
    bar.HeadWidth(-3); // stored as it is with errors off
    EXPECT_EQ(bar.HeadWidth(), -3);
    EXPECT_EQ(reported,
              (std::vector<std::wstring>{L"Value", L"Value", L"Value", L"Value", L"Max", L"Value",
                                         L"Value", L"Min", L"Value", L"HeadWidth"}));
    reported.clear();
    bar.TextPercentage(false);
    EXPECT_EQ(bar.Text(), L"MyProgress Bar");
    EXPECT_EQ(reported, (std::vector<std::wstring>{L"Text", L"Text", L"TextPercentage"}));
}

TEST_F(ProgressBarTest, FaultsOfALoadedSetReachTheCaller) {
    const struct {
        std::int32_t min, max, value;
        long error;
    } cases[] = {
        {5, 5, 5, kErrDivisionByZero},
        {0, 1, 400, kErrOverflow},                      // 40000 % leaves 16 bits
        {-2147483647 - 1, 2147483647, 0, kErrOverflow}, // the range leaves 32 bits
    };
    for (const auto& c : cases) {
        PropertyBag bag = design;
        bag.Write(L"Min", c.min);
        bag.Write(L"Max", c.max);
        bag.Write(L"Value", c.value);
        MyProgressBar loaded;
        EXPECT_EQ(ErrorOf([&] { loaded.Create(host.get(), 2, place, bag); }).number, c.error)
            << c.min << ".." << c.max;
        // A setter that repaints meets the same fault.
        if (loaded.hWnd()) {
            EXPECT_EQ(ErrorOf([&] { loaded.BackColour(0); }).number, c.error);
        }
    }
}

TEST_F(ProgressBarTest, SavedSetLoadsBackToTheSameBar) {
    bar.Max(180);
    bar.Value(81);
    bar.HeadWidth(3);
    bar.LeadMarker(true);
    bar.Text2(L" done");
    bar.TextForeColour(0x00FF0000);
    bar.BackColour(0x00E0E0E0);
    MyProgressBar copy;
    copy.Create(host.get(), 3, place, bar.Save());
    EXPECT_EQ(copy.Properties(), bar.Properties());
    EXPECT_EQ(copy.Caption(), L"45% done");
    EXPECT_EQ(Render(copy.hWnd()).pixels, Render(bar.hWnd()).pixels);
}

TEST(ProgressBarBoxes, EachRefusalOrCorrectionSaysSoWithErrorsOn) {
    std::promise<DWORD> threadId;
    std::promise<ProgressBarProps> result;
    auto done = std::async(std::launch::async, [&] {
        threadId.set_value(GetCurrentThreadId());
        UniqueWindow host = MakeHost();
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
        result.set_value(bar.Properties());
    });
    const DWORD thread = threadId.get_future().get();
    std::vector<std::wstring> texts;
    const auto finished = [&] {
        return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    while (auto box = test::AnswerNextBoxOfThread(thread, IDOK, finished)) {
        EXPECT_EQ(box->caption, L"VT_Uninstall");
        EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
        EXPECT_EQ(box->icon, LoadIconW(nullptr, IDI_EXCLAMATION)) << "exclamation icon";
        texts.push_back(box->text);
    }
    done.get();
    EXPECT_EQ(texts, (std::vector<std::wstring>{
                         L"The Minimum Value Must Be Less Then The Maximum Value.",
                         L"The Maximum Value Must Be More Then The Minimum Value.",
                         L"Value Is Higher Than Maximum Boundry.",
                         L"Value Is Lower Than Minimum Boundry.",
                         L"Header Width Minimum Value Must Be Higher Then -1.",
                         L"ImageRepStep Value Must Be Higher Then 0.",
                     }));
    const ProgressBarProps props = result.get_future().get();
    EXPECT_EQ(props.Min, 0);
    EXPECT_EQ(props.Max, 100);
    EXPECT_EQ(props.Value, 7);
    EXPECT_EQ(props.HeadWidth, 0.0f);
    EXPECT_EQ(props.ImageRepStep, 1.0f);
}

} // namespace
} // namespace vt

// The picture progress bar's and the Unicode label's arithmetic, layout and property sets, and
// the pictures resized for the display's scale.
#include "controls/label_rules.h"
#include "controls/progress_rules.h"
#include "controls/resample.h"
#include "controls/rounding.h"
#include "system/errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace vt {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ControlRules, NumbersRoundHalvesToEven) {
    const std::pair<double, double> rows[] = {
        {NearestEven(0.5), 0},
        {NearestEven(1.5), 2},
        {NearestEven(-1.5), -2},
        {NearestEven(2.4999), 2},
        {NearestEven(2.5001), 3},
        {NearestEven(-2.6), -3},
        {ToIntegerNearest(32767.4), 32767},
        // The caption's percentage: 1 of 8 is 12, 3 of 8 is 38.
        {PercentShown(1, 0, 8), 12},
        {PercentShown(3, 0, 8), 38},
        {PercentShown(-5, -10, 10), 25},
        {PercentShown(179, 0, 180), 99},
        {PercentShown(-3, 0, 100), -3},
        // The fill: the floor of its share of the width.
        {FillPercent(1, 0, 8), 12.5},
        {FillWidth(381, FillPercent(81, 0, 180)), 171},
        {FillWidth(381, 99.99), 380},
        {FillWidth(100, -3), -3},
        // The label: alignment, word breaks and prefixes as drawing flags, and the column of
        // the background a right-aligned label copies.
        {LabelDrawFlags(1, false, false), 0x002},
        {LabelDrawFlags(2, true, true), 0x811},
        {LabelDrawFlags(99, true, false), 0x010},
        {CopiedBackgroundColumn(600, 1390, 1980, 1), 10},
        {CopiedBackgroundColumn(600, 1390, 1980, 0), 600},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
    }
}

TEST(ControlRules, ArithmeticFaultsAreRunTimeErrors) {
    const std::pair<std::function<void()>, long> rows[] = {
        {[] { ToIntegerNearest(32767.5); }, kErrOverflow},
        {[] { ToLongNearest(3e9); }, kErrOverflow},
        {[] { PercentShown(5, 5, 5); }, kErrDivisionByZero}, // a loaded set with Max at Min
        {[] { PercentShown(kMax, kMin, 0); }, kErrOverflow}, // Value - Min leaves 32 bits
        {[] { PercentShown(0, kMin, kMax); }, kErrOverflow}, // Max - Min leaves 32 bits
        {[] { PercentShown(-400, 0, 1); }, kErrOverflow},    // -40000 % leaves 16 bits
        {[] { FillPercent(5, 5, 5); }, kErrDivisionByZero},
        {[] { FillPercent(0, kMin, kMax); }, kErrOverflow},
        {[] { FillPercent(400, 0, 1); }, 0}, // no 16-bit percentage to overflow
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        long error = 0;
        try {
            rows[i].first();
        } catch (const RuntimeError& e) {
            error = e.info().number;
        }
        EXPECT_EQ(error, rows[i].second) << "row " << i;
    }
}

TEST(ProgressBar, TilesAndHeadReachTheStripsRightEdge) {
    const std::pair<std::vector<std::int32_t>, std::vector<std::int32_t>> rows[] = {
        {TileColumns(12, 48), {0, 12, 24, 36, 48}},
        {TileColumns(12, 47), {0, 12, 24, 36}},
        {TileColumns(2.5f, 10), {0, 2, 5, 8, 10}}, // columns rounded halves to even
        {TileColumns(0, 100), {}},
        {{PlaceHead(4, 12, 389).width, PlaceHead(4, 12, 389).sourceColumn,
          PlaceHead(4, 12, 389).stripColumn},
         {4, 8, 385}},
        {{PlaceHead(2.5f, 12, 100).width, PlaceHead(2.5f, 12, 100).sourceColumn,
          PlaceHead(2.5f, 12, 100).stripColumn},
         {2, 10, 98}}, // 9.5 and 97.5 to even
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
    }
}

TEST(ProgressBar, LimitsRefuseOrCorrectWithTheirMessages) {
    const std::wstring_view high = L"Value Is Higher Than Maximum Boundry.";
    const std::wstring_view low = L"Value Is Lower Than Minimum Boundry.";
    const struct {
        const wchar_t* name;
        std::int32_t value, min, max;
        bool accepted;
        std::int32_t stored;
        std::vector<std::wstring_view> messages;
    } cases[] = {
        {L"Min",
         100,
         0,
         100,
         false,
         100,
         {L"The Minimum Value Must Be Less Then The Maximum Value."}},
        {L"Min", 99, 0, 100, true, 99, {}},
        {L"Max", 0, 0, 100, false, 0, {L"The Maximum Value Must Be More Then The Minimum Value."}},
        {L"Max", 1, 0, 100, true, 1, {}},
        {L"Value", 101, 0, 100, true, 100, {high}},
        {L"Value", -1, 0, 100, true, 0, {low}},
        {L"Value", 100, 0, 100, true, 100, {}},
        // A loaded set left Max below Min: both corrections, Max first.
        {L"Value", 50, 20, 10, true, 20, {high, low}},
    };
    for (const auto& c : cases) {
        const LimitCheck check = CheckLimits(c.name, c.value, c.min, c.max);
        EXPECT_EQ(check.accepted, c.accepted) << c.name << " " << c.value;
        EXPECT_EQ(check.value, c.stored) << c.name << " " << c.value;
        EXPECT_EQ(check.messages, c.messages) << c.name << " " << c.value;
    }
}

TEST(Label, TextRectangleAndSizeFollowTheCaption) {
    const std::pair<PixelRect, PixelRect> rects[] = {
        {LabelTextRect(1410, 210, 15, 15, 0), {1, 1, 93, 15}},
        {LabelTextRect(1410, 210, 15, 15, 1), {1, 0, 93, 15}},
        {LabelTextRect(1402.5, 217.5, 15, 15, 0), {1, 1, 92, 16}}, // halves to even
        {LabelTextRect(1410, 210, 12, 12, 0), {1, 1, 116, 18}},    // 120 dots per inch
    };
    for (const auto& [got, want] : rects) {
        EXPECT_EQ(got, want);
    }
    // Auto-sized from the text's size: bold takes 40 twips more, an empty caption is 90 wide,
    // and a right-aligned label keeps the right edge of its remembered width (2580).
    const TwipsBox at{600, 1200, 1980, 210};
    const std::pair<TwipsBox, TwipsBox> boxes[] = {
        {AutoSizedBox(at, false, 1350, 195, false, 0, 1980), {600, 1200, 1390, 215}},
        {AutoSizedBox(at, false, 1350, 195, true, 0, 1980), {600, 1200, 1430, 215}},
        {AutoSizedBox(at, true, 0, 0, true, 0, 1980), {600, 1200, 90, 210}},
        {AutoSizedBox(at, false, 1350, 195, false, 1, 1980), {1190, 1200, 1390, 215}},
        {AutoSizedBox(at, true, 0, 0, false, 1, 1980), {2490, 1200, 90, 210}},
        {AutoSizedBox(at, false, 1350, 195, false, 2, 1980), {600, 1200, 1390, 215}},
    };
    for (const auto& [got, want] : boxes) {
        EXPECT_EQ(got, want);
    }
    // Key-coloured pixels, whatever their top byte, show what is behind.
    std::vector<std::uint32_t> surface{0x563412, 0x000000, 0x563413, 0xFF563412};
    ComposeColourKeyed(surface, {1, 2, 3, 4}, DibPixel(0x123456));
    EXPECT_EQ(surface, (std::vector<std::uint32_t>{1, 0x000000, 0x563413, 4}));
}

const FontData kAmbient{L"Tahoma", Currency{82500}, 400, false, false, false, 0};

// A property set keeps the keys that differ from their absent values, in their order, and
// loads back what was saved; a missing key takes its absent value, which is not always a new
// control's.
TEST(PropertySets, SaveChangedKeysInOrderAndLoadBack) {
    ProgressBarProps bar; // as the window's bar is designed
    bar.ProgressPicture.bytes = {0xFF, 0xD8, 0xFF, 0xD9};
    bar.ErrorsOn = false;
    bar.ImageRepStep = 12;
    bar.TextPercentage = true;
    EXPECT_EQ(SaveProgressBar(bar).Keys(),
              (std::vector<std::wstring>{L"ProgressPicture", L"ErrorsOn", L"BackColour",
                                         L"ImageRepStep", L"TextAlignment", L"TextPercentage"}));
    EXPECT_EQ(LoadProgressBar(SaveProgressBar(bar)), bar);
    EXPECT_EQ(CaptionText(bar, 45), L"45%");
    bar = {{{0xFF}}, 5, 50, 6, false, 1, true, 3, 12, false, {{1}}, L"x", L" done", 1, 7, true};
    EXPECT_EQ(CaptionText(bar, -3), L"-3% done");
    const PropertyBag all = SaveProgressBar(bar);
    EXPECT_EQ(all.Keys(),
              std::vector<std::wstring>(ProgressBarKeys().begin(), ProgressBarKeys().end()));
    EXPECT_EQ(LoadProgressBar(all), bar);
    PropertyBag stored;
    stored.Write(L"Min", std::int32_t{5});
    stored.Write(L"value", Bool16::Of(true)); // a key found without regard to case
    const ProgressBarProps loaded = LoadProgressBar(stored);
    EXPECT_EQ(std::tuple(loaded.Value, loaded.BackColour, loaded.TextAlignment),
              std::tuple(-1, 0u, 0));

    LabelProps title = LoadLabel({}, kAmbient); // Label3 of the window: title over the banner
    EXPECT_EQ(title.BackStyle, kBackColourKeyed);
    title.Caption = L"Uninstall Status";
    title.AlphaLinkIMG = L"Image1";
    title.ForeColor = 0;
    title.FontBold = true;
    EXPECT_EQ(SaveLabel(title, kAmbient).Keys(),
              (std::vector<std::wstring>{L"AlphaLinkIMG", L"Caption", L"ForeColor", L"FontBold"}));
    EXPECT_EQ(LoadLabel(SaveLabel(title, kAmbient), kAmbient), title);
    EXPECT_EQ(SaveLabel(NewLabel(kAmbient), kAmbient).Keys(),
              std::vector<std::wstring>{L"BackStyle"});
    const LabelProps label{
        1,    L"Image1", false, kBackCopied, 1,  0x8000000F, L"\x05E9 & co", false, 0, {L"Arial"},
        true, true,      true,  {120000},    99, {{1, 2}},   false,          true};
    const PropertyBag full = SaveLabel(label, kAmbient);
    EXPECT_EQ(full.Keys(), std::vector<std::wstring>(LabelKeys().begin(), LabelKeys().end()));
    EXPECT_EQ(LoadLabel(full, kAmbient), label);
    // The size follows the stored font when the size itself is missing.
    PropertyBag big;
    big.Write(L"Font", FontData{L"Tahoma", {120000}});
    EXPECT_EQ(LoadLabel(big, kAmbient).FontSize, Currency{120000});
}

TEST(Resample, BlendsNeighboursInsteadOfRepeatingThem) {
    using Pixels = std::vector<std::uint32_t>;
    const std::pair<Pixels, Pixels> rows[] = {
        {ResizeSmooth(Pixels(6, 0x336699), 3, 2, 4, 3), Pixels(12, 0x336699)},
        {ResizeSmooth({0xFF0000, 0x0000FF}, 2, 1, 4, 1), {0xFF0000, 0xBF0040, 0x4000BF, 0x0000FF}},
        {ResizeSmooth({0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}, 2, 2, 1, 1), {0x808080}},
    };
    for (const auto& [got, want] : rows) {
        EXPECT_EQ(got, want);
    }
}

} // namespace
} // namespace vt

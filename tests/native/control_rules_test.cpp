// The picture progress bar's and the Unicode label's arithmetic, layout and property sets, and
// the pictures resized for the display's scale.
#include "controls/label_rules.h"
#include "controls/progress_rules.h"
#include "controls/resample.h"
#include "controls/rounding.h"
#include "system/errors.h"
#include "tests/native/rows.h"

#include <limits>
#include <tuple>

namespace vt {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ControlRules, NumbersRoundHalvesToEvenAndFaultsAreRunTimeErrors) {
    ExpectRows<double>({
        {NearestEven(-1.5), -2},
        {NearestEven(2.4999), 2},
        {NearestEven(2.5001), 3},
        {NearestEven(-2.6), -3},
        {FillPercent(1, 0, 8), 12.5},
    });
    ExpectRows<std::int64_t>({
        {ToIntegerNearest(32767.4), 32767},
        // The caption's percentage, and the fill: the floor of its share of the width.
        {PercentShown(1, 0, 8), 12},
        {PercentShown(3, 0, 8), 38},
        {PercentShown(-5, -10, 10), 25},
        {PercentShown(-3, 0, 100), -3},
        {FillWidth(381, FillPercent(81, 0, 180)), 171},
        {FillWidth(381, 99.99), 380},
        {FillWidth(100, -3), -3},
        // The label's drawing flags; the background column a right-aligned label copies.
        {LabelDrawFlags(1, false, false), 0x002},
        {LabelDrawFlags(2, true, true), 0x811},
        {LabelDrawFlags(99, true, false), 0x010},
        {CopiedBackgroundColumn(600, 1390, 1980, 1), 10},
        {CopiedBackgroundColumn(600, 1390, 1980, 0), 600},
    });
    ExpectRows<long>({
        {ErrorOf([] { ToIntegerNearest(32767.5); }), kErrOverflow},
        {ErrorOf([] { ToLongNearest(3e9); }), kErrOverflow},
        {ErrorOf([] { PercentShown(5, 5, 5); }), kErrDivisionByZero}, // a loaded Max at Min
        {ErrorOf([] { PercentShown(kMax, kMin, 0); }), kErrOverflow}, // beyond 32 bits
        {ErrorOf([] { PercentShown(-400, 0, 1); }), kErrOverflow},    // beyond 16 bits
        {ErrorOf([] { FillPercent(5, 5, 5); }), kErrDivisionByZero},
        {ErrorOf([] { FillPercent(0, kMin, kMax); }), kErrOverflow},
        {ErrorOf([] { FillPercent(400, 0, 1); }), 0}, // no 16-bit percentage
    });
}

std::vector<std::int32_t> Head(float width, std::int32_t picture, std::int32_t strip) {
    const HeadPlacement head = PlaceHead(width, picture, strip);
    return {head.width, head.sourceColumn, head.stripColumn};
}

using Limits = std::tuple<bool, std::int32_t, std::vector<std::wstring_view>>;
Limits Check(std::wstring_view name, std::int32_t value, std::int32_t min, std::int32_t max) {
    const LimitCheck check = CheckLimits(name, value, min, max);
    return {check.accepted, check.value, check.messages};
}

TEST(ProgressBar, TilesHeadAndLimits) {
    ExpectRows<std::vector<std::int32_t>>({
        {TileColumns(12, 48), {0, 12, 24, 36, 48}}, // the last may start on the right edge
        {TileColumns(12, 47), {0, 12, 24, 36}},
        {TileColumns(2.5f, 10), {0, 2, 5, 8, 10}}, // halves to even
        {TileColumns(0, 100), {}},
        {Head(4, 12, 389), {4, 8, 385}},
        {Head(2.5f, 12, 100), {2, 10, 98}}, // 9.5 and 97.5 to even
    });
    const std::wstring_view high = L"Value Is Higher Than Maximum Boundry.",
                            low = L"Value Is Lower Than Minimum Boundry.",
                            min = L"The Minimum Value Must Be Less Then The Maximum Value.",
                            max = L"The Maximum Value Must Be More Then The Minimum Value.";
    ExpectRows<Limits>({
        {Check(L"Min", 100, 0, 100), {false, 100, {min}}},
        {Check(L"Min", 99, 0, 100), {true, 99, {}}},
        {Check(L"Max", 0, 0, 100), {false, 0, {max}}},
        {Check(L"Max", 1, 0, 100), {true, 1, {}}},
        {Check(L"Value", 101, 0, 100), {true, 100, {high}}},
        {Check(L"Value", -1, 0, 100), {true, 0, {low}}},
        {Check(L"Value", 100, 0, 100), {true, 100, {}}},
        {Check(L"Value", 0, 0, 100), {true, 0, {}}},
        {Check(L"Value", 50, 20, 10), {true, 20, {high, low}}}, // Max below Min: Max first
    });
}

TEST(Label, TextRectangleSizeAndKeyColour) {
    ExpectRows<PixelRect>({
        {LabelTextRect(1410, 210, 15, 15, 0), {1, 1, 93, 15}},
        {LabelTextRect(1410, 210, 15, 15, 1), {1, 0, 93, 15}},
        {LabelTextRect(1402.5, 217.5, 15, 15, 0), {1, 1, 92, 16}}, // halves to even
        {LabelTextRect(1410, 210, 12, 12, 0), {1, 1, 116, 18}},    // 120 dots per inch
    });
    // Auto-sized from the text's size: bold takes 40 twips more, an empty caption is 90 wide,
    // and a right-aligned label keeps the right edge of its remembered width (2580).
    const TwipsBox at{600, 1200, 1980, 210};
    ExpectRows<TwipsBox>({
        {AutoSizedBox(at, false, 1350, 195, false, 0, 1980), {600, 1200, 1390, 215}},
        {AutoSizedBox(at, false, 1350, 195, true, 0, 1980), {600, 1200, 1430, 215}},
        {AutoSizedBox(at, true, 0, 0, true, 0, 1980), {600, 1200, 90, 210}},
        {AutoSizedBox(at, false, 1350, 195, false, 1, 1980), {1190, 1200, 1390, 215}},
        {AutoSizedBox(at, true, 0, 0, false, 1, 1980), {2490, 1200, 90, 210}},
        {AutoSizedBox(at, false, 1350, 195, false, 2, 1980), {600, 1200, 1390, 215}},
    });
    // Key-coloured pixels, whatever their top byte, show what is behind.
    std::vector<std::uint32_t> surface{0x563412, 0x000000, 0x563413, 0xFF563412};
    ComposeColourKeyed(surface, {1, 2, 3, 4}, DibPixel(0x123456));
    EXPECT_EQ(surface, (std::vector<std::uint32_t>{1, 0x000000, 0x563413, 4}));
}

// A property set keeps the keys that differ from their absent values, in their order, and
// loads back what was saved; a missing key takes its absent value, not always a new control's.
TEST(PropertySets, SaveChangedKeysInOrderAndLoadBack) {
    using Keys = std::vector<std::wstring>;
    const FontData ambient{L"Tahoma", {82500}};
    ProgressBarProps bar; // the window's bar as designed
    bar.ProgressPicture.bytes = {0xFF, 0xD9};
    bar.ErrorsOn = false;
    bar.ImageRepStep = 12;
    bar.TextPercentage = true;
    LabelProps title = NewLabel(ambient); // the window's title over the banner
    title.AlphaLinkIMG = L"Image1";
    title.BackStyle = kBackColourKeyed;
    title.Caption = L"Uninstall Status";
    title.ForeColor = 0;
    title.FontBold = true;
    // Sets where every key differs from its absent value.
    const ProgressBarProps all{{{1}}, 5,     50,    6,    false,    1, true, 3,
                               12,    false, {{1}}, L"x", L" done", 1, 7,    true};
    const LabelProps label{
        1,    L"Image1", false, kBackCopied, 1,  0x8000000F, L"\x05E9 & co", false, 0, {L"Arial"},
        true, true,      true,  {120000},    99, {{1, 2}},   false,          true};
    ExpectRows<Keys>({
        {SaveProgressBar(bar).Keys(),
         {L"ProgressPicture", L"ErrorsOn", L"BackColour", L"ImageRepStep", L"TextAlignment",
          L"TextPercentage"}},
        {SaveProgressBar(all).Keys(), Keys(ProgressBarKeys().begin(), ProgressBarKeys().end())},
        {SaveLabel(title, ambient).Keys(),
         {L"AlphaLinkIMG", L"Caption", L"ForeColor", L"FontBold"}},
        {SaveLabel(NewLabel(ambient), ambient).Keys(), {L"BackStyle"}},
        {SaveLabel(label, ambient).Keys(), Keys(LabelKeys().begin(), LabelKeys().end())},
    });
    EXPECT_EQ(LoadProgressBar(SaveProgressBar(bar)), bar);
    EXPECT_EQ(LoadProgressBar(SaveProgressBar(all)), all);
    EXPECT_EQ(LoadLabel(SaveLabel(title, ambient), ambient), title);
    EXPECT_EQ(LoadLabel(SaveLabel(label, ambient), ambient), label);
    EXPECT_EQ(LoadLabel(SaveLabel(NewLabel(ambient), ambient), ambient), NewLabel(ambient));
    PropertyBag stored;
    stored.Write(L"Min", std::int32_t{5});
    stored.Write(L"Font", FontData{L"Arial", {120000}});
    ExpectRows<std::int64_t>({
        {LoadProgressBar(stored).Value, 5},  // the Min just read
        {LoadProgressBar({}).BackColour, 0}, // black and left-aligned, unlike a new bar
        {LoadProgressBar({}).TextAlignment, 0},
        {LoadLabel({}, ambient).BackStyle, kBackColourKeyed}, // unlike a new label
        {LoadLabel(stored, ambient).FontSize.units, 120000},  // the stored font's size
    });
    stored.Write(L"value", Bool16::Of(true)); // found without regard to case
    EXPECT_EQ(LoadProgressBar(stored).Value, -1);
    EXPECT_EQ(CaptionText(bar, 45), L"45%");
    EXPECT_EQ(CaptionText(all, -3), L"-3% done");
}

TEST(Resample, BlendsNeighboursInsteadOfRepeatingThem) {
    using Pixels = std::vector<std::uint32_t>;
    ExpectRows<Pixels>({
        {ResizeSmooth(Pixels(6, 0x336699), 3, 2, 4, 3), Pixels(12, 0x336699)},
        {ResizeSmooth({0xFF0000, 0x0000FF}, 2, 1, 4, 1), {0xFF0000, 0xBF0040, 0x4000BF, 0x0000FF}},
        {ResizeSmooth({0, 0xFFFFFF, 0xFFFFFF, 0}, 2, 2, 1, 1), {0x808080}},
    });
}

} // namespace
} // namespace vt

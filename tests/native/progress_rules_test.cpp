// The picture progress bar's arithmetic and property set.
#include "controls/progress_rules.h"
#include "controls/rounding.h"
#include "system/errors.h"

#include <gtest/gtest.h>

#include <limits>

namespace vt {
namespace {

long ErrorOf(auto&& body) {
    try {
        body();
    } catch (const RuntimeError& error) {
        return error.info().number;
    }
    return 0;
}

TEST(NearestEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in, out;
    } cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},
                 {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}};
    for (const auto& c : cases) {
        EXPECT_EQ(NearestEven(c.in), c.out) << c.in;
    }
    EXPECT_EQ(ToIntegerNearest(32767.4), 32767);
    EXPECT_EQ(ErrorOf([] { ToIntegerNearest(32767.5); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { ToLongNearest(3e9); }), kErrOverflow);
}

TEST(PercentShown, RoundsTheShareHalvesToEven) {
    const struct {
        std::int32_t value, min, max;
        std::int16_t percent;
        const wchar_t* text;
    } cases[] = {
        {0, 0, 8, 0, L"0%"},      {1, 0, 8, 12, L"12%"},     {3, 0, 8, 38, L"38%"},
        {8, 0, 8, 100, L"100%"},  {5, 5, 15, 0, L"0%"},      {-5, -10, 10, 25, L"25%"},
        {90, 0, 180, 50, L"50%"}, {179, 0, 180, 99, L"99%"}, {-3, 0, 100, -3, L"-3%"},
    };
    for (const auto& c : cases) {
        const std::int16_t percent = PercentShown(c.value, c.min, c.max);
        EXPECT_EQ(percent, c.percent) << c.value << " of " << c.min << ".." << c.max;
        EXPECT_EQ(PercentText(percent), c.text);
    }
}

TEST(PercentShown, ArithmeticFaultsAreRunTimeErrors) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t value, min, max;
        long error;
    } cases[] = {
        {5, 5, 5, kErrDivisionByZero}, // a loaded set with Max equal to Min
        {kMax, kMin, 0, kErrOverflow}, // Value - Min leaves 32 bits
        {0, kMin, kMax, kErrOverflow}, // Max - Min leaves 32 bits
        {400, 0, 1, kErrOverflow},     // 40000 % leaves 16 bits
        {-400, 0, 1, kErrOverflow},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { PercentShown(c.value, c.min, c.max); }), c.error) << c.value;
    }
    // The fill meets the same faults, except that it has no 16-bit percentage to overflow.
    EXPECT_EQ(ErrorOf([] { FillPercent(5, 5, 5); }), kErrDivisionByZero);
    EXPECT_EQ(ErrorOf([] { FillPercent(0, kMin, kMax); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { FillPercent(400, 0, 1); }), 0);
}

TEST(CaptionText, PercentageWithText2OrTheFixedText) {
    ProgressBarProps props;
    props.Text = L"Working";
    EXPECT_EQ(CaptionText(props, 45), L"Working");
    props.TextPercentage = true;
    EXPECT_EQ(CaptionText(props, 45), L"45%");
    props.Text2 = L" done";
    EXPECT_EQ(CaptionText(props, 45), L"45% done");
}

TEST(FillWidth, FloorOfTheShareOfTheScaleWidth) {
    const struct {
        std::int32_t width;
        double percent;
        std::int32_t fill;
    } cases[] = {{381, 0, 0},     {381, 45, 171}, {381, 100, 381}, {381, 99.99, 380},
                 {100, 12.5, 12}, {100, -3, -3},  {7, 14.2857, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(FillWidth(c.width, c.percent), c.fill) << c.width << " at " << c.percent;
    }
    EXPECT_DOUBLE_EQ(FillPercent(1, 0, 8), 12.5);
    EXPECT_EQ(FillWidth(381, FillPercent(81, 0, 180)), 171);
}

TEST(TileColumns, OneTileEveryStepUpToTheStripsRightEdge) {
    EXPECT_EQ(TileColumns(12, 48), (std::vector<std::int32_t>{0, 12, 24, 36, 48}));
    EXPECT_EQ(TileColumns(12, 47), (std::vector<std::int32_t>{0, 12, 24, 36}));
    // Fractional steps land on the nearest column, halves to even.
    EXPECT_EQ(TileColumns(2.5f, 10), (std::vector<std::int32_t>{0, 2, 5, 8, 10}));
    EXPECT_TRUE(TileColumns(0, 100).empty());
    EXPECT_EQ(TileColumns(12, 0), (std::vector<std::int32_t>{0}));
    // A step too small to move the column on ends the loop instead of spinning.
    EXPECT_FALSE(TileColumns(1e-30f, 10).empty());
    EXPECT_EQ(TileColumns(12, 385).size(), 33u);
}

TEST(PlaceHead, LastColumnsOfThePictureAtTheStripsEnd) {
    const struct {
        float head;
        std::int32_t picture, strip;
        HeadPlacement placed;
    } cases[] = {{0, 12, 385, {0, 12, 385}},
                 {4, 12, 389, {4, 8, 385}},
                 {2.5f, 12, 100, {2, 10, 98}}, // 9.5 -> 10 and 97.5 -> 98: halves to even
                 {12, 12, 397, {12, 0, 385}}};
    for (const auto& c : cases) {
        const HeadPlacement head = PlaceHead(c.head, c.picture, c.strip);
        EXPECT_EQ(head.width, c.placed.width) << c.head;
        EXPECT_EQ(head.sourceColumn, c.placed.sourceColumn) << c.head;
        EXPECT_EQ(head.stripColumn, c.placed.stripColumn) << c.head;
    }
}

TEST(CheckLimits, RefusalsCorrectionsAndTheirMessages) {
    const std::wstring_view minAboveMax = L"The Minimum Value Must Be Less Then The Maximum Value.";
    const std::wstring_view maxBelowMin = L"The Maximum Value Must Be More Then The Minimum Value.";
    const std::wstring_view high = L"Value Is Higher Than Maximum Boundry.";
    const std::wstring_view low = L"Value Is Lower Than Minimum Boundry.";
    const struct {
        const wchar_t* name;
        std::int32_t value, min, max;
        bool accepted;
        std::int32_t stored;
        std::vector<std::wstring_view> messages;
    } cases[] = {
        {L"Min", 100, 0, 100, false, 100, {minAboveMax}},
        {L"Min", 99, 0, 100, true, 99, {}},
        {L"Max", 0, 0, 100, false, 0, {maxBelowMin}},
        {L"Max", 1, 0, 100, true, 1, {}},
        {L"Value", 101, 0, 100, true, 100, {high}},
        {L"Value", -1, 0, 100, true, 0, {low}},
        {L"Value", 100, 0, 100, true, 100, {}},
        {L"Value", 0, 0, 100, true, 0, {}},
        // Both corrections when a loaded set left Max below Min: Max first, then Min.
        {L"Value", 50, 20, 10, true, 20, {high, low}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.value);
        const LimitCheck check = CheckLimits(c.name, c.value, c.min, c.max);
        EXPECT_EQ(check.accepted, c.accepted);
        EXPECT_EQ(check.value, c.stored);
        EXPECT_EQ(check.messages, c.messages);
    }
}

TEST(ProgressBarProperties, AbsentKeysTakeTheirAbsentValues) {
    const ProgressBarProps loaded = LoadProgressBar(PropertyBag{});
    EXPECT_EQ(loaded.Min, 0);
    EXPECT_EQ(loaded.Max, 100);
    EXPECT_EQ(loaded.Value, 0);
    EXPECT_TRUE(loaded.ErrorsOn);
    EXPECT_EQ(loaded.BackColour, 0u); // black, unlike a new bar's white
    EXPECT_EQ(loaded.ImageRepStep, 1.0f);
    EXPECT_EQ(loaded.Text, L"MyProgress Bar");
    EXPECT_EQ(loaded.TextAlignment, 0); // left, unlike a new bar's centre
    EXPECT_FALSE(loaded.TextPercentage);
    const ProgressBarProps fresh;
    EXPECT_EQ(fresh.BackColour, 0x00FFFFFFu);
    EXPECT_EQ(fresh.TextAlignment, 2);

    // Value's absent value is the Min just read.
    PropertyBag bag;
    bag.Write(L"Min", std::int32_t{5});
    EXPECT_EQ(LoadProgressBar(bag).Value, 5);
    // Stored values come back without the setters' checks.
    bag.Write(L"Max", std::int32_t{2});
    bag.Write(L"value", std::int32_t{9}); // keys are found without regard to case
    const ProgressBarProps unchecked = LoadProgressBar(bag);
    EXPECT_EQ(unchecked.Max, 2);
    EXPECT_EQ(unchecked.Value, 9);
}

TEST(ProgressBarProperties, SaveWritesChangedKeysInOrderAndLoadsBack) {
    ProgressBarProps props;
    // As the window's bar is designed.
    props.ProgressPicture.bytes = {0xFF, 0xD8, 0xFF, 0xD9};
    props.ErrorsOn = false;
    props.BackColour = 0x00FFFFFF;
    props.ImageRepStep = 12;
    props.Text = L"0%";
    props.TextAlignment = 2;
    props.TextPercentage = true;
    const PropertyBag saved = SaveProgressBar(props);
    EXPECT_EQ(saved.Keys(), (std::vector<std::wstring>{L"ProgressPicture", L"ErrorsOn",
                                                       L"BackColour", L"ImageRepStep", L"Text",
                                                       L"TextAlignment", L"TextPercentage"}));
    EXPECT_EQ(LoadProgressBar(saved), props);
    EXPECT_EQ(std::get<Bool16>(*saved.Find(L"TextPercentage")).value, -1);
    EXPECT_EQ(std::get<float>(*saved.Find(L"ImageRepStep")), 12.0f);

    // Every key differs from its absent value: all sixteen, in their order.
    ProgressBarProps all = props;
    all.Min = 5;
    all.Max = 50;
    all.Value = 6;
    all.BackColour = 1;
    all.LeadMarker = true;
    all.HeadWidth = 3;
    all.Appearance = false;
    all.BackPicture.bytes = {1};
    all.Text2 = L"x";
    all.TextForeColour = 0x123456;
    const PropertyBag full = SaveProgressBar(all);
    std::vector<std::wstring> expected(ProgressBarKeys().begin(), ProgressBarKeys().end());
    EXPECT_EQ(full.Keys(), expected);
    EXPECT_EQ(LoadProgressBar(full), all);

    // Min 5 with Value 5 leaves Value out, and loads back as 5.
    all.Value = 5;
    const PropertyBag atMin = SaveProgressBar(all);
    EXPECT_EQ(atMin.Find(L"Value"), nullptr);
    EXPECT_EQ(LoadProgressBar(atMin).Value, 5);
    // A new bar saves what differs from the absent values only.
    EXPECT_EQ(SaveProgressBar(ProgressBarProps{}).Keys(),
              (std::vector<std::wstring>{L"BackColour", L"TextAlignment"}));
}

} // namespace
} // namespace vt

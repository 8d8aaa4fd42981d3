// The picture progress bar's arithmetic and its persisted properties: what the bar shows for a
// value, where the tiles of its strip go, which settings it accepts, and how its property set
// is read and written. Platform-neutral: the window side lives in MyProgressBar.
#pragma once

#include "controls/property_bag.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

inline constexpr wchar_t kProgressBarDefaultText[] = L"MyProgress Bar";

struct ProgressBarProps {
    PictureData ProgressPicture;
    std::int32_t Min = 0;
    std::int32_t Max = 100;
    std::int32_t Value = 0;
    bool ErrorsOn = true;
    std::uint32_t BackColour = 0x00FFFFFF;
    bool LeadMarker = false;
    float HeadWidth = 0;
    float ImageRepStep = 1;
    bool Appearance = true;
    PictureData BackPicture;
    std::wstring Text = kProgressBarDefaultText;
    std::wstring Text2;
    std::int32_t TextAlignment = 2;
    std::uint32_t TextForeColour = 0;
    bool TextPercentage = false;

    bool operator==(const ProgressBarProps&) const = default;
};

// The keys of the property set, in the order they are saved.
const std::vector<std::wstring_view>& ProgressBarKeys();

// A property set read back: every missing key takes its absent value (Value: the Min just
// read). Stored values are taken as they are, without the range checks of the setters.
ProgressBarProps LoadProgressBar(const PropertyBag& bag);
// The property set to keep: keys in their order, each left out when it holds its absent value
// (Value: when it equals Min).
PropertyBag SaveProgressBar(const ProgressBarProps& props);

// The share of the range that Value has reached, in percent, as the caption shows it: rounded
// halves to even (1 of 8 is 12, 3 of 8 is 38). Overflow (6) when a difference leaves 32 bits
// or the percentage leaves 16 bits; Division by zero (11) when Max equals Min.
std::int16_t PercentShown(std::int32_t value, std::int32_t min, std::int32_t max);
// "45%".
std::wstring PercentText(std::int16_t percent);
// What the caption reads: the percentage (with Text2 right after it) or the fixed text.
std::wstring CaptionText(const ProgressBarProps& props, std::int16_t percent);

// The unrounded percentage the fill follows; same faults as PercentShown.
double FillPercent(std::int32_t value, std::int32_t min, std::int32_t max);
// Filled width in pixels of a bar `scaleWidth` wide at `percent`: floor(width / 100 x percent).
std::int32_t FillWidth(std::int32_t scaleWidth, double percent);

// Left columns of the tiles across a strip `stripWidth` wide, one every `step` pixels from 0
// while the column is within the strip (the last may start on its right edge). No tiles for a
// step that is not positive.
std::vector<std::int32_t> TileColumns(float step, std::int32_t stripWidth);

// Where the head (the last `headWidth` columns of the picture) is taken from and put.
struct HeadPlacement {
    std::int32_t width = 0;
    std::int32_t sourceColumn = 0; // in the progress picture
    std::int32_t stripColumn = 0;  // in the strip: its right end
};
HeadPlacement PlaceHead(float headWidth, std::int32_t pictureWidth, std::int32_t stripWidth);

// The outcome of checking a new Min, Max or Value against the range.
struct LimitCheck {
    bool accepted = true;
    std::int32_t value = 0;                  // the value to store (corrected for "Value")
    std::vector<std::wstring_view> messages; // what the bar says when errors are on
};
LimitCheck CheckLimits(std::wstring_view name, std::int32_t newValue, std::int32_t min,
                       std::int32_t max);

inline constexpr wchar_t kHeadWidthMessage[] =
    L"Header Width Minimum Value Must Be Higher Then -1.";
inline constexpr wchar_t kImageRepStepMessage[] = L"ImageRepStep Value Must Be Higher Then 0.";

} // namespace vt

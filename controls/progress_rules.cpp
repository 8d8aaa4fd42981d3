#include "controls/progress_rules.h"

#include "controls/rounding.h"
#include "system/errors.h"

#include <cmath>
#include <limits>

namespace vt {

const std::vector<std::wstring_view>& ProgressBarKeys() {
    static const std::vector<std::wstring_view> keys{
        L"ProgressPicture", L"Min",        L"Max",       L"Value",         L"ErrorsOn",
        L"BackColour",      L"LeadMarker", L"HeadWidth", L"ImageRepStep",  L"Appearance",
        L"BackPicture",     L"Text",       L"Text2",     L"TextAlignment", L"TextForeColour",
        L"TextPercentage"};
    return keys;
}

ProgressBarProps LoadProgressBar(const PropertyBag& bag) {
    ProgressBarProps p;
    p.ProgressPicture = bag.ReadPicture(L"ProgressPicture");
    p.Min = bag.ReadLong(L"Min", 0);
    p.Max = bag.ReadLong(L"Max", 100);
    p.Value = bag.ReadLong(L"Value", p.Min);
    p.ErrorsOn = bag.ReadBool(L"ErrorsOn", true);
    p.BackColour = static_cast<std::uint32_t>(bag.ReadLong(L"BackColour", 0));
    p.LeadMarker = bag.ReadBool(L"LeadMarker", false);
    p.HeadWidth = bag.ReadSingle(L"HeadWidth", 0);
    p.ImageRepStep = bag.ReadSingle(L"ImageRepStep", 1);
    p.Appearance = bag.ReadBool(L"Appearance", true);
    p.BackPicture = bag.ReadPicture(L"BackPicture");
    p.Text = bag.ReadString(L"Text", kProgressBarDefaultText);
    p.Text2 = bag.ReadString(L"Text2", L"");
    p.TextAlignment = bag.ReadLong(L"TextAlignment", 0);
    p.TextForeColour = static_cast<std::uint32_t>(bag.ReadLong(L"TextForeColour", 0));
    p.TextPercentage = bag.ReadBool(L"TextPercentage", false);
    return p;
}

PropertyBag SaveProgressBar(const ProgressBarProps& p) {
    PropertyBag bag;
    const auto put = [&bag](std::wstring_view key, bool absent, PropertyValue value) {
        if (!absent) {
            bag.Write(key, std::move(value));
        }
    };
    const auto colour = [](std::uint32_t c) { return static_cast<std::int32_t>(c); };
    put(L"ProgressPicture", p.ProgressPicture.empty(), p.ProgressPicture);
    put(L"Min", p.Min == 0, p.Min);
    put(L"Max", p.Max == 100, p.Max);
    put(L"Value", p.Value == p.Min, p.Value);
    put(L"ErrorsOn", p.ErrorsOn, Bool16::Of(p.ErrorsOn));
    put(L"BackColour", p.BackColour == 0, colour(p.BackColour));
    put(L"LeadMarker", !p.LeadMarker, Bool16::Of(p.LeadMarker));
    put(L"HeadWidth", p.HeadWidth == 0, p.HeadWidth);
    put(L"ImageRepStep", p.ImageRepStep == 1, p.ImageRepStep);
    put(L"Appearance", p.Appearance, Bool16::Of(p.Appearance));
    put(L"BackPicture", p.BackPicture.empty(), p.BackPicture);
    put(L"Text", p.Text == kProgressBarDefaultText, p.Text);
    put(L"Text2", p.Text2.empty(), p.Text2);
    put(L"TextAlignment", p.TextAlignment == 0, p.TextAlignment);
    put(L"TextForeColour", p.TextForeColour == 0, colour(p.TextForeColour));
    put(L"TextPercentage", !p.TextPercentage, Bool16::Of(p.TextPercentage));
    return bag;
}

double FillPercent(std::int32_t value, std::int32_t min, std::int32_t max) {
    const std::int32_t range = CheckedSubtract(max, min);
    const std::int32_t done = CheckedSubtract(value, min);
    if (range == 0) {
        Raise(kErrDivisionByZero);
    }
    return static_cast<double>(done) / range * 100.0;
}

std::int16_t PercentShown(std::int32_t value, std::int32_t min, std::int32_t max) {
    const std::int32_t done = CheckedSubtract(value, min);
    const std::int32_t range = CheckedSubtract(max, min);
    if (range == 0) {
        Raise(kErrDivisionByZero);
    }
    // The share is kept in single precision before it is scaled, so 1/8 gives exactly 12.5,
    // which rounds to the even 12.
    const float share = static_cast<float>(static_cast<double>(done) / range);
    return ToIntegerNearest(static_cast<double>(share * 100.0f));
}

std::wstring PercentText(std::int16_t percent) {
    return std::to_wstring(percent) + L"%";
}

std::wstring CaptionText(const ProgressBarProps& props, std::int16_t percent) {
    if (!props.TextPercentage) {
        return props.Text;
    }
    return PercentText(percent) + props.Text2;
}

std::int32_t FillWidth(std::int32_t scaleWidth, double percent) {
    const double width = std::floor(static_cast<double>(scaleWidth) / 100.0 * percent);
    if (!(width >= std::numeric_limits<std::int32_t>::min() &&
          width <= std::numeric_limits<std::int32_t>::max())) {
        Raise(kErrOverflow);
    }
    return static_cast<std::int32_t>(width);
}

std::vector<std::int32_t> TileColumns(float step, std::int32_t stripWidth) {
    std::vector<std::int32_t> columns;
    if (!(step > 0)) {
        return columns;
    }
    for (float x = 0; x <= static_cast<float>(stripWidth);) {
        columns.push_back(ToLongNearest(x));
        const float next = x + step;
        if (next == x) {
            break; // the step is lost below the column's precision: the strip is covered
        }
        x = next;
    }
    return columns;
}

HeadPlacement PlaceHead(float headWidth, std::int32_t pictureWidth, std::int32_t stripWidth) {
    HeadPlacement head;
    head.width = ToLongNearest(headWidth);
    head.sourceColumn = ToLongNearest(static_cast<double>(pictureWidth) - headWidth);
    head.stripColumn = ToLongNearest(static_cast<double>(stripWidth) - headWidth);
    return head;
}

LimitCheck CheckLimits(std::wstring_view name, std::int32_t newValue, std::int32_t min,
                       std::int32_t max) {
    LimitCheck check;
    check.value = newValue;
    if (name == L"Min") {
        if (newValue >= max) {
            check.accepted = false;
            check.messages.push_back(L"The Minimum Value Must Be Less Then The Maximum Value.");
        }
    } else if (name == L"Max") {
        if (newValue <= min) {
            check.accepted = false;
            check.messages.push_back(L"The Maximum Value Must Be More Then The Minimum Value.");
        }
    } else if (name == L"Value") {
        if (check.value > max) {
            check.messages.push_back(L"Value Is Higher Than Maximum Boundry.");
            check.value = max;
        }
        if (check.value < min) {
            check.messages.push_back(L"Value Is Lower Than Minimum Boundry.");
            check.value = min;
        }
    }
    return check;
}

} // namespace vt

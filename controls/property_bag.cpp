#include "controls/property_bag.h"

#include "controls/rounding.h"
#include "system/errors.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

namespace vt {

Currency Currency::FromDouble(double value) noexcept {
    return Currency{static_cast<std::int64_t>(std::nearbyint(value * 10000.0))};
}

bool SameKey(std::wstring_view a, std::wstring_view b) noexcept {
    const auto lower = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](wchar_t x, wchar_t y) { return lower(x) == lower(y); });
}

void PropertyBag::Write(std::wstring_view key, PropertyValue value) {
    for (auto& entry : entries_) {
        if (SameKey(entry.first, key)) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::wstring(key), std::move(value));
}

const PropertyValue* PropertyBag::Find(std::wstring_view key) const noexcept {
    for (const auto& entry : entries_) {
        if (SameKey(entry.first, key)) {
            return &entry.second;
        }
    }
    return nullptr;
}

std::vector<std::wstring> PropertyBag::Keys() const {
    std::vector<std::wstring> keys;
    for (const auto& entry : entries_) {
        keys.push_back(entry.first);
    }
    return keys;
}

namespace {

// The stored value as a number, when it is one.
bool AsNumber(const PropertyValue& value, double& number) {
    if (const auto* l = std::get_if<std::int32_t>(&value)) {
        number = *l;
    } else if (const auto* f = std::get_if<float>(&value)) {
        number = *f;
    } else if (const auto* b = std::get_if<Bool16>(&value)) {
        number = b->value;
    } else if (const auto* c = std::get_if<Currency>(&value)) {
        number = c->ToDouble();
    } else {
        return false;
    }
    return true;
}

} // namespace

std::int32_t PropertyBag::ReadLong(std::wstring_view key, std::int32_t absent) const {
    const PropertyValue* value = Find(key);
    double number = 0;
    if (!value || !AsNumber(*value, number)) {
        return absent;
    }
    return ToLongNearest(number);
}

float PropertyBag::ReadSingle(std::wstring_view key, float absent) const {
    const PropertyValue* value = Find(key);
    double number = 0;
    if (!value || !AsNumber(*value, number)) {
        return absent;
    }
    return static_cast<float>(number);
}

bool PropertyBag::ReadBool(std::wstring_view key, bool absent) const {
    const PropertyValue* value = Find(key);
    double number = 0;
    if (!value || !AsNumber(*value, number)) {
        return absent;
    }
    return number != 0;
}

Currency PropertyBag::ReadCurrency(std::wstring_view key, Currency absent) const {
    const PropertyValue* value = Find(key);
    if (!value) {
        return absent;
    }
    if (const auto* c = std::get_if<Currency>(value)) {
        return *c;
    }
    double number = 0;
    return AsNumber(*value, number) ? Currency::FromDouble(number) : absent;
}

std::wstring PropertyBag::ReadString(std::wstring_view key, const std::wstring& absent) const {
    const PropertyValue* value = Find(key);
    const auto* text = value ? std::get_if<std::wstring>(value) : nullptr;
    return text ? *text : absent;
}

PictureData PropertyBag::ReadPicture(std::wstring_view key) const {
    const PropertyValue* value = Find(key);
    const auto* picture = value ? std::get_if<PictureData>(value) : nullptr;
    return picture ? *picture : PictureData{};
}

FontData PropertyBag::ReadFont(std::wstring_view key, const FontData& absent) const {
    const PropertyValue* value = Find(key);
    const auto* font = value ? std::get_if<FontData>(value) : nullptr;
    return font ? *font : absent;
}

} // namespace vt

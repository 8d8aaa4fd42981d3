// A control's persisted property set: named values in the order they were written, read back
// by name without regard to case, as the host of the controls keeps them.
// Platform-neutral: no Windows headers here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace vt {

// A 16-bit Boolean as it is stored: true is -1, false is 0.
struct Bool16 {
    std::int16_t value = 0;
    static Bool16 Of(bool flag) noexcept {
        return Bool16{static_cast<std::int16_t>(flag ? -1 : 0)};
    }
    bool operator==(const Bool16&) const = default;
};

// A fixed-point currency value: ten-thousandths.
struct Currency {
    std::int64_t units = 0;
    static Currency FromDouble(double value) noexcept;
    double ToDouble() const noexcept { return static_cast<double>(units) / 10000.0; }
    bool operator==(const Currency&) const = default;
};

// A picture as it is kept: the bytes of its file (a JPEG here). Empty means no picture.
struct PictureData {
    std::vector<std::uint8_t> bytes;
    bool empty() const noexcept { return bytes.empty(); }
    bool operator==(const PictureData&) const = default;
};

// A font as it is kept: face, size in points, and styles.
struct FontData {
    std::wstring name = L"Tahoma";
    Currency size{82500};
    std::int16_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::int16_t charset = 0;
    bool operator==(const FontData&) const = default;
};

using PropertyValue =
    std::variant<std::int32_t, float, Bool16, Currency, std::wstring, PictureData, FontData>;

class PropertyBag {
  public:
    // Appends `key`, or replaces its value where it is already there.
    void Write(std::wstring_view key, PropertyValue value);
    // The stored value, or nothing.
    const PropertyValue* Find(std::wstring_view key) const noexcept;
    const std::vector<std::pair<std::wstring, PropertyValue>>& Entries() const noexcept {
        return entries_;
    }
    std::vector<std::wstring> Keys() const;

    // Typed reads with the value to take when the key is missing. A stored number of another
    // width is converted as the host converts it; a value of an unrelated kind counts as
    // missing.
    std::int32_t ReadLong(std::wstring_view key, std::int32_t absent) const;
    float ReadSingle(std::wstring_view key, float absent) const;
    bool ReadBool(std::wstring_view key, bool absent) const;
    Currency ReadCurrency(std::wstring_view key, Currency absent) const;
    std::wstring ReadString(std::wstring_view key, const std::wstring& absent) const;
    PictureData ReadPicture(std::wstring_view key) const;
    FontData ReadFont(std::wstring_view key, const FontData& absent) const;

  private:
    std::vector<std::pair<std::wstring, PropertyValue>> entries_;
};

// Keys compare without regard to case (ASCII letters).
bool SameKey(std::wstring_view a, std::wstring_view b) noexcept;

} // namespace vt

#include "system/reg_rules.h"

#include "system/errors.h"

#include <cmath>
#include <cwchar>

namespace vt {

std::wstring TrimNull(std::wstring_view text) {
    return std::wstring(text.substr(0, text.find(L'\0')));
}

std::wstring TrimBlanks(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) {
        return {};
    }
    return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

std::wstring StringValueText(std::wstring_view data) {
    return TrimNull(data);
}

std::wstring MultiStringValueText(std::wstring_view data, bool asLine) {
    if (!asLine) {
        return TrimNull(data);
    }
    std::wstring joined(data);
    for (wchar_t& c : joined) {
        if (c == L'\0') {
            c = L' ';
        }
    }
    return TrimBlanks(joined);
}

std::optional<double> NumberInText(std::wstring_view text) {
    const std::wstring trimmed = TrimBlanks(text);
    std::size_t at = 0;
    const auto digitsFrom = [&](std::size_t from) {
        std::size_t end = from;
        while (end < trimmed.size() && trimmed[end] >= L'0' && trimmed[end] <= L'9') {
            ++end;
        }
        return end - from;
    };
    if (at < trimmed.size() && (trimmed[at] == L'+' || trimmed[at] == L'-')) {
        ++at;
    }
    std::size_t mantissaDigits = digitsFrom(at);
    at += mantissaDigits;
    if (at < trimmed.size() && trimmed[at] == L'.') {
        ++at;
        const std::size_t fraction = digitsFrom(at);
        at += fraction;
        mantissaDigits += fraction;
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (at < trimmed.size() && (trimmed[at] == L'e' || trimmed[at] == L'E')) {
        ++at;
        if (at < trimmed.size() && (trimmed[at] == L'+' || trimmed[at] == L'-')) {
            ++at;
        }
        const std::size_t exponent = digitsFrom(at);
        if (exponent == 0) {
            return std::nullopt;
        }
        at += exponent;
    }
    if (at != trimmed.size()) {
        return std::nullopt;
    }
    // Only the characters checked above reach the conversion, so it reads all of them; a
    // huge exponent gives infinity, which the 32-bit conversion then refuses.
    return std::wcstod(trimmed.c_str(), nullptr);
}

std::int32_t ToLong(double value) {
    // The default rounding mode rounds halves to the even neighbour.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        Raise(kErrOverflow);
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace vt

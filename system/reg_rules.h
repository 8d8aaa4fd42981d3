// The registry module's text and number rules: how stored data becomes text, and how a value
// to write becomes a 32-bit number. Platform-neutral, so that they are checked natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vt {

// The text up to its first NUL character; the text unchanged when it holds none.
std::wstring TrimNull(std::wstring_view text);

// Leading and trailing blanks (spaces only) removed.
std::wstring TrimBlanks(std::wstring_view text);

// A string value's text: its data up to the first NUL. Data stored without a terminator is
// taken whole; no character of it is dropped.
std::wstring StringValueText(std::wstring_view data);

// A multi-string value's text: the first string alone, or (asLine) all of them joined by one
// blank each, with the blanks around the whole trimmed away.
std::wstring MultiStringValueText(std::wstring_view data, bool asLine);

// The number a text reads as, when it reads as one: blanks around it, an optional sign, digits
// with an optional decimal point, an optional exponent (1.5, -3, 2e3, " 42 "). Anything else
// (empty text, words, hexadecimal, "inf") is text and is stored as such.
std::optional<double> NumberInText(std::wstring_view text);

// A number as a signed 32-bit value: rounded to the nearest whole number, halves to the even
// neighbour (1.5 and 2.5 both give 2). Outside the 32-bit range raises error 6 (overflow).
std::int32_t ToLong(double value);

} // namespace vt

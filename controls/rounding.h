// Conversions to whole numbers as the controls' arithmetic makes them. Platform-neutral.
#pragma once

#include <cstdint>

namespace vt {

// The nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
double NearestEven(double value) noexcept;

// NearestEven as a 32-bit or 16-bit integer; a result outside the type raises Overflow (6).
std::int32_t ToLongNearest(double value);
std::int16_t ToIntegerNearest(double value);

// Exact 32-bit subtraction; a result outside the type raises Overflow (6).
std::int32_t CheckedSubtract(std::int32_t a, std::int32_t b);

} // namespace vt

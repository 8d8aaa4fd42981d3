#include "controls/rounding.h"

#include "system/errors.h"

#include <cmath>
#include <limits>

namespace vt {

double NearestEven(double value) noexcept {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction < 0.5) {
        return floor;
    }
    if (fraction > 0.5) {
        return floor + 1;
    }
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::int32_t ToLongNearest(double value) {
    const double whole = NearestEven(value);
    if (!(whole >= std::numeric_limits<std::int32_t>::min() &&
          whole <= std::numeric_limits<std::int32_t>::max())) {
        Raise(kErrOverflow);
    }
    return static_cast<std::int32_t>(whole);
}

std::int16_t ToIntegerNearest(double value) {
    const double whole = NearestEven(value);
    if (!(whole >= std::numeric_limits<std::int16_t>::min() &&
          whole <= std::numeric_limits<std::int16_t>::max())) {
        Raise(kErrOverflow);
    }
    return static_cast<std::int16_t>(whole);
}

std::int32_t CheckedSubtract(std::int32_t a, std::int32_t b) {
    const std::int64_t difference = static_cast<std::int64_t>(a) - b;
    if (difference < std::numeric_limits<std::int32_t>::min() ||
        difference > std::numeric_limits<std::int32_t>::max()) {
        Raise(kErrOverflow);
    }
    return static_cast<std::int32_t>(difference);
}

} // namespace vt

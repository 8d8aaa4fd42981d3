// Pictures resized for the display's scale.
#include "controls/resample.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

using Pixels = std::vector<std::uint32_t>;

TEST(ResizeSmooth, BlendsNeighboursInsteadOfRepeatingThem) {
    const struct {
        Pixels in;
        int width, height, toWidth, toHeight;
        Pixels out;
    } cases[] = {
        {Pixels(6, 0x336699), 3, 2, 4, 3, Pixels(12, 0x336699)},
        {{0xFF0000, 0x0000FF}, 2, 1, 4, 1, {0xFF0000, 0xBF0040, 0x4000BF, 0x0000FF}},
        {{0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}, 2, 2, 1, 1, {0x808080}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResizeSmooth(c.in, c.width, c.height, c.toWidth, c.toHeight), c.out);
    }
}

} // namespace
} // namespace vt

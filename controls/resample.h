// Pictures made larger or smaller for the display's scale with a smooth filter, so that a
// picture drawn for 96 dots per inch keeps its look at 120, 144 or 192. Platform-neutral.
#pragma once

#include <cstdint>
#include <vector>

namespace vt {

// `pixels` (0x00RRGGBB, rows top first, `width` x `height`) resized to `toWidth` x `toHeight`
// with a tent filter: bilinear when enlarging, an average of every covered pixel when reducing;
// edges repeat the border pixels. The same size gives the same pixels; an empty size, nothing.
std::vector<std::uint32_t> ResizeSmooth(const std::vector<std::uint32_t>& pixels, int width,
                                        int height, int toWidth, int toHeight);

} // namespace vt

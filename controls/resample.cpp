#include "controls/resample.h"

#include <algorithm>
#include <cmath>

namespace vt {

namespace {

struct Tap {
    int from;
    double weight;
};

// For each of `to` target positions, the source positions it is made of and their weights.
std::vector<std::vector<Tap>> Taps(int from, int to) {
    const double ratio = static_cast<double>(from) / to;
    const double radius = std::max(1.0, ratio);
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    for (int d = 0; d < to; ++d) {
        const double centre = (d + 0.5) * ratio - 0.5;
        double total = 0;
        for (int s = static_cast<int>(std::floor(centre - radius)) + 1; s < centre + radius; ++s) {
            const double weight = 1 - std::abs(s - centre) / radius;
            if (weight > 0) {
                taps[d].push_back({std::clamp(s, 0, from - 1), weight});
                total += weight;
            }
        }
        for (Tap& tap : taps[d]) {
            tap.weight /= total;
        }
    }
    return taps;
}

} // namespace

std::vector<std::uint32_t> ResizeSmooth(const std::vector<std::uint32_t>& pixels, int width,
                                        int height, int toWidth, int toHeight) {
    if (width <= 0 || height <= 0 || toWidth <= 0 || toHeight <= 0) {
        return {};
    }
    if (width == toWidth && height == toHeight) {
        return pixels;
    }
    // Across first, into three channels of doubles per pixel, then down.
    const auto across = Taps(width, toWidth);
    const auto down = Taps(height, toHeight);
    std::vector<double> rows(static_cast<std::size_t>(toWidth) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < toWidth; ++x) {
            double* out = &rows[(static_cast<std::size_t>(y) * toWidth + x) * 3];
            for (const Tap& tap : across[x]) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + tap.from];
                for (int c = 0; c < 3; ++c) {
                    out[c] += ((p >> (16 - 8 * c)) & 0xFF) * tap.weight;
                }
            }
        }
    }
    std::vector<std::uint32_t> result(static_cast<std::size_t>(toWidth) * toHeight);
    for (int y = 0; y < toHeight; ++y) {
        for (int x = 0; x < toWidth; ++x) {
            std::uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (const Tap& tap : down[y]) {
                    sum += rows[(static_cast<std::size_t>(tap.from) * toWidth + x) * 3 + c] *
                           tap.weight;
                }
                const auto channel =
                    static_cast<std::uint32_t>(std::lround(std::clamp(sum, 0.0, 255.0)));
                pixel |= channel << (16 - 8 * c);
            }
            result[static_cast<std::size_t>(y) * toWidth + x] = pixel;
        }
    }
    return result;
}

} // namespace vt

// Writes 24-bit RGB pictures as PNG files, without compression. Platform-neutral.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vt::test {

// `rgb` holds height rows of width pixels, three bytes (red, green, blue) each, top row first.
// An empty result means the picture was not one: a side of zero, or `rgb` of the wrong size.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

// The checksums PNG and zlib use, exposed so that a test can check them against known values.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size,
                    std::uint32_t previous = 0) noexcept;
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) noexcept;

} // namespace vt::test

#include "tests/support/png.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace vt::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t BigEndian32(const Bytes& bytes, std::size_t at) {
    return (std::uint32_t{bytes.at(at)} << 24) | (std::uint32_t{bytes.at(at + 1)} << 16) |
           (std::uint32_t{bytes.at(at + 2)} << 8) | std::uint32_t{bytes.at(at + 3)};
}

struct Chunk {
    std::string type;
    Bytes data;
    std::uint32_t storedCrc = 0;
    std::uint32_t computedCrc = 0;
};

// Splits a PNG file after its signature into chunks, as a reader walks it.
std::vector<Chunk> Chunks(const Bytes& png) {
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = BigEndian32(png, at);
        Chunk chunk;
        chunk.type.assign(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                          png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const auto data = png.begin() + static_cast<std::ptrdiff_t>(at + 8);
        chunk.data.assign(data, data + length);
        chunk.storedCrc = BigEndian32(png, at + 8 + length);
        chunk.computedCrc = Crc32(png.data() + at + 4, length + 4);
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size()) << "bytes left after the last chunk";
    return chunks;
}

// Inflates a zlib stream made only of stored blocks; nothing when it is not one or a check
// fails.
std::optional<Bytes> InflateStored(const Bytes& zlib, int* blocks = nullptr) {
    if (zlib.size() < 6 || (zlib[0] & 0x0F) != 8 || ((zlib[0] << 8) | zlib[1]) % 31 != 0 ||
        (zlib[1] & 0x20) != 0) {
        return std::nullopt;
    }
    Bytes out;
    std::size_t at = 2;
    int count = 0;
    for (bool last = false; !last; ++count) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06) != 0) {
            return std::nullopt;
        }
        last = (zlib[at] & 1) != 0;
        const unsigned len = zlib[at + 1] | (zlib[at + 2] << 8);
        const unsigned nlen = zlib[at + 3] | (zlib[at + 4] << 8);
        if ((len ^ nlen) != 0xFFFF || at + 5 + len > zlib.size()) {
            return std::nullopt;
        }
        out.insert(out.end(), zlib.begin() + static_cast<std::ptrdiff_t>(at + 5),
                   zlib.begin() + static_cast<std::ptrdiff_t>(at + 5 + len));
        at += 5 + len;
    }
    if (at + 4 != zlib.size() || BigEndian32(zlib, at) != Adler32(out.data(), out.size())) {
        return std::nullopt;
    }
    if (blocks) {
        *blocks = count;
    }
    return out;
}

Bytes Gradient(int width, int height) {
    Bytes rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x));
            rgb.push_back(static_cast<std::uint8_t>(y));
            rgb.push_back(static_cast<std::uint8_t>(x ^ y));
        }
    }
    return rgb;
}

Bytes FilteredRows(int width, int height, const Bytes& rgb) {
    Bytes rows;
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), rgb.begin() + static_cast<std::ptrdiff_t>(y * rowBytes),
                    rgb.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes));
    }
    return rows;
}

Bytes Ascii(const char* text) {
    return Bytes(text, text + std::strlen(text));
}

TEST(Checksums, MatchTheirPublishedCheckValues) {
    const Bytes digits = Ascii("123456789");
    EXPECT_EQ(Crc32(digits.data(), digits.size()), 0xCBF43926u);
    const Bytes iend = Ascii("IEND");
    EXPECT_EQ(Crc32(iend.data(), iend.size()), 0xAE426082u);
    // Feeding the data in two parts gives the same CRC as in one.
    EXPECT_EQ(Crc32(digits.data() + 4, 5, Crc32(digits.data(), 4)), 0xCBF43926u);

    const Bytes word = Ascii("Wikipedia");
    EXPECT_EQ(Adler32(word.data(), word.size()), 0x11E60398u);
    EXPECT_EQ(Adler32(nullptr, 0), 1u);
}

TEST(EncodePng, IsAValidPngWhoseDataInflatesToTheFilteredRows) {
    const struct {
        int width, height, storedBlocks;
    } pictures[] = {{1, 1, 1},
                    // 65535 bytes of rows exactly: one full block, no empty one after it.
                    {428, 51, 1},
                    {428, 52, 2}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(testing::Message() << picture.width << "x" << picture.height);
        const Bytes rgb = Gradient(picture.width, picture.height);
        const Bytes png = EncodePng(picture.width, picture.height, rgb);

        const Bytes signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        ASSERT_GE(png.size(), signature.size());
        EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));

        const std::vector<Chunk> chunks = Chunks(png);
        ASSERT_EQ(chunks.size(), 3u);
        for (const Chunk& chunk : chunks) {
            EXPECT_EQ(chunk.storedCrc, chunk.computedCrc) << chunk.type;
        }
        EXPECT_EQ(chunks[0].type + chunks[1].type + chunks[2].type, "IHDRIDATIEND");
        EXPECT_TRUE(chunks[2].data.empty());

        ASSERT_EQ(chunks[0].data.size(), 13u);
        EXPECT_EQ(BigEndian32(chunks[0].data, 0), static_cast<std::uint32_t>(picture.width));
        EXPECT_EQ(BigEndian32(chunks[0].data, 4), static_cast<std::uint32_t>(picture.height));
        EXPECT_EQ(Bytes(chunks[0].data.begin() + 8, chunks[0].data.end()), (Bytes{8, 2, 0, 0, 0}));

        int blocks = 0;
        const std::optional<Bytes> inflated = InflateStored(chunks[1].data, &blocks);
        ASSERT_TRUE(inflated.has_value());
        EXPECT_EQ(*inflated, FilteredRows(picture.width, picture.height, rgb));
        EXPECT_EQ(blocks, picture.storedBlocks);
    }
}

TEST(EncodePng, RefusesWhatIsNotAPicture) {
    EXPECT_TRUE(EncodePng(0, 1, {}).empty());
    EXPECT_TRUE(EncodePng(1, 0, {}).empty());
    EXPECT_TRUE(EncodePng(2, 2, Bytes(11)).empty());
    EXPECT_TRUE(EncodePng(2, 2, Bytes(13)).empty());
    EXPECT_FALSE(EncodePng(2, 2, Bytes(12)).empty());
}

} // namespace
} // namespace vt::test

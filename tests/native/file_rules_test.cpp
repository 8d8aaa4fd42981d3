#include "filesystem/file_rules.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(FormatSizeText, EveryBandEdgeWithEitherSeparator) {
    constexpr std::int64_t kMB = 1048576;
    constexpr std::int64_t kGB = 1073741824;
    constexpr std::int64_t kTB = 1099511627776;
    const struct {
        std::int64_t bytes;
        const wchar_t* point;
        const wchar_t* comma;
    } cases[] = {
        {0, L"0 bytes", L"0 bytes"},
        {1023, L"1023 bytes", L"1023 bytes"},
        {1024, L"1.0 KB", L"1,0 KB"},
        {1075, L"1.0 KB", L"1,0 KB"}, // 1.0498...
        {1076, L"1.1 KB", L"1,1 KB"}, // 1.0507...: half up
        {102399, L"100.0 KB", L"100,0 KB"},
        {102400, L"100 KB", L"100 KB"},
        {1023999, L"999 KB", L"999 KB"}, // the whole part, not rounded
        {1024000, L"1.0 MB", L"1,0 MB"},
        {100 * kMB - 1, L"100.0 MB", L"100,0 MB"},
        {100 * kMB, L"100 MB", L"100 MB"},
        {1000 * kMB - 1, L"999 MB", L"999 MB"},
        {1000 * kMB, L".98 GB", L",98 GB"}, // no digit before the separator below 1
        {5 * kGB, L"5.00 GB", L"5,00 GB"},
        {kTB - 1, L"1024.00 GB", L"1024,00 GB"},
        {kTB, L"1.00 TB", L"1,00 TB"},
        {kTB * 8000 + kTB / 100, L"8000.01 TB", L"8000,01 TB"}, // no overflow on the way
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(FormatSizeText(c.bytes, L"."), c.point);
        EXPECT_EQ(FormatSizeText(c.bytes, L","), c.comma);
    }
}

TEST(VersionText, ShowsTheBuildOnlyWhenItIsNotZero) {
    EXPECT_EQ(VersionText(0x00020000, 0x00000000), L"2.0");
    EXPECT_EQ(VersionText(0x00060001, 0x1DB04001), L"6.1.16385"); // 6.1.7600.16385
    EXPECT_EQ(VersionText(0x00010002, 0x00030004), L"1.2.4");
    EXPECT_EQ(VersionText(0xFFFFFFFF, 0xFFFF0000), L"65535.65535");
    EXPECT_EQ(TranslationBlockName(0x0409, 1252), L"040904E4");
    EXPECT_EQ(TranslationBlockName(0x0009, 0x00B0), L"000900B0");
}

TEST(DosSafeName, ReplacesOrRemovesWhatFileNamesCannotHold) {
    EXPECT_EQ(DosSafeName(L"Re: \"a\" <b>?.txt"), L"Re- 'a' [b].txt");
    EXPECT_EQ(DosSafeName(L"C:\\dir/a*b|c"), L"C-dira_bc");
    EXPECT_EQ(DosSafeName(L"plain name.txt"), L"plain name.txt");
}

TEST(SuffixedName, GoesBeforeTheLastDotOfTheWholeText) {
    EXPECT_EQ(SuffixedName(L"report.txt", L"a"), L"report_a.txt");
    EXPECT_EQ(SuffixedName(L"a.tar.gz", L"zz"), L"a.tar_zz.gz");
    EXPECT_EQ(SuffixedName(L"README", L"b"), L"README_b");
    EXPECT_EQ(SuffixedName(L"C:\\v1.2\\README", L"a"), L"C:\\v1_a.2\\README");
}

} // namespace
} // namespace vt

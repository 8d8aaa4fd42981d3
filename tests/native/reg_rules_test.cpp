#include "system/reg_rules.h"

#include "system/errors.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace vt {
namespace {

using namespace std::string_literals;

TEST(TrimNull, CutsAtTheFirstNulOnly) {
    EXPECT_EQ(TrimNull(L"abc\0def\0"s), L"abc");
    EXPECT_EQ(TrimNull(L"\0abc"s), L"");
    EXPECT_EQ(TrimNull(L"no terminator"), L"no terminator");
    // A string value's data need not be terminated: no character is lost.
    EXPECT_EQ(StringValueText(L"C:\\x"), L"C:\\x");
}

TEST(MultiStringValueText, FirstStringOrAllJoinedByBlanks) {
    const struct {
        std::wstring data, first, line;
    } cases[] = {
        {L"a\0b\0\0"s, L"a", L"a b"},
        // An empty string inside the list leaves two blanks in a row.
        {L"a\0\0b\0\0"s, L"a", L"a  b"},
        // Blanks before the first and after the last string are trimmed with the joints.
        {L"  a \0b  \0\0"s, L"  a ", L"a  b"},
        {L"\0\0"s, L"", L""},
        {L"only"s, L"only", L"only"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MultiStringValueText(c.data, false), c.first);
        EXPECT_EQ(MultiStringValueText(c.data, true), c.line);
    }
}

TEST(NumberInText, ReadsDecimalNumbersOnly) {
    const struct {
        const wchar_t* text;
        std::optional<double> number;
    } cases[] = {
        {L" 42 ", 42},
        {L"-7", -7},
        {L"+3", 3},
        {L".5", 0.5},
        {L"5.", 5},
        {L"1E-1", 0.1},
        {L"", std::nullopt},
        {L".", std::nullopt},
        {L"-", std::nullopt},
        {L"1e", std::nullopt},
        {L"12a", std::nullopt},
        {L"0x10", std::nullopt},
        {L"inf", std::nullopt},
        {L"nan", std::nullopt},
        {L"1 2", std::nullopt},
        {L"\"C:\\tool.exe\" /run", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberInText(c.text), c.number) << "text: " << testing::PrintToString(c.text);
    }
}

// std::nullopt: the value leaves 32 bits and raises Overflow.
TEST(ToLong, RoundsHalvesToEvenAndOverflowsOutside32Bits) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        std::optional<std::int32_t> result;
    } cases[] = {
        {1.5, 2},
        {2.5, 2},
        {-1.5, -2},
        {-2.5, -2},
        {0.4999, 0},
        {2.6, 3},
        {2147483647.4, 2147483647},
        {-2147483648.5, std::numeric_limits<std::int32_t>::min()},
        {2147483647.5, std::nullopt},
        {-2147483649.0, std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
        {kNan, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        try {
            EXPECT_EQ(ToLong(c.value), c.result);
        } catch (const RuntimeError& e) {
            EXPECT_FALSE(c.result.has_value()) << "raised " << e.info().number;
            EXPECT_EQ(e.info().number, kErrOverflow);
            EXPECT_EQ(e.info().description, L"Overflow");
        }
    }
}

} // namespace
} // namespace vt

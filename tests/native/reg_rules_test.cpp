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
    EXPECT_EQ(TrimNull(L""), L"");
}

TEST(StringValueText, UnterminatedDataLosesNoCharacter) {
    EXPECT_EQ(StringValueText(L"C:\\x\0"s), L"C:\\x");
    EXPECT_EQ(StringValueText(L"C:\\x"), L"C:\\x");
    EXPECT_EQ(StringValueText(L"a\0garbage"s), L"a");
}

TEST(MultiStringValueText, FirstStringOrAllJoinedByBlanks) {
    struct Case {
        std::wstring data;
        std::wstring first;
        std::wstring line;
    };
    const Case cases[] = {
        {L"a\0b\0\0"s, L"a", L"a b"},
        // An empty string inside the list leaves two blanks in a row.
        {L"a\0\0b\0\0"s, L"a", L"a  b"},
        // Blanks before the first and after the last string are trimmed with the joints.
        {L"  a \0b  \0\0"s, L"  a ", L"a  b"},
        {L"\0\0"s, L"", L""},
        {L"only"s, L"only", L"only"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MultiStringValueText(c.data, false), c.first);
        EXPECT_EQ(MultiStringValueText(c.data, true), c.line);
    }
}

TEST(NumberInText, ReadsDecimalNumbersOnly) {
    struct Case {
        const wchar_t* text;
        std::optional<double> number;
    };
    const Case cases[] = {
        {L"123", 123},
        {L" 42 ", 42},
        {L"-7", -7},
        {L"+3", 3},
        {L"1.5", 1.5},
        {L".5", 0.5},
        {L"5.", 5},
        {L"2e3", 2000},
        {L"1E-1", 0.1},
        {L"", std::nullopt},
        {L" ", std::nullopt},
        {L".", std::nullopt},
        {L"-", std::nullopt},
        {L"1e", std::nullopt},
        {L"12a", std::nullopt},
        {L"C:\\x", std::nullopt},
        {L"0x10", std::nullopt},
        {L"inf", std::nullopt},
        {L"nan", std::nullopt},
        {L"1 2", std::nullopt},
        {L"\"C:\\tool.exe\" /run", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NumberInText(c.text), c.number) << "text: " << testing::PrintToString(c.text);
    }
}

TEST(ToLong, RoundsHalvesToEven) {
    struct Case {
        double value;
        std::int32_t result;
    };
    const Case cases[] = {{1.5, 2},
                          {2.5, 2},
                          {3.5, 4},
                          {-1.5, -2},
                          {-2.5, -2},
                          {0.4999, 0},
                          {2.6, 3},
                          {-0.5, 0},
                          {123, 123},
                          {2147483647.0, 2147483647},
                          {2147483647.4, 2147483647},
                          {-2147483648.0, std::numeric_limits<std::int32_t>::min()},
                          {-2147483648.5, std::numeric_limits<std::int32_t>::min()}};
    for (const Case& c : cases) {
        EXPECT_EQ(ToLong(c.value), c.result) << "value: " << c.value;
    }
}

TEST(ToLong, OutsideTheRangeIsAnOverflow) {
    for (const double value :
         {2147483647.5, 2147483648.0, -2147483649.0, 1e300, std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        try {
            (void)ToLong(value);
            ADD_FAILURE() << "no error for " << value;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.info().number, kErrOverflow) << value;
            EXPECT_EQ(e.info().description, L"Overflow");
        }
    }
}

} // namespace
} // namespace vt

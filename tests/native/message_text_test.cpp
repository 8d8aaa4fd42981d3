#include "uninstall/message_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <vector>

namespace vt {
namespace {

TEST(FinishMessageText, BarsPlaceholdersAndTheirOrder) {
    const struct {
        const wchar_t* raw;
        const wchar_t* name;
        const wchar_t* text;
    } cases[] = {
        // Line breaks come from bars and only from bars.
        {L"a||b", L"", L"a\r\n\r\nb"},
        {L"no bar", L"", L"no bar"},
        {L"", L"x", L""},
        {L"Uninstall cannot begin.  %N is currently running. ||In order to continue, %N must be "
         L"closed. ||Terminate Now?",
         L"Brendix",
         L"Uninstall cannot begin.  Brendix is currently running. \r\n\r\nIn order to continue, "
         L"Brendix must be closed. \r\n\r\nTerminate Now?"},
        // %N matches its exact case only and needs a value; %APP matches any case.
        {L"%N and %n", L"X", L"X and %n"},
        {L"%N stays", L"", L"%N stays"},
        {L"%APP, %app, %aPp", L"", L"Veltrane, Veltrane, Veltrane"},
        // Substitutions come after the line breaks, and %N before %APP; the value is not
        // searched again for itself.
        {L"[%N]", L"a|b", L"[a|b]"},
        {L"[%N]", L"%app", L"[Veltrane]"},
        {L"%N", L"%N%N", L"%N%N"},
        // Partial placeholders are left alone.
        {L"%AP %", L"", L"%AP %"},
        {L"%%APPP", L"", L"%VeltraneP"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FinishMessageText(c.raw, c.name), c.text) << testing::PrintToString(c.raw);
    }
}

// A string table block: 16 entries, each a length and that many units.
std::vector<std::uint16_t> Block(const std::vector<std::u16string>& entries) {
    std::vector<std::uint16_t> block;
    for (const auto& entry : entries) {
        block.push_back(static_cast<std::uint16_t>(entry.size()));
        block.insert(block.end(), entry.begin(), entry.end());
    }
    return block;
}

TEST(StringFromBlock, FindsEntriesByIndexAndReadsNothingBeyond) {
    std::vector<std::u16string> entries(16);
    entries[12] = u"Uninstaller";
    entries[15] = u"Last";
    const auto block = Block(entries);
    EXPECT_EQ(StringFromBlock(block, 12), L"Uninstaller");
    EXPECT_EQ(StringFromBlock(block, 15), L"Last");
    EXPECT_EQ(StringFromBlock(block, 0), std::nullopt);
    EXPECT_EQ(StringFromBlock(block, 16), std::nullopt);

    auto truncated = Block({u"ab", u"cd"});
    EXPECT_EQ(StringFromBlock(truncated, 1), L"cd");
    EXPECT_EQ(StringFromBlock(truncated, 2), std::nullopt);
    truncated[0] = 500; // claims more units than there are
    EXPECT_EQ(StringFromBlock(truncated, 0), std::nullopt);
    EXPECT_EQ(StringFromBlock(std::span<const std::uint16_t>{}, 0), std::nullopt);
}

TEST(StringBlockOf, MessageNumbersLandInTheirBlocks) {
    EXPECT_EQ(StringBlockOf(3900), 244u);
    EXPECT_EQ(StringBlockOf(3903), 244u);
    EXPECT_EQ(StringBlockOf(3904), 245u);
}

// Every language component's text file against the built-in message table.
// Each text of a resource script's string table, by identifier, as the marks it holds ("|",
// "%N", "%APP", in any order: a translation may place them differently); an empty text holds
// the mark "empty".
std::map<std::string, std::multiset<std::string>> Marks(const std::filesystem::path& script) {
    std::ifstream file(script);
    const std::regex entry(R"re(^\s*(IDS_\w+)\s+"(.*)"\s*$)re");
    const std::regex mark(R"(\||%N|%APP)");
    std::map<std::string, std::multiset<std::string>> marks;
    std::smatch match;
    for (std::string line; std::getline(file, line);) {
        if (std::regex_match(line, match, entry)) {
            const std::string text = match[2];
            auto& found = marks[match[1]];
            found.insert(std::sregex_token_iterator(text.begin(), text.end(), mark), {});
            if (text.empty()) {
                found.insert("empty");
            }
        }
    }
    return marks;
}

TEST(LanguageTexts, EveryLanguageHasEveryTextWithItsMarks) {
    const std::filesystem::path source = VT_SOURCE_DIR;
    const auto english = Marks(source / "resources" / "unins000.rc");
    ASSERT_EQ(english.size(), 13u);
    for (const auto& texts : std::filesystem::directory_iterator(source / "language" / "texts")) {
        EXPECT_EQ(Marks(texts.path()), english) << texts.path();
    }
}

} // namespace
} // namespace vt

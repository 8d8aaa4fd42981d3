// The language components' side of the message texts: which component versions the
// uninstaller takes, and that every component's table matches the built-in one.
#include "system/errors.h"
#include "uninstall/message_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

namespace vt {
namespace {

TEST(ComponentVersionNumber, IsTheFirstCharacterOfTheVersionText) {
    EXPECT_EQ(ComponentVersionNumber(L"15.2.3"), 1);
    EXPECT_EQ(ComponentVersionNumber(L"2.0"), 2);
    EXPECT_THROW(ComponentVersionNumber(L""), RuntimeError);
    EXPECT_THROW(ComponentVersionNumber(L"v1.0"), RuntimeError);
}

// The entries of a resource script's string table, by identifier.
std::map<std::string, std::string> StringTable(const std::filesystem::path& script) {
    std::ifstream file(script);
    const std::regex entry(R"re(^\s*(IDS_\w+)\s+"(.*)"\s*$)re");
    std::map<std::string, std::string> table;
    std::smatch match;
    for (std::string line; std::getline(file, line);) {
        if (std::regex_match(line, match, entry)) {
            table[match[1]] = match[2];
        }
    }
    return table;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// Every language has a text for every number of the built-in table, with its line breaks and
// placeholders.
TEST(LanguageTexts, EveryComponentHasEveryMessageWithItsPlaceholders) {
    const std::filesystem::path source = VT_SOURCE_DIR;
    const auto english = StringTable(source / "resources" / "unins000.rc");
    ASSERT_EQ(english.size(), 13u);
    int languages = 0;
    for (const auto& texts : std::filesystem::directory_iterator(source / "language" / "texts")) {
        SCOPED_TRACE(texts.path().filename().string());
        ++languages;
        const auto translated = StringTable(texts.path());
        EXPECT_EQ(translated.size(), english.size());
        for (const auto& [id, text] : english) {
            SCOPED_TRACE(id);
            ASSERT_TRUE(translated.count(id));
            EXPECT_NE(translated.at(id), "");
            for (const char* mark : {"|", "%N", "%APP"}) {
                EXPECT_EQ(Count(translated.at(id), mark), Count(text, mark)) << mark;
            }
        }
    }
    EXPECT_GE(languages, 1) << "German at least";
}

} // namespace
} // namespace vt

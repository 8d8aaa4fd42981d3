#include "uninstall/message_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace vt {
namespace {

TEST(FinishMessageText, LineBreaksComeFromBarsAndOnlyFromBars) {
    EXPECT_EQ(FinishMessageText(L"one|two", L""), L"one\r\ntwo");
    EXPECT_EQ(FinishMessageText(L"a||b", L""), L"a\r\n\r\nb");
    EXPECT_EQ(FinishMessageText(L"|", L""), L"\r\n");
    EXPECT_EQ(FinishMessageText(L"no bar", L""), L"no bar");
    EXPECT_EQ(FinishMessageText(L"", L"x"), L"");
}

TEST(FinishMessageText, ProductRunningMessageNamesTheProgramTwiceInThreeParagraphs) {
    const std::wstring raw = L"Uninstall cannot begin.  %N is currently running. ||In order to "
                             L"continue, %N must be closed. ||Terminate Now?";
    EXPECT_EQ(FinishMessageText(raw, L"Brendix"),
              L"Uninstall cannot begin.  Brendix is currently running. \r\n\r\nIn order to "
              L"continue, Brendix must be closed. \r\n\r\nTerminate Now?");
}

TEST(FinishMessageText, PercentNMatchesExactCaseAndNeedsAValue) {
    EXPECT_EQ(FinishMessageText(L"%N and %n", L"X"), L"X and %n");
    EXPECT_EQ(FinishMessageText(L"%N stays", L""), L"%N stays");
}

TEST(FinishMessageText, PercentAppMatchesAnyCase) {
    EXPECT_EQ(FinishMessageText(L"%APP, %app, %App, %aPp", L""),
              L"Veltrane, Veltrane, Veltrane, Veltrane");
    EXPECT_EQ(FinishMessageText(L"%APP was successfully removed from your computer.", L""),
              L"Veltrane was successfully removed from your computer.");
}

TEST(FinishMessageText, SubstitutionsFollowLineBreaksAndNComesBeforeApp) {
    // A bar inside the value stays a bar; a placeholder inside the value is filled.
    EXPECT_EQ(FinishMessageText(L"[%N]", L"a|b"), L"[a|b]");
    EXPECT_EQ(FinishMessageText(L"[%N]", L"%app"), L"[Veltrane]");
    // The value is not searched again for itself.
    EXPECT_EQ(FinishMessageText(L"%N", L"%N%N"), L"%N%N");
    EXPECT_EQ(FinishMessageText(L"%APP%APP", L""), L"VeltraneVeltrane");
}

TEST(FinishMessageText, PartialPlaceholdersAreLeftAlone) {
    EXPECT_EQ(FinishMessageText(L"%AP %", L""), L"%AP %");
    EXPECT_EQ(FinishMessageText(L"%%APPP", L""), L"%VeltraneP");
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

TEST(StringFromBlock, FindsEntriesByIndexAndReportsAbsentOnes) {
    std::vector<std::u16string> entries(16);
    entries[12] = u"Uninstaller";
    entries[15] = u"Last";
    const auto block = Block(entries);
    EXPECT_EQ(StringFromBlock(block, 12), L"Uninstaller");
    EXPECT_EQ(StringFromBlock(block, 15), L"Last");
    EXPECT_EQ(StringFromBlock(block, 0), std::nullopt);
    EXPECT_EQ(StringFromBlock(block, 16), std::nullopt);
}

TEST(StringFromBlock, TruncatedOrLyingBlocksGiveNothingAndReadNothingBeyond) {
    auto block = Block({u"ab", u"cd"});
    EXPECT_EQ(StringFromBlock(block, 1), L"cd");
    EXPECT_EQ(StringFromBlock(block, 2), std::nullopt);
    block[0] = 500; // claims more units than there are
    EXPECT_EQ(StringFromBlock(block, 0), std::nullopt);
    EXPECT_EQ(StringFromBlock(std::span<const std::uint16_t>{}, 0), std::nullopt);
}

TEST(StringBlockOf, MessageNumbersLandInTheirBlocks) {
    EXPECT_EQ(StringBlockOf(3900), 244u);
    EXPECT_EQ(3900 % 16, 12);
    EXPECT_EQ(StringBlockOf(3903), 244u);
    EXPECT_EQ(StringBlockOf(3904), 245u);
    EXPECT_EQ(StringBlockOf(3922), 246u);
}

} // namespace
} // namespace vt

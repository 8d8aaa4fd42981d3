#include "uninstall/form1_rules.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(AddBackslash, AppendsExactlyOneWhereMissing) {
    EXPECT_EQ(AddBackslash(L"C:\\Program Files\\Veltrane"), L"C:\\Program Files\\Veltrane\\");
    EXPECT_EQ(AddBackslash(L"C:\\"), L"C:\\");
    EXPECT_EQ(AddBackslash(L""), L"\\");
}

TEST(GetFileName, SplitsAtTheLastBackslashOrGivesTheWholePath) {
    const struct {
        const wchar_t* path;
        bool name;
        const wchar_t* part;
    } cases[] = {
        {L"C:\\A\\b.txt", true, L"b.txt"},
        {L"C:\\A\\b.txt", false, L"C:\\A\\"},
        {L"C:\\A\\", true, L"C:\\A\\"},
        {L"b.txt", true, L"b.txt"},
        {L"b.txt", false, L"b.txt"},
        {L"", true, L""},
        {L"\\", true, L"\\"},
        {L"\\", false, L"\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetFileName(c.path, c.name), c.part) << testing::PrintToString(c.path);
    }
}

TEST(RemovalPlaces, TheProgramsFolderAndTheLogDriveAreFullPathsOrNothing) {
    const struct {
        const wchar_t* path;
        std::optional<std::wstring> programs;
        std::optional<std::wstring> drive;
    } cases[] = {
        {L"C:\\ProgramData\\Start Menu\\Programs\\StartUp",
         L"C:\\ProgramData\\Start Menu\\Programs\\", L"C:\\"},
        {L"\\\\server\\share\\StartUp", L"\\\\server\\share\\", std::nullopt},
        {L"\\\\?\\D:\\Tools\\Veltrane", std::nullopt, L"D:\\"},
        // A drive's root, a folder directly under it, a relative path: no programs folder, so
        // that no group name is joined to "C:" and resolved against the current folder.
        {L"C:\\", std::nullopt, L"C:\\"},
        {L"C:\\StartUp\\", std::nullopt, L"C:\\"},
        {L"C:\\StartUp", std::nullopt, L"C:\\"},
        {L"StartUp", std::nullopt, std::nullopt},
        {L"C:StartUp", std::nullopt, std::nullopt},
        {L"", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartMenuProgramsFolder(c.path), c.programs) << testing::PrintToString(c.path);
        EXPECT_EQ(LogDrivePrefix(c.path), c.drive) << testing::PrintToString(c.path);
    }
}

TEST(ArgumentString, DropsTheProgramNameAndTheBlanksAfterIt) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"\"C:\\Program Files\\Veltrane\\unins000.exe\" silent", L"silent"},
        {L"unins000.exe \t silent", L"silent"},
        {L"\"C:\\x y\\unins000.exe\"", L""},
        {L"unins000.exe", L""},
        {L"", L""},
        // What follows the program name stays untouched.
        {L"unins000.exe silent ", L"silent "},
        {L"unins000.exe \"silent\"", L"\"silent\""},
        // An unclosed quote takes the whole line as the program name.
        {L"\"C:\\x\\unins000.exe silent", L""},
        // A quote that closes inside a word: the name runs to the next blank.
        {L"\"C:\\x\"y.exe silent", L"silent"},
    };
    for (const auto& [line, arguments] : cases) {
        EXPECT_EQ(ArgumentString(line), arguments) << testing::PrintToString(line);
    }
}

TEST(IsSilentArgument, OnlyTheExactWordIsSilent) {
    EXPECT_TRUE(IsSilentArgument(L"silent"));
    for (const wchar_t* other : {L"SILENT", L"Silent", L"/silent", L"-silent", L" silent",
                                 L"silent ", L"silent x", L"\"silent\"", L""}) {
        EXPECT_FALSE(IsSilentArgument(other)) << other;
    }
}

TEST(ErrorBoxText, ShowsDescriptionNumberSourceAndLine) {
    EXPECT_EQ(ErrorBoxText({6, L"Overflow", L"VT_Uninstall", 14}),
              L"An error has been detected:\r\n\r\nErr Description: Overflow"
              L"\r\nErr No: 6\r\nErr Source: VT_Uninstall : Form_Load : 14");
    // An unknown line is 0; negative numbers show their sign.
    EXPECT_EQ(ErrorBoxText({-2147221005, L"Invalid class string", L"", 0}),
              L"An error has been detected:\r\n\r\nErr Description: Invalid "
              L"class string\r\nErr No: -2147221005\r\nErr Source:  : Form_Load : 0");
}

TEST(ExitCodeFor, DeploymentToolsReadTheOutcome) {
    EXPECT_EQ(ExitCodeFor(RunOutcome::Finished), 0);
    EXPECT_EQ(ExitCodeFor(RunOutcome::Declined), 1602);
    EXPECT_EQ(ExitCodeFor(RunOutcome::Failed), 1603);
    EXPECT_EQ(ExitCodeFor(RunOutcome::AlreadyRunning), 1618);
    EXPECT_EQ(ExitCodeFor(RunOutcome::FinishedRestartOwed), 3010);
}

} // namespace
} // namespace vt

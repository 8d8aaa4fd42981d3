#include "uninstall/form1_rules.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(AddBackslash, AppendsExactlyOneWhereMissing) {
    EXPECT_EQ(AddBackslash(L"C:\\Program Files\\Veltrane"), L"C:\\Program Files\\Veltrane\\");
    EXPECT_EQ(AddBackslash(L"C:\\Program Files\\Veltrane\\"), L"C:\\Program Files\\Veltrane\\");
    EXPECT_EQ(AddBackslash(L"C:\\"), L"C:\\");
    EXPECT_EQ(AddBackslash(L""), L"\\");
    EXPECT_EQ(AddBackslash(L"a\\\\"), L"a\\\\");
}

TEST(GetFileName, SplitsAtTheLastBackslash) {
    EXPECT_EQ(GetFileName(L"C:\\A\\b.txt", true), L"b.txt");
    EXPECT_EQ(GetFileName(L"C:\\A\\b.txt", false), L"C:\\A\\");
    EXPECT_EQ(GetFileName(L"C:\\Program Files\\Veltrane", false), L"C:\\Program Files\\");
}

TEST(GetFileName, AnEmptyPartGivesTheWholePath) {
    EXPECT_EQ(GetFileName(L"C:\\A\\", true), L"C:\\A\\");
    EXPECT_EQ(GetFileName(L"b.txt", true), L"b.txt");
    EXPECT_EQ(GetFileName(L"b.txt", false), L"b.txt");
    EXPECT_EQ(GetFileName(L"", true), L"");
    EXPECT_EQ(GetFileName(L"\\", true), L"\\");
    EXPECT_EQ(GetFileName(L"\\", false), L"\\");
}

TEST(ArgumentString, DropsTheProgramNameAndTheBlanksAfterIt) {
    EXPECT_EQ(ArgumentString(L"\"C:\\Program Files\\Veltrane\\unins000.exe\" silent"), L"silent");
    EXPECT_EQ(ArgumentString(L"unins000.exe silent"), L"silent");
    EXPECT_EQ(ArgumentString(L"unins000.exe \t silent"), L"silent");
    EXPECT_EQ(ArgumentString(L"\"C:\\x y\\unins000.exe\""), L"");
    EXPECT_EQ(ArgumentString(L"unins000.exe"), L"");
    EXPECT_EQ(ArgumentString(L""), L"");
}

TEST(ArgumentString, KeepsWhatFollowsTheArgumentsUntouched) {
    EXPECT_EQ(ArgumentString(L"unins000.exe silent "), L"silent ");
    EXPECT_EQ(ArgumentString(L"unins000.exe \"silent\""), L"\"silent\"");
    // An unclosed quote takes the whole line as the program name.
    EXPECT_EQ(ArgumentString(L"\"C:\\x\\unins000.exe silent"), L"");
    // A quote that closes inside a word: the name runs to the next blank.
    EXPECT_EQ(ArgumentString(L"\"C:\\x\"y.exe silent"), L"silent");
}

TEST(IsSilentArgument, OnlyTheExactWordIsSilent) {
    EXPECT_TRUE(IsSilentArgument(L"silent"));
    for (const wchar_t* other : {L"SILENT", L"Silent", L"/silent", L"-silent", L" silent",
                                 L"silent ", L"silent x", L"\"silent\"", L""}) {
        EXPECT_FALSE(IsSilentArgument(other)) << other;
    }
}

TEST(ErrorBoxText, ShowsDescriptionNumberSourceAndLine) {
    const ErrorInfo error{6, L"Overflow", L"VT_Uninstall", 14};
    EXPECT_EQ(ErrorBoxText(error), L"An error has been detected:\r\n\r\nErr Description: Overflow"
                                   L"\r\nErr No: 6\r\nErr Source: VT_Uninstall : Form_Load : 14");
}

TEST(ErrorBoxText, UnknownLineIsZeroAndNegativeNumbersShowTheirSign) {
    const ErrorInfo error{-2147221005, L"Invalid class string", L"", 0};
    EXPECT_EQ(ErrorBoxText(error), L"An error has been detected:\r\n\r\nErr Description: Invalid "
                                   L"class string\r\nErr No: -2147221005\r\nErr Source:  : "
                                   L"Form_Load : 0");
}

TEST(ExitCodeFor, DeploymentToolsReadTheOutcome) {
    EXPECT_EQ(ExitCodeFor(RunOutcome::Finished), 0);
    EXPECT_EQ(ExitCodeFor(RunOutcome::Declined), 1602);
    EXPECT_EQ(ExitCodeFor(RunOutcome::Failed), 1603);
}

} // namespace
} // namespace vt

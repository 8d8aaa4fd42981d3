// Paths, names and registry texts: what the file, folder and registry services make of text.
#include "filesystem/file_rules.h"
#include "filesystem/path_rules.h"
#include "system/reg_rules.h"
#include "uninstall/form1_rules.h"
#include "uninstall/settings_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace vt {
namespace {

using namespace std::string_literals;

TEST(PathRules, NamesAndTexts) {
    const struct {
        std::wstring got, want;
    } rows[] = {
        {CorrectPath(L"C:\\Data"), L"C:\\Data\\"},
        {CorrectPath(L"C:\\Data\\"), L"C:\\Data\\"},
        {AddBackslash(L""), L"\\"},
        {SearchPattern(L".dll"), L"*.dll*"},
        {SearchPattern(L"."), L"*.*"},
        {CutBeforeLastBackslash(L"C:\\missing\\file.txt"), L"C:\\missing"},
        {CutBeforeLastBackslash(L"file.txt"), L"file.txt"},
        {GetFileName(L"C:\\A\\b.txt", true), L"b.txt"},
        {GetFileName(L"C:\\A\\b.txt", false), L"C:\\A\\"},
        {GetFileName(L"C:\\A\\", true), L"C:\\A\\"}, // an empty part gives the whole path
        {GetFileName(L"b.txt", false), L"b.txt"},
        {NextLetterSuffix(L""), L"a"},
        {NextLetterSuffix(L"y"), L"z"},
        {NextLetterSuffix(L"az"), L"ba"},
        {NextLetterSuffix(L"zz"), L"aaa"},
        {DosSafeName(L"Re: \"a\" <b>?.txt"), L"Re- 'a' [b].txt"},
        {DosSafeName(L"C:\\dir/a*b|c"), L"C-dira_bc"},
        {SuffixedName(L"C:\\v1.2\\README", L"a"), L"C:\\v1_a.2\\README"},
        {SuffixedName(L"README", L"aa"), L"README_aa"},
        {VersionText(0x00020000, 0x00000000), L"2.0"},
        {VersionText(0x00060001, 0x1DB04001), L"6.1.16385"}, // 6.1.7600.16385
        {TranslationBlockName(0x0409, 1252), L"040904E4"},
        {DriveNotReadyText(L"E:\\Setup\\a.dll"), L"E: Drive not ready"},
        // Below either reference folder, shortened; a reference compares without case.
        {AbbreviateFolder(L"c:\\program files\\Veltrane", L"C:\\Program Files", L"D:\\Common"),
         L"c:\\...\\program files\\Veltrane"},
        {AbbreviateFolder(L"D:\\Common\\Tools", L"C:\\Program Files", L"D:\\Common"),
         L"D:\\...\\Shared Common\\Tools"},
        {AbbreviateFolder(L"E:\\Data", L"", L""), L"E:\\Data"},
        // A string value's data need not be terminated; a list's strings join with blanks.
        {StringValueText(L"abc\0def\0"s), L"abc"},
        {StringValueText(L"C:\\x"), L"C:\\x"},
        {MultiStringValueText(L"  a \0b  \0\0"s, false), L"  a "},
        {MultiStringValueText(L"  a \0\0b  \0\0"s, true), L"a   b"},
        // A start-up entry's name: without its tag and every blank, but nothing else.
        {StartUpEntryName(L"HKLM: Some  App "), L"SomeApp"},
        {StartUpEntryName(L"STAR:a\tb"), L"a\tb"},
        {StartUpEntryName(L"HKCU:"), L""},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(rows[i].got, rows[i].want) << "row " << i;
    }
}

// What the shell's file operation may be handed: one place, named in full.
TEST(PathRules, OnlyFullPathsWithoutWildcardsNameOnePlace) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"C:\\Program Files\\Veltrane\\a.dll", true},
        {L"c:\\x", true},
        {L"\\\\server\\share\\a.txt", true},
        {L"C:\\Veltrane\\*.dll", false},
        {L"C:\\Veltrane\\a?.dll", false},
        {L"C:\\", false},
        {L"C:", false},
        {L"C:a.dll", false},
        {L".\\a.dll", false},
        {L"\\Veltrane\\a.dll", false},
        {L"\\\\server", false},
        {L"\\\\\\a", false},
    };
    for (const auto& [path, accepted] : cases) {
        EXPECT_EQ(NamesOneExactPlace(path), accepted) << testing::PrintToString(path);
    }
}

// The Start menu's programs folder and the drive of the log's paths: full paths or nothing,
// so that no group name is joined to "C:" and resolved against the current folder.
TEST(PathRules, RemovalPlacesAreFullPathsOrNothing) {
    const struct {
        const wchar_t* path;
        std::optional<std::wstring> programs, drive;
    } cases[] = {
        {L"C:\\ProgramData\\Start Menu\\Programs\\StartUp",
         L"C:\\ProgramData\\Start Menu\\Programs\\", L"C:\\"},
        {L"\\\\server\\share\\StartUp", L"\\\\server\\share\\", std::nullopt},
        {L"\\\\?\\D:\\Tools\\Veltrane", std::nullopt, L"D:\\"},
        {L"C:\\StartUp\\", std::nullopt, L"C:\\"},
        {L"C:\\StartUp", std::nullopt, L"C:\\"},
        {L"C:StartUp", std::nullopt, std::nullopt},
        {L"", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartMenuProgramsFolder(c.path), c.programs) << testing::PrintToString(c.path);
        EXPECT_EQ(LogDrivePrefix(c.path), c.drive) << testing::PrintToString(c.path);
    }
}

TEST(PathRules, AttributeErrorsPassAskOrRaiseWithTheirMessages) {
    using enum PathCheckDecision::Action;
    const struct {
        long error;
        PathCheckKind kind;
        PathCheckDecision::Action action;
        std::wstring description;
    } cases[] = {
        {0, PathCheckKind::File, Pass, L""},
        {53, PathCheckKind::File, Pass, L""}, // a destination not there yet
        {5, PathCheckKind::File, AskDiskError, L""},
        {52, PathCheckKind::File, Raise, L"'E:\\Missing\\file.txt' is not a valid file name."},
        {52, PathCheckKind::Folder, Raise, L"'E:\\Missing\\file.txt' not a valid path"},
        // A file names the folder that is missing; a folder names itself.
        {76, PathCheckKind::File, Raise, L"'E:\\Missing' not a valid path"},
        {76, PathCheckKind::Folder, Raise, L"'E:\\Missing\\file.txt' not a valid path"},
        {70, PathCheckKind::Folder, Raise, L"Permission denied"},
    };
    for (const auto& c : cases) {
        const PathCheckDecision decision =
            DecidePathCheck(c.error, L"E:\\Missing\\file.txt", c.kind);
        EXPECT_EQ(decision.action, c.action) << c.error;
        EXPECT_EQ(decision.number, c.action == Raise ? c.error : 0) << c.error;
        EXPECT_EQ(decision.description, c.description) << c.error;
    }
}

TEST(PathRules, DiskErrorRetriesUntilTheDriveAnswersCancelRaises) {
    const struct {
        std::vector<long> errors; // the attribute query's, in turn; 0 after them
        std::vector<bool> retries;
        long raised;
        std::wstring description;
    } cases[] = {
        {{5, 5, 0}, {true, true}, 0, L""},
        {{5, 5}, {true, false}, 71, L"Disk not ready"},
        {{5, 76}, {true}, 76, L"'E:\\Setup' not a valid path"}, // the retry finds no folder
    };
    for (const auto& c : cases) {
        std::size_t queries = 0, boxes = 0, waits = 0;
        ErrorInfo raised;
        try {
            RunPathCheck(
                L"E:\\Setup\\a.dll", PathCheckKind::File,
                [&](const std::wstring&) {
                    return queries < c.errors.size() ? c.errors[queries++] : 0L;
                },
                [&](const std::wstring& text) {
                    EXPECT_EQ(text, L"E: Drive not ready");
                    return c.retries.at(boxes++);
                },
                [&] { ++waits; });
        } catch (const RuntimeError& e) {
            raised = e.info();
        }
        EXPECT_EQ(raised.number, c.raised);
        EXPECT_EQ(raised.description, c.description);
        EXPECT_EQ(boxes, c.retries.size());
        EXPECT_EQ(waits,
                  static_cast<std::size_t>(std::count(c.retries.begin(), c.retries.end(), true)));
        EXPECT_EQ(queries, c.errors.size());
    }
}

TEST(PathRules, SizesAtEveryBandEdgeWithEitherSeparator) {
    constexpr std::int64_t kMB = 1048576, kTB = 1099511627776;
    const std::pair<std::int64_t, std::wstring> cases[] = {
        {1023, L"1023 bytes"},   {1024, L"1.0 KB"},
        {1076, L"1.1 KB"},       {102400, L"100 KB"},      // 1.0507: half up
        {1023999, L"999 KB"},    {1024000, L"1.0 MB"},     // the whole part, not rounded
        {1000 * kMB, L".98 GB"}, {kTB - 1, L"1024.00 GB"}, // no digit before a separator below 1
        {kTB, L"1.00 TB"},       {kTB * 8000 + kTB / 100, L"8000.01 TB"}, // no overflow
    };
    for (const auto& [bytes, text] : cases) {
        std::wstring comma = text;
        std::replace(comma.begin(), comma.end(), L'.', L',');
        EXPECT_EQ(FormatSizeText(bytes, L"."), text);
        EXPECT_EQ(FormatSizeText(bytes, L","), comma);
    }
}

TEST(RegistryText, NumbersAreDecimalOnlyAndRoundHalvesToEvenWithin32Bits) {
    const std::pair<const wchar_t*, std::optional<double>> texts[] = {
        {L" 42 ", 42},          {L"-7", -7},
        {L".5", 0.5},           {L"5.", 5},
        {L"1E-1", 0.1},         {L"", std::nullopt},
        {L".", std::nullopt},   {L"1e", std::nullopt},
        {L"12a", std::nullopt}, {L"0x10", std::nullopt},
        {L"inf", std::nullopt}, {L"1 2", std::nullopt},
    };
    for (const auto& [text, number] : texts) {
        EXPECT_EQ(NumberInText(text), number) << testing::PrintToString(text);
    }
    // Nothing: the value leaves 32 bits and raises Overflow.
    const std::pair<double, std::optional<std::int32_t>> values[] = {
        {2.5, 2},
        {-2.5, -2},
        {-1.5, -2},
        {2.6, 3},
        {2147483647.4, 2147483647},
        {-2147483648.5, std::numeric_limits<std::int32_t>::min()},
        {2147483647.5, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
    };
    for (const auto& [value, result] : values) {
        std::optional<std::int32_t> got;
        try {
            got = ToLong(value);
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.info().number, kErrOverflow);
        }
        EXPECT_EQ(got, result) << value;
    }
}

TEST(StartUpEntries, TheTagNamesTheList) {
    const struct {
        const wchar_t* name;
        std::optional<RegRoot> root;
        std::wstring key;
    } cases[] = {
        {L"hklm:Some App", kHkeyLocalMachine, kMachineRunKey},
        {L"hKcU:", kHkeyCurrentUser, kUserRunKey},
        {L"star:x", kHkeyCurrentUser, kUserRunKey},
        {L"HKCR:Tool", std::nullopt, L""},
        {L"HKCU", std::nullopt, L""},
        {L" HKCU:Tool", std::nullopt, L""},
    };
    for (const auto& c : cases) {
        const std::optional<StartUpList> list = StartUpListFor(c.name);
        EXPECT_EQ(list ? std::optional(list->root) : std::nullopt, c.root) << c.name;
        EXPECT_EQ(list ? list->key : L"", c.key) << c.name;
    }
}

} // namespace
} // namespace vt

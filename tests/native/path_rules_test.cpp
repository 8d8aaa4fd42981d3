#include "filesystem/file_rules.h"
#include "filesystem/path_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vt {
namespace {

TEST(CorrectPath, AppendsOneBackslashWhereMissing) {
    EXPECT_EQ(CorrectPath(L"C:\\Data"), L"C:\\Data\\");
    EXPECT_EQ(CorrectPath(L"C:\\Data\\"), L"C:\\Data\\");
    EXPECT_EQ(CorrectPath(L""), L"\\");
}

TEST(SearchPattern, PutsTheFileTypeBetweenAsterisks) {
    EXPECT_EQ(SearchPattern(L"."), L"*.*");
    EXPECT_EQ(SearchPattern(L""), L"**");
    EXPECT_EQ(SearchPattern(L".dll"), L"*.dll*");
}

TEST(CutBeforeLastBackslash, KeepsTheFolder) {
    EXPECT_EQ(CutBeforeLastBackslash(L"C:\\missing\\file.txt"), L"C:\\missing");
    EXPECT_EQ(CutBeforeLastBackslash(L"C:\\missing\\"), L"C:\\missing");
    EXPECT_EQ(CutBeforeLastBackslash(L"file.txt"), L"file.txt");
}

// What the shell's file operation may be handed: one place, named in full.
TEST(NamesOneExactPlace, OnlyFullPathsWithoutWildcards) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"C:\\Program Files\\Veltrane\\a.dll", true},
        {L"c:\\x", true},
        {L"\\\\server\\share\\a.txt", true},
        {L"C:\\Veltrane\\*.dll", false},
        {L"C:\\Veltrane\\a?.dll", false},
        {L"C:\\", false}, // a whole drive
        {L"C:", false},   // the drive's current folder
        {L"C:a.dll", false},
        {L"a.dll", false},
        {L".\\a.dll", false},
        {L"\\Veltrane\\a.dll", false}, // the current drive's root
        {L"\\\\server", false},
        {L"\\\\\\a", false},
        {L"", false},
    };
    for (const auto& [path, accepted] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(path)));
        EXPECT_EQ(NamesOneExactPlace(path), accepted);
    }
}

// Only a plain file named in full goes by the system's own delete; anything unusual keeps the
// shell's road and its guards.
TEST(DeletesDirectly, OnlyPlainFilesNamedInFull) {
    const wchar_t* const file = L"C:\\Program Files\\Veltrane\\Readme.txt";
    const struct {
        const wchar_t* path;
        std::uint32_t attributes;
        bool direct;
    } cases[] = {
        {file, 0x20, true},        // archive
        {file, 0x80, true},        // normal
        {file, 0x2, true},         // hidden
        {file, 0xFFFFFFFF, false}, // missing
        {file, 0x21, false},       // read-only
        {file, 0x24, false},       // system
        {file, 0x10, false},       // folder
        {file, 0x420, false},      // link or junction
        {file, 0x40, false},       // device
        {L"C:\\Program Files\\Veltrane\\Read?e.txt", 0x20, false},
        {L"Veltrane\\Readme.txt", 0x20, false},
    };
    for (const auto& [path, attributes, direct] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(path)) + " " + std::to_string(attributes));
        EXPECT_EQ(DeletesDirectly(path, attributes), direct);
    }
}

TEST(NextLetterSuffix, CountsLikeColumnNames) {
    const std::pair<const wchar_t*, const wchar_t*> steps[] = {
        {L"", L"a"},     {L"a", L"b"},     {L"y", L"z"},      {L"z", L"aa"},
        {L"aa", L"ab"},  {L"az", L"ba"},   {L"bz", L"ca"},    {L"zy", L"zz"},
        {L"zz", L"aaa"}, {L"azz", L"baa"}, {L"zzz", L"aaaa"},
    };
    for (const auto& [from, to] : steps) {
        EXPECT_EQ(NextLetterSuffix(from), to) << testing::PrintToString(std::wstring(from));
    }
}

using Action = PathCheckDecision::Action;

TEST(DecidePathCheck, ErrorNumbersAndTheirMessages) {
    struct Case {
        long error;
        PathCheckKind kind;
        Action action;
        long number;
        std::wstring description;
    };
    const std::wstring path = L"E:\\Missing\\file.txt";
    const Case cases[] = {
        {0, PathCheckKind::File, Action::Pass, 0, L""},
        {53, PathCheckKind::File, Action::Pass, 0, L""},
        {5, PathCheckKind::File, Action::AskDiskError, 0, L""},
        {52, PathCheckKind::File, Action::Raise, 52,
         L"'E:\\Missing\\file.txt' is not a valid file name."},
        // A file names the folder that is missing; a folder names itself.
        {76, PathCheckKind::File, Action::Raise, 76, L"'E:\\Missing' not a valid path"},
        {76, PathCheckKind::Folder, Action::Raise, 76, L"'E:\\Missing\\file.txt' not a valid path"},
        {52, PathCheckKind::Folder, Action::Raise, 52, L"'E:\\Missing\\file.txt' not a valid path"},
        {75, PathCheckKind::File, Action::Raise, 75, L"Path/File access error"},
        {70, PathCheckKind::Folder, Action::Raise, 70, L"Permission denied"},
    };
    for (const Case& c : cases) {
        const PathCheckDecision decision = DecidePathCheck(c.error, path, c.kind);
        EXPECT_EQ(decision.action, c.action) << "error " << c.error;
        if (c.action == Action::Raise) {
            EXPECT_EQ(decision.number, c.number) << "error " << c.error;
            EXPECT_EQ(decision.description, c.description) << "error " << c.error;
        }
    }
    // A file without a backslash is named whole.
    EXPECT_EQ(DecidePathCheck(76, L"file.txt", PathCheckKind::File).description,
              L"'file.txt' not a valid path");
}

TEST(DriveNotReadyText, NamesTheDrive) {
    EXPECT_EQ(DriveNotReadyText(L"E:\\Setup\\a.dll"), L"E: Drive not ready");
    EXPECT_EQ(DriveNotReadyText(L"E"), L"E Drive not ready");
}

// The check's loop with scripted answers: which errors the attribute query raises in turn,
// and what the user answers each "Disk Error" box.
struct Script {
    std::vector<long> errors;
    std::vector<bool> retries;
    std::size_t queries = 0;
    std::vector<std::wstring> boxes;
    int yields = 0;
};

void RunScripted(Script& script, const std::wstring& path, PathCheckKind kind) {
    RunPathCheck(
        path, kind,
        [&](const std::wstring&) {
            return script.queries < script.errors.size() ? script.errors[script.queries++] : 0L;
        },
        [&](const std::wstring& text) {
            const bool retry =
                script.boxes.size() < script.retries.size() && script.retries[script.boxes.size()];
            script.boxes.push_back(text);
            return retry;
        },
        [&] { ++script.yields; });
}

TEST(RunPathCheck, RetryAsksAgainCancelOrAFurtherErrorRaises) {
    const std::vector<std::wstring> twoBoxes(2, L"E: Drive not ready");
    const struct {
        const char* name;
        Script script;
        std::vector<std::wstring> boxes;
        int yields;
        long error; // 0: the check passes
        std::wstring description;
    } cases[] = {
        {"retry until the drive answers", {{5, 5, 0}, {true, true}, 0, {}, 0}, twoBoxes, 2, 0, L""},
        {"cancel", {{5, 5}, {true, false}, 0, {}, 0}, twoBoxes, 1, 71, L"Disk not ready"},
        // The retry finds the folder missing: a file names that folder.
        {"retry finds no folder",
         {{5, 76}, {true}, 0, {}, 0},
         {L"E: Drive not ready"},
         1,
         76,
         L"'E:\\Setup' not a valid path"},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        long error = 0;
        try {
            RunScripted(c.script, L"E:\\Setup\\a.dll", PathCheckKind::File);
        } catch (const RuntimeError& e) {
            error = e.info().number;
            EXPECT_EQ(e.info().description, c.description);
        }
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(c.script.boxes, c.boxes);
        EXPECT_EQ(c.script.yields, c.yields);
        EXPECT_EQ(c.script.queries, c.script.errors.size());
    }
}

TEST(AbbreviateFolder, ShortensBelowEitherReference) {
    const std::wstring programs = L"C:\\Program Files";
    const std::wstring shared = L"C:\\Program Files\\Common Files";
    EXPECT_EQ(AbbreviateFolder(L"", programs, shared), L"");
    EXPECT_EQ(AbbreviateFolder(L"C:\\Program Files\\Veltrane\\Themes", programs, shared),
              L"C:\\...\\Program Files\\Veltrane\\Themes");
    EXPECT_EQ(AbbreviateFolder(L"c:\\program files\\Veltrane", programs, shared),
              L"c:\\...\\program files\\Veltrane");
    EXPECT_EQ(AbbreviateFolder(L"D:\\Common\\Tools", L"C:\\Program Files", L"D:\\Common"),
              L"D:\\...\\Shared Common\\Tools");
    EXPECT_EQ(AbbreviateFolder(L"E:\\Data", programs, shared), L"E:\\Data");
    // Without references nothing is shortened.
    EXPECT_EQ(AbbreviateFolder(L"E:\\Data", L"", L""), L"E:\\Data");
}

TEST(FormatSizeText, EveryBandEdgeWithEitherSeparator) {
    constexpr std::int64_t kMB = 1048576;
    constexpr std::int64_t kTB = 1099511627776;
    const struct {
        std::int64_t bytes;
        const wchar_t* text; // with a point; a comma gives the same with a comma
    } cases[] = {
        {1023, L"1023 bytes"},
        {1024, L"1.0 KB"},
        {1076, L"1.1 KB"}, // 1.0507: half up
        {102400, L"100 KB"},
        {1023999, L"999 KB"}, // the whole part, not rounded
        {1024000, L"1.0 MB"},
        {100 * kMB, L"100 MB"},
        {1000 * kMB, L".98 GB"}, // no digit before the separator below 1
        {kTB - 1, L"1024.00 GB"},
        {kTB, L"1.00 TB"},
        {kTB * 8000 + kTB / 100, L"8000.01 TB"}, // no overflow on the way
    };
    for (const auto& c : cases) {
        std::wstring comma = c.text;
        std::replace(comma.begin(), comma.end(), L'.', L',');
        EXPECT_EQ(FormatSizeText(c.bytes, L"."), c.text);
        EXPECT_EQ(FormatSizeText(c.bytes, L","), comma);
    }
}

TEST(VersionText, ShowsTheBuildOnlyWhenItIsNotZero) {
    EXPECT_EQ(VersionText(0x00020000, 0x00000000), L"2.0");
    EXPECT_EQ(VersionText(0x00060001, 0x1DB04001), L"6.1.16385"); // 6.1.7600.16385
    EXPECT_EQ(TranslationBlockName(0x0409, 1252), L"040904E4");
}

TEST(DosSafeName, ReplacesOrRemovesWhatFileNamesCannotHold) {
    EXPECT_EQ(DosSafeName(L"Re: \"a\" <b>?.txt"), L"Re- 'a' [b].txt");
    EXPECT_EQ(DosSafeName(L"C:\\dir/a*b|c"), L"C-dira_bc");
}

TEST(SuffixedName, GoesBeforeTheLastDotOfTheWholeText) {
    EXPECT_EQ(SuffixedName(L"report.txt", L"b"), L"report_b.txt");
    EXPECT_EQ(SuffixedName(L"README", L"aa"), L"README_aa");
    EXPECT_EQ(SuffixedName(L"C:\\v1.2\\README", L"a"), L"C:\\v1_a.2\\README");
}

} // namespace
} // namespace vt

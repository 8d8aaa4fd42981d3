// Paths, names and registry texts: what the file, folder and registry services make of text.
#include "filesystem/file_rules.h"
#include "filesystem/path_rules.h"
#include "system/reg_rules.h"
#include "tests/native/rows.h"
#include "uninstall/form1_rules.h"
#include "uninstall/settings_rules.h"

#include <limits>
#include <tuple>

namespace vt {
namespace {

using namespace std::string_literals;
using Text = std::wstring;

// The root and the Run key a start-up entry's tag names.
Text RunKeyOf(std::wstring_view name) {
    const std::optional<StartUpList> list = StartUpListFor(name);
    return list ? std::to_wstring(list->root) + L"\\" + list->key : L"none";
}

TEST(PathRules, NamesAndTexts) {
    ExpectRows<Text>({
        {CorrectPath(L"C:\\Data"), L"C:\\Data\\"},
        {CorrectPath(L"C:\\Data\\"), L"C:\\Data\\"},
        {AddBackslash(L""), L"\\"},
        {SearchPattern(L".dll"), L"*.dll*"},
        {GetFileName(L"C:\\A\\b.txt", true), L"b.txt"},
        {GetFileName(L"C:\\A\\b.txt", false), L"C:\\A\\"},
        {GetFileName(L"C:\\A\\", true), L"C:\\A\\"}, // an empty part gives the whole path
        {NextLetterSuffix(L""), L"a"},
        {NextLetterSuffix(L"az"), L"ba"},
        {NextLetterSuffix(L"zz"), L"aaa"},
        {DosSafeName(L"Re: \"a\" <b>?.txt"), L"Re- 'a' [b].txt"},
        {DosSafeName(L"C:\\dir/a*b|c"), L"C-dira_bc"},
        {SuffixedName(L"C:\\v1.2\\README", L"a"), L"C:\\v1_a.2\\README"},
        {SuffixedName(L"README", L"aa"), L"README_aa"},
        {VersionText(0x00020000, 0x00000000), L"2.0"},
        {VersionText(0x00060001, 0x1DB04001), L"6.1.16385"}, // 6.1.7600.16385
        {TranslationBlockName(0x0409, 1252), L"040904E4"},
        // Below either reference folder, shortened; a reference compares without case.
        {AbbreviateFolder(L"c:\\program files\\V", L"C:\\Program Files", L"D:\\Common"),
         L"c:\\...\\program files\\V"},
        {AbbreviateFolder(L"D:\\Common\\Tools", L"C:\\Program Files", L"D:\\Common"),
         L"D:\\...\\Shared Common\\Tools"},
        {AbbreviateFolder(L"E:\\Data", L"C:\\Program Files", L"D:\\Common"), L"E:\\Data"},
        {AbbreviateFolder(L"E:\\Data", L"", L""), L"E:\\Data"},
        // Sizes at their bands' edges: halves up, no digit before the separator below 1.
        {FormatSizeText(1023, L"."), L"1023 bytes"},
        {FormatSizeText(1024, L"."), L"1.0 KB"},
        {FormatSizeText(1076, L","), L"1,1 KB"},
        {FormatSizeText(102400, L"."), L"100 KB"},
        {FormatSizeText(1023999, L"."), L"999 KB"},
        {FormatSizeText(1024000, L"."), L"1.0 MB"},
        {FormatSizeText(100LL << 20, L"."), L"100 MB"},
        {FormatSizeText(1000LL << 20, L","), L",98 GB"},
        {FormatSizeText((1LL << 40) - 1, L"."), L"1024.00 GB"},
        {FormatSizeText(1LL << 40, L"."), L"1.00 TB"},
        {FormatSizeText((8000LL << 40) + (1LL << 40) / 100, L"."), L"8000.01 TB"},
        // A string value's data need not be terminated; a list's strings join with blanks.
        {StringValueText(L"abc\0def\0"s), L"abc"},
        {StringValueText(L"C:\\x"), L"C:\\x"},
        {MultiStringValueText(L"  a \0b  \0\0"s, false), L"  a "},
        {MultiStringValueText(L"  a \0\0b  \0\0"s, true), L"a   b"},
        // A start-up entry: the tag names the list, the name is the rest without blanks.
        {RunKeyOf(L"hklm:Some App"), std::to_wstring(kHkeyLocalMachine) + L"\\" + kMachineRunKey},
        {RunKeyOf(L"hKcU:"), std::to_wstring(kHkeyCurrentUser) + L"\\" + kUserRunKey},
        {RunKeyOf(L"star:x"), std::to_wstring(kHkeyCurrentUser) + L"\\" + kUserRunKey},
        {RunKeyOf(L"HKCR:Tool"), L"none"},
        {StartUpEntryName(L"HKLM: Some  App "), L"SomeApp"},
        {StartUpEntryName(L"STAR:a\tb"), L"a\tb"},
        {StartUpEntryName(L"HKCU:"), L""},
    });
}

// What the shell's file operation may be handed: one place, named in full. The Start menu's
// programs folder and the drive of the log's paths are such paths or nothing, so that no
// group name is joined to "C:" and resolved against the current folder.
TEST(PathRules, OnlyFullPathsWithoutWildcards) {
    ExpectRows<bool>({
        {NamesOneExactPlace(L"C:\\Program Files\\V\\a.dll"), true},
        {NamesOneExactPlace(L"\\\\server\\share\\a.txt"), true},
        {NamesOneExactPlace(L"C:\\V\\*.dll"), false},
        {NamesOneExactPlace(L"C:\\V\\a?.dll"), false},
        {NamesOneExactPlace(L"C:\\"), false},
        {NamesOneExactPlace(L"C:a.dll"), false},
        {NamesOneExactPlace(L".\\a.dll"), false},
        {NamesOneExactPlace(L"\\V\\a.dll"), false},
        {NamesOneExactPlace(L"\\\\server"), false},
        {NamesOneExactPlace(L"\\\\\\a"), false},
    });
    ExpectRows<std::optional<Text>>({
        {StartMenuProgramsFolder(L"C:\\Data\\Programs\\StartUp"), L"C:\\Data\\Programs\\"},
        {StartMenuProgramsFolder(L"\\\\server\\share\\StartUp"), L"\\\\server\\share\\"},
        {StartMenuProgramsFolder(L"C:\\Data\\Programs\\StartUp\\"), std::nullopt},
        {StartMenuProgramsFolder(L"C:\\StartUp"), std::nullopt},
        {LogDrivePrefix(L"C:\\StartUp"), L"C:\\"},
        {LogDrivePrefix(L"C:\\"), L"C:\\"},
        {LogDrivePrefix(L"\\\\?\\D:\\Tools\\V"), L"D:\\"},
        {LogDrivePrefix(L"\\\\server\\share\\StartUp"), std::nullopt},
        {LogDrivePrefix(L"C:StartUp"), std::nullopt},
    });
}

// What the path check makes of the attribute query's errors in turn (0 after them) and of the
// answers to its "Disk Error" boxes: the boxes shown, the retries, and the error raised.
using Check = std::tuple<std::size_t, int, long, Text>;
Check RunCheck(PathCheckKind kind, std::vector<long> errors, std::vector<bool> answers = {}) {
    std::size_t queries = 0, boxes = 0;
    int retries = 0;
    try {
        RunPathCheck(
            L"E:\\Setup\\a.dll", kind,
            [&](const Text&) { return queries < errors.size() ? errors[queries++] : 0L; },
            [&](const Text& text) { return text == L"E: Drive not ready" && answers.at(boxes++); },
            [&] { ++retries; });
    } catch (const RuntimeError& e) {
        return {boxes, retries, e.info().number, e.info().description};
    }
    return {boxes, retries, 0, L""};
}

TEST(PathRules, AttributeErrorsPassAskAgainOrRaise) {
    using enum PathCheckKind;
    ExpectRows<Check>({
        {RunCheck(File, {0}), {0, 0, 0, L""}},
        {RunCheck(File, {53}), {0, 0, 0, L""}}, // a destination not there yet
        {RunCheck(File, {52}), {0, 0, 52, L"'E:\\Setup\\a.dll' is not a valid file name."}},
        {RunCheck(Folder, {52}), {0, 0, 52, L"'E:\\Setup\\a.dll' not a valid path"}},
        // A file names the folder that is missing; a folder names itself.
        {RunCheck(File, {76}), {0, 0, 76, L"'E:\\Setup' not a valid path"}},
        {RunCheck(Folder, {76}), {0, 0, 76, L"'E:\\Setup\\a.dll' not a valid path"}},
        {RunCheck(Folder, {70}), {0, 0, 70, L"Permission denied"}},
        {RunCheck(File, {75}), {0, 0, 75, L"Path/File access error"}},
        // A drive not ready asks until it answers, the user cancels or another error comes.
        {RunCheck(File, {5, 5, 0}, {true, true}), {2, 2, 0, L""}},
        {RunCheck(File, {5, 5}, {true, false}), {2, 1, 71, L"Disk not ready"}},
        {RunCheck(File, {5, 76}, {true}), {1, 1, 76, L"'E:\\Setup' not a valid path"}},
    });
}

TEST(RegistryText, NumbersAreDecimalAndRoundHalvesToEvenWithin32Bits) {
    ExpectRows<std::optional<double>>({
        {NumberInText(L" -7 "), -7},
        {NumberInText(L".5"), 0.5},
        {NumberInText(L"5."), 5},
        {NumberInText(L"1E-1"), 0.1},
        {NumberInText(L"."), std::nullopt},
        {NumberInText(L"1e"), std::nullopt},
        {NumberInText(L"0x10"), std::nullopt},
        {NumberInText(L"inf"), std::nullopt},
        {NumberInText(L"1 2"), std::nullopt},
    });
    ExpectRows<std::int64_t>({
        {ToLong(2.5), 2},
        {ToLong(-2.5), -2},
        {ToLong(2.6), 3},
        {ToLong(2147483647.4), 2147483647},
        {ToLong(-2147483648.5), -2147483648},
        {ErrorOf([] { ToLong(2147483647.5); }), kErrOverflow},
        {ErrorOf([] { ToLong(std::numeric_limits<double>::quiet_NaN()); }), kErrOverflow},
    });
}

} // namespace
} // namespace vt

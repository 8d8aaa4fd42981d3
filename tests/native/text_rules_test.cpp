// Texts the uninstaller reads, writes or shows: the installer's log, the self-removal batch,
// the messages and their translations, the command line and the error box.
#include "system/errors.h"
#include "tests/native/rows.h"
#include "uninstall/clearup_batch.h"
#include "uninstall/form1_rules.h"
#include "uninstall/install_log.h"
#include "uninstall/message_text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <regex>
#include <set>
#include <tuple>

namespace vt {
namespace {

using namespace std::string_literals;
using enum LogEntryKind;
using enum LogFileStep;

std::vector<std::string> Pieces(std::string_view log) {
    std::vector<std::string> pieces;
    ForEachLogPiece(log, [&](std::string_view piece) { pieces.emplace_back(piece); });
    return pieces;
}

// The entry's kind, its text, and the path the file system is given.
using Entry = std::tuple<LogEntryKind, std::string, std::string>;
Entry Read(std::string_view piece) {
    const LogEntry entry = ReadLogEntry(piece);
    return {entry.kind, std::string(entry.text), std::string(entry.Path())};
}

TEST(InstallLog, PiecesAndTheEntriesTheyName) {
    ExpectRows<std::vector<std::string>>({
        {Pieces("no drive\0\0"s), {}},
        {Pieces("head C:\\a.txt\0\0mid D:\\b.txt"s), {"a.txt\0\0mid D"s, "b.txt"}},
        {Pieces(":\\:\\"), {"", ""}},
        {Pieces("c:/x C:\\\\y"), {"\\y"}},
    });
    ExpectRows<Entry>({
        // Two record bytes after a file's extension; the installation folder's 0x82 marker.
        {Read("Files\\V\\Readme.txtAB\0\0\x05"s),
         {File, "Files\\V\\Readme.txt", "Files\\V\\Readme.txt"}},
        {Read("Files\\V\x01\x82\x02\x03\0\0"s),
         {Folder, "Files\\V\x01\x82\x02\x03\0"s, "Files\\V\x01\x82\x02\x03"}},
        // Longer extensions are cut to three characters; shorter ones keep the NUL, which the
        // length (more than five) and the marker's place count.
        {Read("web\\page.html\0\0"s), {File, "web\\page.htm", "web\\page.htm"}},
        {Read("web\\ab.cd\0\0"s), {File, "web\\ab.cd\0"s, "web\\ab.cd"}},
        {Read("x.c\0\0"s), {None, "x.c\0"s, "x.c"}},
        {Read("a.txt\0\0"s), {None, "a.txt", "a.txt"}},
        {Read("ab.txt\0\0"s), {File, "ab.txt", "ab.txt"}},
        {Read("tools\\x.exe\0tail"s), {None, "", ""}}, // no NUL pair before the next drive
        // Libraries may be shared: they stay, whatever their case, a longer type cut first.
        {Read("sys\\Orvale.DLL\0\0"s), {Library, "sys\\Orvale.DLL", "sys\\Orvale.DLL"}},
        {Read("sys\\Grid.ocx\0\0"s), {Library, "sys\\Grid.ocx", "sys\\Grid.ocx"}},
        {Read("sys\\a.tlbx\0\0"s), {Library, "sys\\a.tlb", "sys\\a.tlb"}},
        {Read("sys\\a.dll.bak\0\0"s), {File, "sys\\a.dll.bak", "sys\\a.dll.bak"}},
        // Leading blanks go; a lone NUL inside ends what the file system sees.
        {Read("  dir\\name.txt\0\0"s), {File, "dir\\name.txt", "dir\\name.txt"}},
        {Read("dir\0old\\name.txt\0\0"s), {File, "dir\0old\\name.txt"s, "dir"}},
        // The marker counts from the end of the cut entry, its NUL included.
        {Read("dir\\sub\x82zzz\0\0"s), {File, "dir\\sub\x82zzz\0"s, "dir\\sub\x82zzz"}},
        {Read("dir\\sub.\x82zz\0\0"s), {File, "dir\\sub.\x82zz", "dir\\sub.\x82zz"}},
    });
}

// A folder's record names the folder before its four record bytes, whatever the three beside
// the mark, a "." in its name being no extension to cut at.
TEST(InstallLog, AFolderRecordNamesTheFolderBeforeItsRecordBytes) {
    ExpectRows<std::string>({
        {std::string(ReadLogEntry("  Tools\\\x01\x82\x02\x03\0\0"s).folder), "Tools"},
        {std::string(ReadLogEntry("Tools2\x82zz\0\0"s).folder), "Tools"},
        {std::string(ReadLogEntry("Apps\\V 3.0\0\x82\0z\0\0"s).folder), "Apps\\V 3.0"},
        {std::string(ReadLogEntry("Tools\x01\x83\x02\x03\0\0"s).folder), ""},
        {std::string(ReadLogEntry("Tools\x01\x82\x02\x03\0"s).folder), ""},
        {std::string(ReadLogEntry("\\\\A\x82zz\0\0"s).folder), ""},
    });
}

TEST(InstallLog, MissingFilesAdvanceTheRunningUninstallerAndSilentPlugInsStay) {
    constexpr LogScanChoices kPlain{"unins000.exe", false, false};
    constexpr LogScanChoices kSilent{"unins000.exe", true, false};
    constexpr LogScanChoices kKeep{"unins000.exe", false, true}; // the plug-ins
    ExpectRows<LogFileStep>({
        {StepForLogFile("v\\readme.txt", true, kPlain), DeleteAndAdvance},
        {StepForLogFile("v\\readme.txt", false, kPlain), Advance},
        {StepForLogFile("v\\readme.txt", true, kKeep), Advance},
        {StepForLogFile("v\\readme.txt", true, kSilent), DeleteAndAdvance},
        {StepForLogFile("v\\UNINS000.EXE", true, kPlain), PassOver},
        {StepForLogFile("v\\myunins000.exe", true, kKeep), PassOver},
        {StepForLogFile("v\\unins001.exe", true, kPlain), DeleteAndAdvance},
        {StepForLogFile("v\\p\\a.vtp", true, kSilent), PassOver},
        {StepForLogFile("v\\p\\a.vtp", false, kSilent), Advance},
        {StepForLogFile("v\\p\\a.vtp", true, kPlain), DeleteAndAdvance},
        {StepForLogFile("v\\unins000.exe", true, {}), DeleteAndAdvance},
    });
}

// The batch's path and text in a code page that carries the first 256 code points as they are.
using Batch = std::optional<std::pair<std::string, std::string>>;
Batch Make(std::wstring_view exePath, std::wstring_view shortExePath = L"",
           bool parentTrusted = true) {
    const auto batch =
        MakeClearupBatch(exePath, shortExePath, parentTrusted, [](std::wstring_view text) {
            const bool carried =
                std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= 0xFF; });
            return carried ? std::optional(std::string(text.begin(), text.end())) : std::nullopt;
        });
    return batch ? Batch({batch->Path(), batch->text}) : std::nullopt;
}

// The batch for the uninstaller <exe> in <folder>, which calls <parent>'s batch unless null.
Batch Lines(const std::string& folder, const std::string& exe, const char* parent) {
    return std::pair(folder + "clearup.bat",
                     ":start\r\n@echo off\r\ncls\r\ndel \"" + folder + exe + "\"\r\nif  exist \"" +
                         folder + exe + "\" goto start\r\n" +
                         (parent ? "call \""s + parent + "clearup.bat\"\r\n" : "") + "del \"" +
                         folder + "clearup.bat\"\r\n");
}

TEST(ClearupBatch, IsExactlyTheExpectedBytesOrNone) {
    ExpectRows<Batch>({
        {Make(L"C:\\Program Files\\V\\unins000.exe", L"C:\\PROGRA~1\\V\\UNINS000.EXE"),
         Lines("C:\\Program Files\\V\\", "unins000.exe", "C:\\Program Files\\")},
        // The name without its extension as it is; the batch adds ".exe" itself.
        {Make(L"D:\\Tools\\Remove V.EXE"), Lines("D:\\Tools\\", "Remove V.exe", "D:\\")},
        {Make(L"\\\\server\\V\\u.exe"), Lines("\\\\server\\V\\", "u.exe", "\\\\server\\")},
        // At a drive root the parent's batch would be this one, and a parent folder others may
        // write to may hold anyone's: no call.
        {Make(L"e:\\UNINS000.exe"), Lines("e:\\", "UNINS000.exe", nullptr)},
        {Make(L"D:\\Tools\\V\\u.exe", L"", false), Lines("D:\\Tools\\V\\", "u.exe", nullptr)},
        // "%" would start a variable: the batch doubles it.
        {Make(L"C:\\1%\\u.exe"),
         Batch({"C:\\1%\\clearup.bat", Lines("C:\\1%%\\", "u.exe", "C:\\")->second})},
        // Beyond ASCII: the short form, which is certain, else what the code page carries.
        {Make(L"C:\\Caf\u00e9\\u.exe"), Lines("C:\\Caf\xe9\\", "u.exe", "C:\\")},
        {Make(L"C:\\Caf\u00e9\\u.exe", L"C:\\CAF~1\\U.EXE"), Lines("C:\\CAF~1\\", "U.exe", "C:\\")},
        {Make(L"C:\\\u5378.exe", L"C:\\1A2B~1.EXE"), Lines("C:\\", "1A2B~1.exe", nullptr)},
        // No short form, or one not in ASCII or breaking the batch's lines; no <name>.exe.
        {Make(L"C:\\\u0412\\u.exe"), std::nullopt},
        {Make(L"C:\\\u0412\\u.exe", L"C:\\CAF\u00c9~1\\U.EXE"), std::nullopt},
        {Make(L"C:\\\u0412\\u.exe", L"C:\\AB\r\nCD~1\\U.EXE"), std::nullopt},
        {Make(L"C:\\V\\unins000.bin"), std::nullopt},
        {Make(L"C:\\V\\.exe"), std::nullopt},
        {Make(L"unins000.exe"), std::nullopt},
    });
}

TEST(MessageText, BarsBreakLinesThenTheNameThenTheProductAndBlocksHoldSixteen) {
    ExpectRows<std::wstring>({
        {FinishMessageText(L"%N is running. ||Terminate Now?", L"Brendix"),
         L"Brendix is running. \r\n\r\nTerminate Now?"},
        // %N matches its exact case only and needs a value; %APP matches any case.
        {FinishMessageText(L"%N and %n", L"X"), L"X and %n"},
        {FinishMessageText(L"%N stays", L""), L"%N stays"},
        {FinishMessageText(L"%APP, %aPp", L""), L"Veltrane, Veltrane"},
        {FinishMessageText(L"%%APPP", L""), L"%VeltraneP"},
        // The value is not searched again for bars or itself; %APP is replaced after it.
        {FinishMessageText(L"[%N]", L"a|b"), L"[a|b]"},
        {FinishMessageText(L"[%N]", L"%app"), L"[Veltrane]"},
        {FinishMessageText(L"%N", L"%N%N"), L"%N%N"},
    });
    // Each entry is a length and that many units; an empty one is no text, and nothing is read
    // beyond the block.
    std::vector<std::uint16_t> block{2, u'a', u'b', 0, 2, u'c', u'd'};
    block.resize(block.size() + 12);
    block.insert(block.end(), {1, u'e'});
    ExpectRows<std::optional<std::wstring>>({
        {StringFromBlock(block, 0), L"ab"},
        {StringFromBlock(block, 1), std::nullopt},
        {StringFromBlock(block, 2), L"cd"},
        {StringFromBlock(block, 15), L"e"},
        {StringFromBlock(block, 16), std::nullopt},
        {StringFromBlock(std::vector<std::uint16_t>{500, u'a'}, 0), std::nullopt},
        {StringFromBlock(std::span(block).first(4), 2), std::nullopt},
    });
    EXPECT_EQ(StringBlockOf(3903), 244u);
    EXPECT_EQ(StringBlockOf(3904), 245u);
}

// Each text of a resource script's string table, by identifier, as the marks it holds ("|",
// "%N", "%APP", in any order: a translation may place them differently, and "" for an empty
// text).
std::map<std::string, std::multiset<std::string>> Marks(const std::filesystem::path& script) {
    std::ifstream file(script);
    const std::regex entry(R"re(^\s*(IDS_\w+)\s+"(.*)"\s*$)re"), mark(R"(\||%N|%APP|^$)");
    std::map<std::string, std::multiset<std::string>> marks;
    std::smatch match;
    for (std::string line; std::getline(file, line);) {
        if (std::regex_match(line, match, entry)) {
            const std::string text = match[2];
            marks[match[1]].insert(std::sregex_token_iterator(text.begin(), text.end(), mark), {});
        }
    }
    return marks;
}

TEST(MessageText, EveryLanguageHasEveryTextWithItsMarks) {
    const std::filesystem::path source = VT_SOURCE_DIR;
    const auto english = Marks(source / "resources" / "unins000.rc");
    ASSERT_EQ(english.size(), 13u);
    for (const auto& texts : std::filesystem::directory_iterator(source / "language" / "texts")) {
        EXPECT_EQ(Marks(texts.path()), english) << texts.path();
    }
}

// The arguments after the program name, and whether they make the run silent.
std::pair<std::wstring, bool> Arguments(std::wstring_view line) {
    return {std::wstring(ArgumentString(line)), IsSilentArgument(ArgumentString(line))};
}

TEST(CommandLine, OnlyTheExactWordAfterTheProgramNameIsSilent) {
    ExpectRows<std::pair<std::wstring, bool>>({
        {Arguments(L"\"C:\\Program Files\\V\\unins000.exe\" silent"), {L"silent", true}},
        {Arguments(L"unins000.exe \t silent"), {L"silent", true}},
        {Arguments(L"\"C:\\x\"y.exe silent"), {L"silent", true}}, // the name runs to a blank
        {Arguments(L"\"C:\\x y\\unins000.exe\""), {L"", false}},
        {Arguments(L"\"C:\\x\\unins000.exe silent"), {L"", false}}, // all of it the name
        {Arguments(L"unins000.exe silent "), {L"silent ", false}},
        {Arguments(L"unins000.exe \"silent\""), {L"\"silent\"", false}},
        {Arguments(L"unins000.exe SILENT"), {L"SILENT", false}},
    });
}

// The error box for what a statement raised or threw at step 14.
std::wstring Box(void (*statement)()) {
    try {
        statement();
    } catch (...) {
        ErrorInfo error = CurrentError();
        error.line = 14;
        return ErrorBoxText(error);
    }
    return L"";
}

TEST(ErrorBox, ShowsTheErrorThatEndedTheRun) {
    const std::wstring start = L"An error has been detected:\r\n\r\nErr Description: ";
    const std::wstring end = L"\r\nErr Source: VT_Uninstall : Form_Load : 14";
    ExpectRows<std::wstring>({
        {Box([] { Raise(76, L"'C:\\x' not a valid path"); }),
         start + L"'C:\\x' not a valid path\r\nErr No: 76" + end},
        // Without a description, the run time's own; other exceptions as run-time errors.
        {Box([] { Raise(6); }), start + L"Overflow\r\nErr No: 6" + end},
        {Box([] { Raise(-2147221005); }),
         start + L"Application-defined or object-defined error\r\nErr No: -2147221005" + end},
        {Box([] { throw std::bad_alloc(); }), start + L"Out of memory\r\nErr No: 7" + end},
        {Box([] { throw 42; }), start + L"Internal error\r\nErr No: 51" + end},
    });
}

} // namespace
} // namespace vt

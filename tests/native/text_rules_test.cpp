// Texts the uninstaller writes or shows: the self-removal batch, the messages and their
// translations, the command line and the error box. The installer's log is held against a
// reading of its own (log_model_test.cpp).
#include "system/errors.h"
#include "tests/native/rows.h"
#include "uninstall/clearup_batch.h"
#include "uninstall/form1_rules.h"
#include "uninstall/message_text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <regex>
#include <set>

namespace vt {
namespace {

using namespace std::string_literals;

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

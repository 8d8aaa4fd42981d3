// Texts the uninstaller writes or shows: the self-removal batch, the messages and their
// translations, the command line and the error box.
#include "system/errors.h"
#include "uninstall/clearup_batch.h"
#include "uninstall/form1_rules.h"
#include "uninstall/message_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <regex>
#include <set>
#include <stdexcept>

namespace vt {
namespace {

// A single-byte code page: the first 256 code points map to themselves (as in Latin-1).
std::optional<std::string> Latin1(std::wstring_view text) {
    std::string bytes;
    for (wchar_t c : text) {
        if (static_cast<unsigned>(c) > 0xFF) {
            return std::nullopt;
        }
        bytes += static_cast<char>(c);
    }
    return bytes;
}

// The batch for the uninstaller <exe> in <folder>, calling <parent>'s batch unless null.
std::string Lines(const std::string& folder, const std::string& exe, const char* parent) {
    return ":start\r\n@echo off\r\ncls\r\ndel \"" + folder + exe + "\"\r\nif  exist \"" + folder +
           exe + "\" goto start\r\n" +
           (parent ? "call \"" + std::string(parent) + "clearup.bat\"\r\n" : "") + "del \"" +
           folder + "clearup.bat\"\r\n";
}

TEST(ClearupBatch, IsExactlyTheExpectedBytesOrNone) {
    const struct {
        std::wstring exePath, shortExePath;
        std::string folder; // empty: no batch at all
        std::string text;
    } cases[] = {
        {L"C:\\Program Files\\Veltrane\\unins000.exe", L"C:\\PROGRA~1\\VELTRANE\\UNINS000.EXE",
         "C:\\Program Files\\Veltrane\\",
         ":start\r\n@echo off\r\ncls\r\ndel \"C:\\Program Files\\Veltrane\\unins000.exe\"\r\n"
         "if  exist \"C:\\Program Files\\Veltrane\\unins000.exe\" goto start\r\n"
         "call \"C:\\Program Files\\clearup.bat\"\r\n"
         "del \"C:\\Program Files\\Veltrane\\clearup.bat\"\r\n"},
        // The name without its extension as it is; the batch adds ".exe" itself.
        {L"D:\\Tools\\V\\Remove Veltrane.EXE", L"", "D:\\Tools\\V\\",
         Lines("D:\\Tools\\V\\", "Remove Veltrane.exe", "D:\\Tools\\")},
        {L"C:\\Veltrane\\unins000.exe", L"", "C:\\Veltrane\\",
         Lines("C:\\Veltrane\\", "unins000.exe", "C:\\")},
        // At a drive root the parent's batch would be this one: no call.
        {L"e:\\UNINS000.exe", L"", "e:\\", Lines("e:\\", "UNINS000.exe", nullptr)},
        {L"\\\\server\\apps\\V\\unins000.exe", L"", "\\\\server\\apps\\V\\",
         Lines("\\\\server\\apps\\V\\", "unins000.exe", "\\\\server\\apps\\")},
        // "%" would start a variable.
        {L"C:\\100%\\V\\unins000.exe", L"", "C:\\100%\\V\\",
         Lines("C:\\100%%\\V\\", "unins000.exe", "C:\\100%%\\")},
        // Beyond ASCII: the short form, which is certain, else what the code page carries.
        {L"C:\\Caf\u00e9\\unins000.exe", L"", "C:\\Caf\xe9\\",
         Lines("C:\\Caf\xe9\\", "unins000.exe", "C:\\")},
        {L"C:\\Caf\u00e9\\unins000.exe", L"C:\\CAF~1\\UNINS000.EXE", "C:\\CAF~1\\",
         Lines("C:\\CAF~1\\", "UNINS000.exe", "C:\\")},
        {L"C:\\V\\\u5378\u8f7d.exe", L"C:\\V\\1A2B~1.EXE", "C:\\V\\",
         Lines("C:\\V\\", "1A2B~1.exe", "C:\\")},
        // No short form, or one that is not ASCII or would break the batch's lines; a name
        // the batch cannot give as <name>.exe; no folder.
        {L"C:\\\u0412\u0435\\unins000.exe", L"", "", ""},
        {L"C:\\\u0412\u0435\\unins000.exe", L"C:\\\u0412\u0435\\unins000.exe", "", ""},
        {L"C:\\\u0412\u0435\\unins000.exe", L"C:\\CAF\u00c9~1\\UNINS000.EXE", "", ""},
        {L"C:\\\u0412\u0435\\unins000.exe", L"C:\\AB\r\nCD~1\\UNINS000.EXE", "", ""},
        {L"C:\\Veltrane\\unins000.bin", L"", "", ""},
        {L"C:\\Veltrane\\.exe", L"", "", ""},
        {L"unins000.exe", L"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.exePath));
        const std::optional<ClearupBatch> batch =
            MakeClearupBatch(c.exePath, c.shortExePath, Latin1);
        ASSERT_EQ(batch.has_value(), !c.folder.empty());
        if (batch) {
            EXPECT_EQ(batch->text, c.text);
            EXPECT_EQ(batch->Path(), c.folder + "clearup.bat");
        }
    }
}

TEST(MessageText, BarsBreakLinesThenNameThenProduct) {
    const struct {
        const wchar_t *raw, *name, *text;
    } cases[] = {
        {L"Uninstall cannot begin.  %N is currently running. ||Terminate Now?", L"Brendix",
         L"Uninstall cannot begin.  Brendix is currently running. \r\n\r\nTerminate Now?"},
        // %N matches its exact case only and needs a value; %APP matches any case.
        {L"%N and %n", L"X", L"X and %n"},
        {L"%N stays", L"", L"%N stays"},
        {L"%APP, %app, %aPp", L"", L"Veltrane, Veltrane, Veltrane"},
        {L"%%APPP", L"", L"%VeltraneP"},
        // The value is not searched again for bars or itself; %APP is replaced after it.
        {L"[%N]", L"a|b", L"[a|b]"},
        {L"[%N]", L"%app", L"[Veltrane]"},
        {L"%N", L"%N%N", L"%N%N"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FinishMessageText(c.raw, c.name), c.text) << testing::PrintToString(c.raw);
    }
}

// A string table block: 16 entries, each a length and that many units.
TEST(MessageText, BlocksFindEntriesByIndexAndReadNothingBeyond) {
    std::vector<std::uint16_t> block;
    for (const std::u16string entry : {u"ab", u"", u"cd"}) {
        block.push_back(static_cast<std::uint16_t>(entry.size()));
        block.insert(block.end(), entry.begin(), entry.end());
    }
    std::vector<std::uint16_t> full(12, 0); // entries 3 to 14; 15 is "e"
    full.insert(full.begin(), block.begin(), block.end());
    full.insert(full.end(), {1, u'e'});
    std::vector<std::uint16_t> tooLong = block;
    tooLong[0] = 500; // claims more units than there are
    const struct {
        const std::vector<std::uint16_t>& block;
        unsigned index;
        std::optional<std::wstring> text;
    } cases[] = {{block, 0, L"ab"},         {block, 1, std::nullopt}, {block, 2, L"cd"},
                 {block, 3, std::nullopt},  {full, 15, L"e"},         {full, 16, std::nullopt},
                 {tooLong, 0, std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(StringFromBlock(c.block, c.index), c.text) << c.index;
    }
    EXPECT_EQ(StringBlockOf(3903), 244u);
    EXPECT_EQ(StringBlockOf(3904), 245u);
}

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

TEST(MessageText, EveryLanguageHasEveryTextWithItsMarks) {
    const std::filesystem::path source = VT_SOURCE_DIR;
    const auto english = Marks(source / "resources" / "unins000.rc");
    ASSERT_EQ(english.size(), 13u);
    for (const auto& texts : std::filesystem::directory_iterator(source / "language" / "texts")) {
        EXPECT_EQ(Marks(texts.path()), english) << texts.path();
    }
}

TEST(CommandLine, OnlyTheExactWordAfterTheProgramNameIsSilent) {
    const struct {
        const wchar_t *line, *arguments;
        bool silent;
    } cases[] = {
        {L"\"C:\\Program Files\\Veltrane\\unins000.exe\" silent", L"silent", true},
        {L"unins000.exe \t silent", L"silent", true},
        {L"\"C:\\x\"y.exe silent", L"silent", true}, // the name runs on to the next blank
        {L"\"C:\\x y\\unins000.exe\"", L"", false},
        {L"\"C:\\x\\unins000.exe silent", L"", false}, // an unclosed quote: all of it the name
        {L"unins000.exe silent ", L"silent ", false},
        {L"unins000.exe \"silent\"", L"\"silent\"", false},
        {L"unins000.exe SILENT", L"SILENT", false},
        {L"unins000.exe /silent", L"/silent", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArgumentString(c.line), c.arguments) << testing::PrintToString(c.line);
        EXPECT_EQ(IsSilentArgument(ArgumentString(c.line)), c.silent) << c.arguments;
    }
}

// What reaches the error box: a raised error as it is, the run time's description where it
// has none, and what any other exception becomes.
TEST(ErrorBox, ShowsTheErrorThatEndedTheRun) {
    const struct {
        void (*raise)();
        const wchar_t* text;
    } cases[] = {
        {[] { Raise(76, L"'C:\\x' not a valid path"); },
         L"Err Description: 'C:\\x' not a valid path\r\nErr No: 76"},
        {[] { Raise(6); }, L"Err Description: Overflow\r\nErr No: 6"},
        {[] { Raise(-2147221005); },
         L"Err Description: Application-defined or object-defined error\r\nErr No: -2147221005"},
        {[] { throw std::bad_alloc(); }, L"Err Description: Out of memory\r\nErr No: 7"},
        {[] { throw std::runtime_error("x"); }, L"Err Description: Internal error\r\nErr No: 51"},
        {[] { throw 42; }, L"Err Description: Internal error\r\nErr No: 51"},
    };
    for (const auto& c : cases) {
        ErrorInfo error = TrapWith(
            [&] {
                c.raise();
                return ErrorInfo{};
            },
            [](const ErrorInfo& e) { return e; });
        error.line = 14;
        EXPECT_EQ(ErrorBoxText(error), L"An error has been detected:\r\n\r\n" +
                                           std::wstring(c.text) +
                                           L"\r\nErr Source: VT_Uninstall : Form_Load : 14");
    }
}

} // namespace
} // namespace vt

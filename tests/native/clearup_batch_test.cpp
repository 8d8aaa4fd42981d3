#include "uninstall/clearup_batch.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

// A single-byte code page for the tests: the first 256 code points map to themselves (as in
// Latin-1); everything else cannot be carried.
std::optional<std::string> Latin1(std::wstring_view text) {
    std::string bytes;
    for (wchar_t c : text) {
        if (static_cast<unsigned>(c) > 0xFF) {
            return std::nullopt;
        }
        bytes += static_cast<char>(static_cast<unsigned char>(c));
    }
    return bytes;
}

struct BatchCase {
    const char* name;
    std::wstring exePath;
    std::wstring shortExePath;
    std::string folder; // empty: no batch at all
    std::string text;
};

void PrintTo(const BatchCase& c, std::ostream* out) {
    *out << c.name;
}

std::string CaseName(const testing::TestParamInfo<BatchCase>& param) {
    return param.param.name;
}

class ClearupBatchText : public testing::TestWithParam<BatchCase> {};

TEST_P(ClearupBatchText, IsExactlyTheExpectedBytes) {
    const BatchCase& c = GetParam();
    const std::optional<ClearupBatch> batch = MakeClearupBatch(c.exePath, c.shortExePath, Latin1);
    if (c.folder.empty()) {
        EXPECT_FALSE(batch.has_value());
        return;
    }
    ASSERT_TRUE(batch.has_value());
    EXPECT_EQ(batch->text, c.text);
    EXPECT_EQ(batch->folder, c.folder);
    EXPECT_EQ(batch->Path(), c.folder + "clearup.bat");
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ClearupBatchText,
    testing::Values(
        BatchCase{"ProgramFiles", L"C:\\Program Files\\Veltrane\\unins000.exe",
                  L"C:\\PROGRA~1\\VELTRANE\\UNINS000.EXE", "C:\\Program Files\\Veltrane\\",
                  ":start\r\n"
                  "@echo off\r\n"
                  "cls\r\n"
                  "del \"C:\\Program Files\\Veltrane\\unins000.exe\"\r\n"
                  "if  exist \"C:\\Program Files\\Veltrane\\unins000.exe\" goto start\r\n"
                  "call \"C:\\Program Files\\clearup.bat\"\r\n"
                  "del \"C:\\Program Files\\Veltrane\\clearup.bat\"\r\n"},
        // The name without its extension, as it is; the batch adds ".exe" itself.
        BatchCase{"RenamedUpperCaseExecutable", L"D:\\Tools\\V\\Remove Veltrane.EXE", L"",
                  "D:\\Tools\\V\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"D:\\Tools\\V\\Remove Veltrane.exe\"\r\n"
                  "if  exist \"D:\\Tools\\V\\Remove Veltrane.exe\" goto start\r\n"
                  "call \"D:\\Tools\\clearup.bat\"\r\n"
                  "del \"D:\\Tools\\V\\clearup.bat\"\r\n"},
        // One level below the root: the parent is the root, which is another folder.
        BatchCase{"BelowDriveRoot", L"C:\\Veltrane\\unins000.exe", L"", "C:\\Veltrane\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"C:\\Veltrane\\unins000.exe\"\r\n"
                  "if  exist \"C:\\Veltrane\\unins000.exe\" goto start\r\n"
                  "call \"C:\\clearup.bat\"\r\n"
                  "del \"C:\\Veltrane\\clearup.bat\"\r\n"},
        // At a drive root the parent's batch would be this one: no call, six lines.
        BatchCase{"DriveRoot", L"C:\\unins000.exe", L"", "C:\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"C:\\unins000.exe\"\r\n"
                  "if  exist \"C:\\unins000.exe\" goto start\r\n"
                  "del \"C:\\clearup.bat\"\r\n"},
        BatchCase{"DriveRootOtherCase", L"e:\\UNINS000.exe", L"", "e:\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"e:\\UNINS000.exe\"\r\n"
                  "if  exist \"e:\\UNINS000.exe\" goto start\r\n"
                  "del \"e:\\clearup.bat\"\r\n"},
        BatchCase{"NetworkShare", L"\\\\server\\apps\\Veltrane\\unins000.exe", L"",
                  "\\\\server\\apps\\Veltrane\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"\\\\server\\apps\\Veltrane\\unins000.exe\"\r\n"
                  "if  exist \"\\\\server\\apps\\Veltrane\\unins000.exe\" goto start\r\n"
                  "call \"\\\\server\\apps\\clearup.bat\"\r\n"
                  "del \"\\\\server\\apps\\Veltrane\\clearup.bat\"\r\n"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    CodePage, ClearupBatchText,
    testing::Values(
        // Without a short form, what the code page carries is written in its bytes (here
        // 0xE9 for e acute).
        BatchCase{"AnsiCharactersWithoutShortForm", L"C:\\Programme\\Caf\u00e9\\unins000.exe", L"",
                  "C:\\Programme\\Caf\xe9\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"C:\\Programme\\Caf\xe9\\unins000.exe\"\r\n"
                  "if  exist \"C:\\Programme\\Caf\xe9\\unins000.exe\" goto start\r\n"
                  "call \"C:\\Programme\\clearup.bat\"\r\n"
                  "del \"C:\\Programme\\Caf\xe9\\clearup.bat\"\r\n"},
        // The console may read those bytes in another code page: the short form is certain.
        BatchCase{"ShortFormBeyondAscii", L"C:\\Programme\\Caf\u00e9\\unins000.exe",
                  L"C:\\PROGRA~1\\CAF~1\\UNINS000.EXE", "C:\\PROGRA~1\\CAF~1\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"C:\\PROGRA~1\\CAF~1\\UNINS000.exe\"\r\n"
                  "if  exist \"C:\\PROGRA~1\\CAF~1\\UNINS000.exe\" goto start\r\n"
                  "call \"C:\\PROGRA~1\\clearup.bat\"\r\n"
                  "del \"C:\\PROGRA~1\\CAF~1\\clearup.bat\"\r\n"},
        // A folder the code page cannot carry: the short form everywhere, pure ASCII.
        BatchCase{"ShortFormForUnwritableFolder",
                  L"C:\\Program Files\\\u0412\u0435\u043b\u044c\u0442\u0440\u0430\u043d\\"
                  L"unins000.exe",
                  L"C:\\PROGRA~1\\HX4K~1\\UNINS000.EXE", "C:\\PROGRA~1\\HX4K~1\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"C:\\PROGRA~1\\HX4K~1\\UNINS000.exe\"\r\n"
                  "if  exist \"C:\\PROGRA~1\\HX4K~1\\UNINS000.exe\" goto start\r\n"
                  "call \"C:\\PROGRA~1\\clearup.bat\"\r\n"
                  "del \"C:\\PROGRA~1\\HX4K~1\\clearup.bat\"\r\n"},
        BatchCase{"ShortFormForUnwritableName", L"C:\\Veltrane\\\u5378\u8f7d.exe",
                  L"C:\\Veltrane\\1A2B~1.EXE", "C:\\Veltrane\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"C:\\Veltrane\\1A2B~1.exe\"\r\n"
                  "if  exist \"C:\\Veltrane\\1A2B~1.exe\" goto start\r\n"
                  "call \"C:\\clearup.bat\"\r\n"
                  "del \"C:\\Veltrane\\clearup.bat\"\r\n"},
        // Without a short form (names switched off on the volume) no batch can be written.
        BatchCase{"NoShortForm", L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe", L"", "", ""},
        // The system hands back the long path when it has no short one.
        BatchCase{"ShortFormIsTheLongOne", L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe",
                  L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe", "", ""},
        // A short form with characters outside ASCII is not trusted either.
        BatchCase{"ShortFormNotAscii", L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe",
                  L"C:\\CAF\u00c9~1\\UNINS000.EXE", "", ""},
        // Nor one with control characters, which would break the batch's lines.
        BatchCase{"ShortFormWithLineBreak", L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe",
                  L"C:\\AB\r\nCD~1\\UNINS000.EXE", "", ""}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    OddPaths, ClearupBatchText,
    testing::Values(
        // "%" would start a variable in a batch file.
        BatchCase{"PercentDoubled", L"C:\\100%Tools\\Veltrane\\unins000.exe", L"",
                  "C:\\100%Tools\\Veltrane\\",
                  ":start\r\n@echo off\r\ncls\r\n"
                  "del \"C:\\100%%Tools\\Veltrane\\unins000.exe\"\r\n"
                  "if  exist \"C:\\100%%Tools\\Veltrane\\unins000.exe\" goto start\r\n"
                  "call \"C:\\100%%Tools\\clearup.bat\"\r\n"
                  "del \"C:\\100%%Tools\\Veltrane\\clearup.bat\"\r\n"},
        // The batch can only name the file as <name>.exe.
        BatchCase{"NotAnExe", L"C:\\Veltrane\\unins000.bin", L"", "", ""},
        BatchCase{"OnlyAnExtension", L"C:\\Veltrane\\.exe", L"", "", ""},
        BatchCase{"NoFolder", L"unins000.exe", L"", "", ""}, BatchCase{"Empty", L"", L"", "", ""}),
    CaseName);

} // namespace
} // namespace vt

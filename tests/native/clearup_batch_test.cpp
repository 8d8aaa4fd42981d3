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

// The batch's lines for the uninstaller <exe>; <parent> is the parent folder's batch to call,
// none when it is not called.
std::string Lines(const std::string& folder, const std::string& exe, const char* parent) {
    return ":start\r\n@echo off\r\ncls\r\ndel \"" + exe + "\"\r\nif  exist \"" + exe +
           "\" goto start\r\n" + (parent ? "call \"" + std::string(parent) + "\"\r\n" : "") +
           "del \"" + folder + "clearup.bat\"\r\n";
}

TEST(ClearupBatch, IsExactlyTheExpectedBytes) {
    const struct {
        const char* name;
        std::wstring exePath, shortExePath;
        std::string folder; // empty: no batch at all
        std::string text;
        bool parentBatchTrusted = true;
    } cases[] = {
        {"ProgramFiles", L"C:\\Program Files\\Veltrane\\unins000.exe",
         L"C:\\PROGRA~1\\VELTRANE\\UNINS000.EXE", "C:\\Program Files\\Veltrane\\",
         ":start\r\n"
         "@echo off\r\n"
         "cls\r\n"
         "del \"C:\\Program Files\\Veltrane\\unins000.exe\"\r\n"
         "if  exist \"C:\\Program Files\\Veltrane\\unins000.exe\" goto start\r\n"
         "call \"C:\\Program Files\\clearup.bat\"\r\n"
         "del \"C:\\Program Files\\Veltrane\\clearup.bat\"\r\n"},
        // The name without its extension, as it is; the batch adds ".exe" itself.
        {"RenamedUpperCaseExecutable", L"D:\\Tools\\V\\Remove Veltrane.EXE", L"", "D:\\Tools\\V\\",
         Lines("D:\\Tools\\V\\", "D:\\Tools\\V\\Remove Veltrane.exe", "D:\\Tools\\clearup.bat")},
        // One level below the root: the parent is the root, which is another folder.
        {"BelowDriveRoot", L"C:\\Veltrane\\unins000.exe", L"", "C:\\Veltrane\\",
         Lines("C:\\Veltrane\\", "C:\\Veltrane\\unins000.exe", "C:\\clearup.bat")},
        // At a drive root the parent's batch would be this one: no call, six lines.
        {"DriveRoot", L"e:\\UNINS000.exe", L"", "e:\\",
         ":start\r\n@echo off\r\ncls\r\n"
         "del \"e:\\UNINS000.exe\"\r\n"
         "if  exist \"e:\\UNINS000.exe\" goto start\r\n"
         "del \"e:\\clearup.bat\"\r\n"},
        // A parent folder that others may write to: its batch is not called.
        {"UntrustedParent", L"D:\\Tools\\Veltrane\\unins000.exe", L"", "D:\\Tools\\Veltrane\\",
         Lines("D:\\Tools\\Veltrane\\", "D:\\Tools\\Veltrane\\unins000.exe", nullptr), false},
        {"NetworkShare", L"\\\\server\\apps\\Veltrane\\unins000.exe", L"",
         "\\\\server\\apps\\Veltrane\\",
         Lines("\\\\server\\apps\\Veltrane\\", "\\\\server\\apps\\Veltrane\\unins000.exe",
               "\\\\server\\apps\\clearup.bat")},
        // "%" would start a variable in a batch file.
        {"PercentDoubled", L"C:\\100%Tools\\Veltrane\\unins000.exe", L"",
         "C:\\100%Tools\\Veltrane\\",
         Lines("C:\\100%%Tools\\Veltrane\\", "C:\\100%%Tools\\Veltrane\\unins000.exe",
               "C:\\100%%Tools\\clearup.bat")},
        // Without a short form, what the code page carries is written in its bytes (here 0xE9
        // for e acute).
        {"AnsiCharactersWithoutShortForm", L"C:\\Programme\\Caf\u00e9\\unins000.exe", L"",
         "C:\\Programme\\Caf\xe9\\",
         Lines("C:\\Programme\\Caf\xe9\\", "C:\\Programme\\Caf\xe9\\unins000.exe",
               "C:\\Programme\\clearup.bat")},
        // The console may read those bytes in another code page: the short form is certain.
        {"ShortFormBeyondAscii", L"C:\\Programme\\Caf\u00e9\\unins000.exe",
         L"C:\\PROGRA~1\\CAF~1\\UNINS000.EXE", "C:\\PROGRA~1\\CAF~1\\",
         Lines("C:\\PROGRA~1\\CAF~1\\", "C:\\PROGRA~1\\CAF~1\\UNINS000.exe",
               "C:\\PROGRA~1\\clearup.bat")},
        // A folder the code page cannot carry: the short form everywhere, pure ASCII.
        {"ShortFormForUnwritableFolder",
         L"C:\\Program Files\\\u0412\u0435\u043b\u044c\u0442\u0440\u0430\u043d\\unins000.exe",
         L"C:\\PROGRA~1\\HX4K~1\\UNINS000.EXE", "C:\\PROGRA~1\\HX4K~1\\",
         ":start\r\n@echo off\r\ncls\r\n"
         "del \"C:\\PROGRA~1\\HX4K~1\\UNINS000.exe\"\r\n"
         "if  exist \"C:\\PROGRA~1\\HX4K~1\\UNINS000.exe\" goto start\r\n"
         "call \"C:\\PROGRA~1\\clearup.bat\"\r\n"
         "del \"C:\\PROGRA~1\\HX4K~1\\clearup.bat\"\r\n"},
        {"ShortFormForUnwritableName", L"C:\\Veltrane\\\u5378\u8f7d.exe",
         L"C:\\Veltrane\\1A2B~1.EXE", "C:\\Veltrane\\",
         Lines("C:\\Veltrane\\", "C:\\Veltrane\\1A2B~1.exe", "C:\\clearup.bat")},
        // No batch can be written without a trustworthy short form: none (names switched off on
        // the volume), the long path handed back, characters outside ASCII, or control
        // characters that would break the batch's lines.
        {"NoShortForm", L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe", L"", "", ""},
        {"ShortFormIsTheLongOne", L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe",
         L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe", "", ""},
        {"ShortFormNotAscii", L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe",
         L"C:\\CAF\u00c9~1\\UNINS000.EXE", "", ""},
        {"ShortFormWithLineBreak", L"C:\\\u0412\u0435\u043b\u044c\\unins000.exe",
         L"C:\\AB\r\nCD~1\\UNINS000.EXE", "", ""},
        // The batch can only name the file as <name>.exe.
        {"NotAnExe", L"C:\\Veltrane\\unins000.bin", L"", "", ""},
        {"OnlyAnExtension", L"C:\\Veltrane\\.exe", L"", "", ""},
        {"NoFolder", L"unins000.exe", L"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ClearupBatch> batch =
            MakeClearupBatch(c.exePath, c.shortExePath, c.parentBatchTrusted, Latin1);
        if (c.folder.empty()) {
            EXPECT_FALSE(batch.has_value());
            continue;
        }
        ASSERT_TRUE(batch.has_value());
        EXPECT_EQ(batch->text, c.text);
        EXPECT_EQ(batch->folder, c.folder);
        EXPECT_EQ(batch->Path(), c.folder + "clearup.bat");
    }
}

} // namespace
} // namespace vt

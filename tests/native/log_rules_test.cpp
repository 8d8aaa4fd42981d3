// The installer's log as the scan reads it: its pieces, the entry each names, and what
// becomes of a file entry.
#include "uninstall/install_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {
namespace {

using namespace std::string_literals;

TEST(InstallLog, PiecesFollowEachDriveSeparator) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"no drive here\0\0"s, {}},
        {"head C:\\a.txt\0\0mid D:\\b.txt"s, {"a.txt\0\0mid D"s, "b.txt"}},
        {":\\:\\", {"", ""}},
        {"c:/x C:\\\\y", {"\\y"}},
    };
    for (const auto& [log, pieces] : cases) {
        std::vector<std::string> seen;
        ForEachLogPiece(log, [&](std::string_view piece) { seen.emplace_back(piece); });
        EXPECT_EQ(seen, pieces) << testing::PrintToString(log);
    }
}

TEST(InstallLog, EntryKindTextAndThePathTheFileSystemSees) {
    using enum LogEntryKind;
    const struct {
        std::string piece;
        LogEntryKind kind;
        std::string text, path;
    } cases[] = {
        // The installer's records: two record bytes after a file's extension, and the
        // installation folder with its 0x82 marker.
        {"Program Files\\Veltrane\\Readme.txtAB\0\0\x05"s, File,
         "Program Files\\Veltrane\\Readme.txt", "Program Files\\Veltrane\\Readme.txt"},
        {"Program Files\\Veltrane\x01\x82\x02\x03\0\0"s, Folder,
         "Program Files\\Veltrane\x01\x82\x02\x03\0"s, "Program Files\\Veltrane\x01\x82\x02\x03"},
        // Longer extensions are cut to three characters; shorter ones keep the NUL, which the
        // length and the marker's place count.
        {"web\\page.html\0\0"s, File, "web\\page.htm", "web\\page.htm"},
        {"web\\ab.cd\0\0"s, File, "web\\ab.cd\0"s, "web\\ab.cd"},
        {"x.c\0\0"s, None, "x.c\0"s, "x.c"},
        {"tools\\x.exe\0tail"s, None, "", ""}, // no NUL pair before the next drive
        // Five characters or fewer is no path.
        {"a.txt\0\0"s, None, "a.txt", "a.txt"},
        {"ab.txt\0\0"s, File, "ab.txt", "ab.txt"},
        // Libraries may be shared: they stay, whatever their case, a longer type cut first.
        {"sys\\Orvale.DLL\0\0"s, Library, "sys\\Orvale.DLL", "sys\\Orvale.DLL"},
        {"sys\\Grid.ocx\0\0"s, Library, "sys\\Grid.ocx", "sys\\Grid.ocx"},
        {"sys\\a.tlbx\0\0"s, Library, "sys\\a.tlb", "sys\\a.tlb"},
        {"sys\\a.dll.bak\0\0"s, File, "sys\\a.dll.bak", "sys\\a.dll.bak"},
        // Leading blanks go; a lone NUL inside ends what the file system sees.
        {"  dir\\name.txt\0\0"s, File, "dir\\name.txt", "dir\\name.txt"},
        {"dir\0old\\name.txt\0\0"s, File, "dir\0old\\name.txt"s, "dir"},
        // The marker counts from the end of the cut entry, its NUL included.
        {"dir\\sub\x82zzz\0\0"s, File, "dir\\sub\x82zzz\0"s, "dir\\sub\x82zzz"},
        {"dir\\sub.\x82zz\0\0"s, File, "dir\\sub.\x82zz", "dir\\sub.\x82zz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.piece));
        const LogEntry entry = ReadLogEntry(c.piece);
        EXPECT_EQ(entry.kind, c.kind);
        EXPECT_EQ(entry.text, c.text);
        EXPECT_EQ(entry.Path(), c.path);
    }
}

TEST(InstallLog, MissingFilesAdvanceTheRunningUninstallerAndSilentPlugInsStay) {
    using enum LogFileStep;
    constexpr LogScanChoices kPlain{"unins000.exe", false, false};
    constexpr LogScanChoices kSilent{"unins000.exe", true, false};
    constexpr LogScanChoices kKeepPlugIns{"unins000.exe", false, true};
    const struct {
        const char* entry;
        bool exists;
        LogScanChoices choices;
        LogFileStep step;
    } cases[] = {
        {"v\\readme.txt", true, kPlain, DeleteAndAdvance},
        {"v\\readme.txt", false, kPlain, Advance},
        {"v\\readme.txt", true, kKeepPlugIns, Advance},
        {"v\\readme.txt", true, kSilent, DeleteAndAdvance},
        {"v\\UNINS000.EXE", true, kPlain, PassOver},
        {"v\\myunins000.exe", true, kKeepPlugIns, PassOver},
        {"v\\unins001.exe", true, kPlain, DeleteAndAdvance},
        {"v\\p\\cookies.vtp", true, kSilent, PassOver},
        {"v\\p\\cookies.vtp", false, kSilent, Advance},
        {"v\\p\\cookies.vtp", true, kPlain, DeleteAndAdvance},
        {"v\\unins000.exe", true, LogScanChoices{"", false, false}, DeleteAndAdvance},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StepForLogFile(c.entry, c.exists, c.choices), c.step) << c.entry;
    }
}

} // namespace
} // namespace vt

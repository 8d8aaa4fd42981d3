#include "uninstall/install_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {
namespace {

using namespace std::string_literals;

std::vector<std::string> Pieces(const std::string& log) {
    std::vector<std::string> pieces;
    ForEachLogPiece(log, [&](std::string_view piece) { pieces.emplace_back(piece); });
    return pieces;
}

TEST(ForEachLogPiece, CutsAtEveryDriveSeparatorAndDropsWhatComesBefore) {
    const struct {
        std::string log;
        std::vector<std::string> pieces;
    } cases[] = {
        {"", {}},
        {"no drive here\0\0"s, {}},
        {"head C:\\a.txt\0\0mid D:\\b.txt"s, {"a.txt\0\0mid D"s, "b.txt"}},
        {":\\:\\", {"", ""}},
        {"C:\\", {""}},
        {"c:/x C:\\\\y", {"\\y"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pieces(c.log), c.pieces) << testing::PrintToString(c.log);
    }
}

TEST(ReadLogEntry, TheEntryTheKindAndThePathTheFileSystemSees) {
    const struct {
        std::string piece;
        LogEntryKind kind;
        std::string text;
        std::string path;
    } cases[] = {
        // The two pieces the installer's records give: a file with two record bytes after its
        // extension, and the installation folder with its 0x82 marker.
        {"Program Files\\Veltrane\\Readme.txtAB\0\0\x05"s, LogEntryKind::File,
         "Program Files\\Veltrane\\Readme.txt", "Program Files\\Veltrane\\Readme.txt"},
        {"Program Files\\Veltrane\x01\x82\x02\x03\0\0"s, LogEntryKind::Folder,
         "Program Files\\Veltrane\x01\x82\x02\x03\0"s, "Program Files\\Veltrane\x01\x82\x02\x03"},
        // Longer extensions are cut to three characters; one- and two-character extensions
        // keep the NUL, which the length and marker tests count.
        {"web\\page.html\0\0"s, LogEntryKind::File, "web\\page.htm", "web\\page.htm"},
        {"web\\ab.cd\0\0"s, LogEntryKind::File, "web\\ab.cd\0"s, "web\\ab.cd"},
        {"x.c\0\0"s, LogEntryKind::None, "x.c\0"s, "x.c"},
        {"ab.c\0\0"s, LogEntryKind::None, "ab.c\0"s, "ab.c"},
        {"abc.d\0\0"s, LogEntryKind::File, "abc.d\0"s, "abc.d"},
        // No NUL pair before the next drive, or none at all: no entry.
        {"tools\\x.exe\0tail"s, LogEntryKind::None, "", ""},
        {""s, LogEntryKind::None, "", ""},
        {"\0\0"s, LogEntryKind::None, "\0"s, ""},
        // Five characters or fewer, counting the kept NUL, is no path.
        {"a.txt\0\0"s, LogEntryKind::None, "a.txt", "a.txt"},
        {"ab.txt\0\0"s, LogEntryKind::File, "ab.txt", "ab.txt"},
        {"abcde\0\0"s, LogEntryKind::File, "abcde\0"s, "abcde"},
        // Libraries stay whatever their case; a longer type is cut to one first.
        {"sys\\Orvale.DLL\0\0"s, LogEntryKind::Library, "sys\\Orvale.DLL", "sys\\Orvale.DLL"},
        {"sys\\a.tlbx\0\0"s, LogEntryKind::Library, "sys\\a.tlb", "sys\\a.tlb"},
        {"sys\\a.dll.bak\0\0"s, LogEntryKind::File, "sys\\a.dll.bak", "sys\\a.dll.bak"},
        // Leading blanks go; a single NUL inside the entry ends what the file system sees.
        {"  dir\\name.txt\0\0"s, LogEntryKind::File, "dir\\name.txt", "dir\\name.txt"},
        {"dir\0old\\name.txt\0\0"s, LogEntryKind::File, "dir\0old\\name.txt"s, "dir"},
        // The marker counts from the end of the cut entry, its NUL included.
        {"dir\\sub\x82zzz\0\0"s, LogEntryKind::File, "dir\\sub\x82zzz\0"s, "dir\\sub\x82zzz"},
        {"dir\\sub.\x82zz\0\0"s, LogEntryKind::File, "dir\\sub.\x82zz", "dir\\sub.\x82zz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.piece));
        const LogEntry entry = ReadLogEntry(c.piece);
        EXPECT_EQ(entry.kind, c.kind);
        EXPECT_EQ(entry.text, c.text);
        EXPECT_EQ(entry.Path(), c.path);
    }
}

TEST(PieceNamesFolder, TheFolderItselfNotOneBesideOrBelowIt) {
    const struct {
        std::string piece;
        const char* folder;
        bool names;
    } cases[] = {
        {"Tools\x01\x82\x02\x03\0\0"s, "tools", true},
        {"  Tools\\\x01\x82\x02\x03\0\0"s, "Tools", true},
        {"Tools\x82\x02\x03\0\0"s, "Tools", true},
        // A "." in a folder's name is no extension to cut at.
        {"Apps\\Veltrane 3.0\x01\x82\x02\x03\0\0"s, "apps\\veltrane 3.0", true},
        {"Tools\x01\x82\x02\x03\0\0"s, "Tool", false},
        {"Tools2\x01\x82\x02\x03\0\0"s, "Tools", false},
        {"Tools\\Sub\x01\x82\x02\x03\0\0"s, "Tools", false},
        {"Tools\\Sub\x01\x82\x02\x03\0\0"s, "Tools\\Sub", true},
        // Not a folder's record: no mark, or no NUL pair before the next drive.
        {"Tools\x01\x83\x02\x03\0\0"s, "Tools", false},
        {"Tools\x01\x82\x02\x03\0"s, "Tools", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PieceNamesFolder(c.piece, c.folder), c.names)
            << testing::PrintToString(c.piece) << " " << c.folder;
    }
}

TEST(StepForLogFile, MissingFilesAdvanceTheRunningUninstallerAndSilentPlugInsStay) {
    constexpr LogScanChoices kPlain{"unins000.exe", false, false};
    constexpr LogScanChoices kSilent{"unins000.exe", true, false};
    constexpr LogScanChoices kKeepPlugIns{"unins000.exe", false, true};
    const struct {
        const char* entry;
        bool exists;
        LogScanChoices choices;
        LogFileStep step;
    } cases[] = {
        {"v\\readme.txt", true, kPlain, LogFileStep::DeleteAndAdvance},
        {"v\\readme.txt", false, kPlain, LogFileStep::Advance},
        {"v\\readme.txt", true, kKeepPlugIns, LogFileStep::Advance},
        {"v\\UNINS000.EXE", true, kPlain, LogFileStep::PassOver},
        {"v\\unins000.exe", false, kPlain, LogFileStep::Advance},
        {"v\\myunins000.exe", true, kKeepPlugIns, LogFileStep::PassOver},
        {"v\\unins001.exe", true, kPlain, LogFileStep::DeleteAndAdvance},
        {"v\\p\\cookies.vtp", true, kSilent, LogFileStep::PassOver},
        {"v\\p\\cookies.vtp", false, kSilent, LogFileStep::Advance},
        {"v\\p\\cookies.vtp", true, kPlain, LogFileStep::DeleteAndAdvance},
        {"v\\readme.txt", true, kSilent, LogFileStep::DeleteAndAdvance},
        {"v\\unins000.exe", true, LogScanChoices{"", false, false}, LogFileStep::DeleteAndAdvance},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StepForLogFile(c.entry, c.exists, c.choices), c.step) << c.entry;
    }
}

} // namespace
} // namespace vt

// The installer's log as the scan reads it: its pieces, the entry each names, and what
// becomes of a file entry.
#include "tests/native/rows.h"
#include "uninstall/install_log.h"

#include <string>
#include <tuple>
#include <vector>

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

TEST(InstallLog, PiecesFollowEachDriveSeparator) {
    ExpectRows<std::vector<std::string>>(
        {{Pieces("no drive here\0\0"s), {}},
         {Pieces("head C:\\a.txt\0\0mid D:\\b.txt"s), {"a.txt\0\0mid D"s, "b.txt"}},
         {Pieces(":\\:\\"), {"", ""}},
         {Pieces("c:/x C:\\\\y"), {"\\y"}}});
}

TEST(InstallLog, EntriesAsTheInstallerRecordsThem) {
    ExpectRows<Entry>({
        // Two record bytes after a file's extension; the installation folder's 0x82 marker.
        {Read("Program Files\\V\\Readme.txtAB\0\0\x05"s),
         {File, "Program Files\\V\\Readme.txt", "Program Files\\V\\Readme.txt"}},
        {Read("Program Files\\V\x01\x82\x02\x03\0\0"s),
         {Folder, "Program Files\\V\x01\x82\x02\x03\0"s, "Program Files\\V\x01\x82\x02\x03"}},
        // Longer extensions are cut to three characters; shorter ones keep the NUL, which the
        // length and the marker's place count. Five characters or fewer is no path.
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

TEST(InstallLog, MissingFilesAdvanceTheRunningUninstallerAndSilentPlugInsStay) {
    constexpr LogScanChoices kPlain{"unins000.exe", false, false};
    constexpr LogScanChoices kSilent{"unins000.exe", true, false};
    constexpr LogScanChoices kKeep{"unins000.exe", false, true}; // the plug-ins
    ExpectRows<LogFileStep>({{StepForLogFile("v\\readme.txt", true, kPlain), DeleteAndAdvance},
                             {StepForLogFile("v\\readme.txt", false, kPlain), Advance},
                             {StepForLogFile("v\\readme.txt", true, kKeep), Advance},
                             {StepForLogFile("v\\readme.txt", true, kSilent), DeleteAndAdvance},
                             {StepForLogFile("v\\UNINS000.EXE", true, kPlain), PassOver},
                             {StepForLogFile("v\\myunins000.exe", true, kKeep), PassOver},
                             {StepForLogFile("v\\unins001.exe", true, kPlain), DeleteAndAdvance},
                             {StepForLogFile("v\\p\\a.vtp", true, kSilent), PassOver},
                             {StepForLogFile("v\\p\\a.vtp", false, kSilent), Advance},
                             {StepForLogFile("v\\p\\a.vtp", true, kPlain), DeleteAndAdvance},
                             {StepForLogFile("v\\unins000.exe", true, {}), DeleteAndAdvance}});
}

} // namespace
} // namespace vt

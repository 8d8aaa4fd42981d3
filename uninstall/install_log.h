// What the uninstaller reads in the installer's log "unins000.dat". The log is 8-bit text;
// every path in it begins after a drive letter and ":\" and is followed, some time after its
// end, by two NUL bytes. Nothing else of the installer's record layout is relied on: the bytes
// around each path are the installer's own.
//
// The rules work on the log's bytes where they lie, without copying them: a 200 MB log costs
// 200 MB, not twice or three times that. Letters are compared without regard to ASCII case, as
// if the log had been lower-cased, and the caller converts each path that it tests through the
// ANSI code page. Platform-neutral, so that they are checked natively and fuzzed.
#pragma once

#include <cstddef>
#include <string_view>

namespace vt {

inline constexpr std::string_view kDriveSeparator = ":\\";

// Calls visit(piece) for each piece of the log that follows a ":\", in order. A piece runs to
// the next ":\" or to the end of the log; the text before the first ":\" is no piece.
template <class Visit> void ForEachLogPiece(std::string_view log, Visit&& visit) {
    std::size_t at = log.find(kDriveSeparator);
    while (at != std::string_view::npos) {
        const std::size_t start = at + kDriveSeparator.size();
        at = log.find(kDriveSeparator, start);
        visit(
            log.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    }
}

enum class LogEntryKind {
    None,    // no path: no NUL pair in the piece, or five characters or fewer
    Library, // ends in .dll, .ocx, .tlb or .pif: libraries may be shared, they stay
    Folder,  // an installed folder, marked by the byte 0x82: the scan removes no folder
    File,    // a file to look for
};

struct LogEntry {
    LogEntryKind kind = LogEntryKind::None;
    // The entry as cut from its piece: up to its first NUL, or up to the third character after
    // its last "." when that comes first.
    std::string_view text;
    // For the installer's record of a folder it made: that folder, as the log spells it after
    // the drive's ":\", without trailing backslashes; empty for any other record. The record is
    // read whole, since a folder's name may hold a "." ("Veltrane 3.0") that the cut above would
    // take for an extension. It is the path, four bytes of the installer's, the second of them
    // the folder mark, and the NUL: the three others may be anything, so the mark never tells
    // where the path ends ("Tools2" then the mark names "Tools").
    std::string_view folder;
    // What the file system is given: the text up to its NUL, which a short extension keeps.
    std::string_view Path() const { return text.substr(0, text.find('\0')); }
};

// The entry that one piece of the log names. The scan, the decision whether the program folder
// is the product's own and every question whether the log names a file all read it here.
LogEntry ReadLogEntry(std::string_view piece);

// The choices of the run that decide what happens to a file entry.
struct LogScanChoices {
    std::string_view ownExeFile; // the uninstaller's own file name, "unins000.exe"
    bool silent = false;
    bool keepPlugIns = false;
};

enum class LogFileStep {
    PassOver,         // no progress step: the running uninstaller, or a plug-in in a silent run
    Advance,          // a step of the bar only: the file is missing, or the plug-ins are kept
    DeleteAndAdvance, // the file goes, and the bar moves whether or not it could be deleted
};

// What the scan does with a file entry whose path does or does not exist.
LogFileStep StepForLogFile(std::string_view entry, bool exists, const LogScanChoices& choices);

} // namespace vt

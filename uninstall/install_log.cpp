#include "uninstall/install_log.h"

namespace vt {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` ends in `lowerSuffix`, letters compared without regard to ASCII case.
bool EndsWithNoCase(std::string_view text, std::string_view lowerSuffix) {
    if (text.size() < lowerSuffix.size()) {
        return false;
    }
    const std::string_view tail = text.substr(text.size() - lowerSuffix.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (LowerAscii(tail[i]) != LowerAscii(lowerSuffix[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Paths the installer logs end in "." and a three-character extension; what follows those
// three characters belongs to the installer's record.
std::string_view CutAfterExtension(std::string_view entry) {
    const std::size_t dot = entry.rfind('.');
    if (dot == std::string_view::npos) {
        return entry;
    }
    return entry.substr(0, dot + 4);
}

constexpr std::string_view kLibraryTypes[] = {".dll", ".ocx", ".tlb", ".pif"};
constexpr std::size_t kShortestPath = 6;
constexpr char kFolderMark = '\x82';
// After a folder's path: four bytes of the installer's record, then the NUL the entry keeps.
constexpr std::size_t kFolderRecordBytes = 5;
constexpr std::string_view kPlugInType = ".vtp";

} // namespace

LogEntry ReadLogEntry(std::string_view piece) {
    using namespace std::string_view_literals;
    const std::size_t nulPair = piece.find("\0\0"sv);
    if (nulPair == std::string_view::npos) {
        return {};
    }
    // The entry keeps the first NUL of the pair.
    const std::string_view whole = TrimBlanks(piece.substr(0, nulPair + 1));
    std::string_view folder;
    if (whole.size() >= kShortestPath && whole[whole.size() - 4] == kFolderMark) {
        folder = whole.substr(0, whole.size() - kFolderRecordBytes);
        folder = folder.substr(0, folder.find_last_not_of('\\') + 1);
    }
    const std::string_view text = CutAfterExtension(whole);
    for (std::string_view type : kLibraryTypes) {
        if (EndsWithNoCase(text, type)) {
            return {LogEntryKind::Library, text, folder};
        }
    }
    if (text.size() < kShortestPath) {
        return {LogEntryKind::None, text, folder};
    }
    if (text[text.size() - 4] == kFolderMark) {
        return {LogEntryKind::Folder, text, folder};
    }
    return {LogEntryKind::File, text, folder};
}

LogFileStep StepForLogFile(std::string_view entry, bool exists, const LogScanChoices& choices) {
    if (!exists) {
        return LogFileStep::Advance;
    }
    // The running uninstaller is removed by its batch once it has ended. Compared without
    // regard to case, so that no spelling of its name in the log reaches the running file.
    if (!choices.ownExeFile.empty() && EndsWithNoCase(entry, choices.ownExeFile)) {
        return LogFileStep::PassOver;
    }
    if (choices.silent && EndsWithNoCase(entry, kPlugInType)) {
        return LogFileStep::PassOver;
    }
    return choices.keepPlugIns ? LogFileStep::Advance : LogFileStep::DeleteAndAdvance;
}

} // namespace vt

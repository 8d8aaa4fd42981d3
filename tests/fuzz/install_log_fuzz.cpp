// Feeds arbitrary bytes to the install-log rules as a log, and checks what must hold for any
// log: the pieces tile it after the first ":\", every entry lies inside its piece with what the
// file system sees free of NULs, a file entry passes every test of the rules, and nothing is
// deleted while the plug-ins are kept.
#include "uninstall/install_log.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view log(reinterpret_cast<const char*>(data), size);
    std::size_t next = log.find(":\\");
    vt::ForEachLogPiece(log, [&](std::string_view piece) {
        Check(next != std::string_view::npos && piece.data() == log.data() + next + 2);
        next = log.find(":\\", next + 2);
        Check(piece.find(":\\") == std::string_view::npos);

        const vt::LogEntry entry = vt::ReadLogEntry(piece);
        Check(entry.text.empty() ||
              (entry.text.data() >= piece.data() && entry.text.end() <= piece.end()));
        Check(entry.Path().find('\0') == std::string_view::npos);
        if (entry.kind == vt::LogEntryKind::File) {
            const std::string_view text = entry.text;
            Check(text.size() >= 6 && text[text.size() - 4] != '\x82' && text.front() != ' ');
            Check(text.rfind('.') == std::string_view::npos || text.rfind('.') + 4 >= text.size());
        }
        for (bool silent : {false, true}) {
            const vt::LogScanChoices keep{"unins000.exe", silent, true};
            Check(vt::StepForLogFile(entry.text, true, keep) != vt::LogFileStep::DeleteAndAdvance);
            Check(vt::StepForLogFile(entry.text, false, keep) == vt::LogFileStep::Advance);
        }
    });
    Check(next == std::string_view::npos);
    return 0;
}

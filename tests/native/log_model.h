// A second reading of the installer's log, written from the scan's rules alone and sharing no
// code with the uninstaller's reader, and what holds the two readings against each other.
#pragma once

#include "uninstall/install_log.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace vt::test {

// In the order of the uninstaller's own, so that the two compare by number.
enum class ModelKind { None, Library, Folder, File };
enum class ModelStep { PassOver, Advance, DeleteAndAdvance };

struct ModelEntry {
    ModelKind kind = ModelKind::None;
    std::string text;   // lower-cased, cut after the extension; the path up to its first NUL
    std::string folder; // what a record marked as a folder's names
};

inline std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return lower;
}

// An entry for each piece that follows a ":\", in order.
inline std::vector<ModelEntry> ModelReadLog(std::string_view log) {
    const std::string text = LowerAscii(log);
    std::vector<ModelEntry> entries;
    for (std::size_t at = text.find(":\\"), next; at != std::string::npos; at = next) {
        next = text.find(":\\", at + 2);
        const std::string piece = text.substr(at + 2, next - at - 2);
        // Up to and with the first NUL of the first NUL pair; it ends with that NUL, so of the
        // spaces at both ends only leading ones can go.
        const std::size_t pair = piece.find(std::string_view("\0\0", 2));
        std::string whole = pair == std::string::npos ? "" : piece.substr(0, pair + 1);
        whole.erase(0, whole.find_first_not_of(' '));
        // Up to and with the third character after the last ".", when the entry runs that far.
        const std::size_t dot = whole.rfind('.');
        ModelEntry& entry = entries.emplace_back();
        entry.text = whole.substr(0, dot == std::string::npos ? dot : dot + 4);
        const std::string& e = entry.text;
        if (e.ends_with(".dll") || e.ends_with(".ocx") || e.ends_with(".tlb") ||
            e.ends_with(".pif")) {
            entry.kind = ModelKind::Library;
        } else if (e.size() > 5) {
            entry.kind = e[e.size() - 4] == '\x82' ? ModelKind::Folder : ModelKind::File;
        }
        // A folder's record is read whole (the folder's own name may hold a "."): the text before
        // its last five characters, trailing backslashes dropped.
        if (whole.size() > 5 && whole[whole.size() - 4] == '\x82') {
            entry.folder = whole.substr(0, whole.find_last_not_of('\\', whole.size() - 6) + 1);
        }
    }
    return entries;
}

inline ModelStep ModelStepFor(const std::string& text, bool exists, bool silent, bool keep) {
    using enum ModelStep;
    const bool passOver = text.ends_with("unins000.exe") || (silent && text.ends_with(".vtp"));
    return !exists ? Advance : passOver ? PassOver : keep ? Advance : DeleteAndAdvance;
}

// Bytes as a person can read them: backslashes doubled, anything unprintable in hex.
inline std::string Escaped(std::string_view bytes) {
    std::string out;
    for (const unsigned char c : bytes) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        out += c == '\\' ? "\\\\" : c >= ' ' && c < 0x7f ? std::string(1, char(c)) : hex;
    }
    return out;
}

// Each piece the two readings of `log` differ on, with both: kind, entry, folder, and a file's
// step for each choice of exists, silent and keep plug-ins.
inline std::string LogDisagreement(std::string_view log) {
    std::vector<std::string_view> pieces;
    ForEachLogPiece(log, [&](std::string_view piece) { pieces.push_back(piece); });
    const std::vector<ModelEntry> model = ModelReadLog(log);
    if (pieces.size() != model.size()) {
        return std::to_string(pieces.size()) + " pieces vs " + std::to_string(model.size());
    }
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const LogEntry e = ReadLogEntry(pieces[i]);
        const ModelEntry& m = model[i];
        std::string theirs = std::to_string(int(e.kind)) + " '" + LowerAscii(e.text) + "' '" +
                             LowerAscii(e.folder) + "' ";
        std::string ours = std::to_string(int(m.kind)) + " '" + m.text + "' '" + m.folder + "' ";
        for (int c = 0; c < 8 && e.kind == LogEntryKind::File; ++c) {
            const bool exists = c & 1, silent = c & 2, keep = c & 4;
            theirs +=
                std::to_string(int(StepForLogFile(e.text, exists, {"unins000.exe", silent, keep})));
            ours += std::to_string(int(ModelStepFor(m.text, exists, silent, keep)));
        }
        if (theirs != ours) {
            out +=
                Escaped("piece '" + std::string(pieces[i]) + "': " + theirs + " vs " + ours) + "\n";
        }
    }
    return out;
}

} // namespace vt::test

#include "uninstall/program_folder.h"

#include "uninstall/form1_rules.h"

namespace vt {

namespace {

constexpr std::wstring_view kLongForm = L"\\\\?\\";
constexpr std::wstring_view kLongUnc = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevice = L"\\\\.\\";
constexpr std::wstring_view kUnc = L"\\\\";

// A full path cut into its components. The first `rootParts` of them are its root: the drive
// ("C:"), the server and share of a UNC path, or the volume named after "\\?\".
struct Components {
    std::vector<std::wstring_view> parts;
    std::size_t rootParts = 1;
};

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

std::optional<Components> Split(std::wstring_view path) {
    Components split;
    bool unc = false;
    if (path.starts_with(kLongUnc)) {
        path.remove_prefix(kLongUnc.size());
        unc = true;
    } else if (path.starts_with(kLongForm) || path.starts_with(kDevice)) {
        path.remove_prefix(kLongForm.size());
    } else if (path.starts_with(kUnc)) {
        path.remove_prefix(kUnc.size());
        unc = true;
    } else if (path.size() < 2 || path[1] != L':') {
        return std::nullopt; // relative: it would be resolved against some current folder
    }
    std::size_t start = 0;
    for (std::size_t at = 0; at <= path.size(); ++at) {
        if (at == path.size() || IsSeparator(path[at])) {
            if (at > start) {
                split.parts.push_back(path.substr(start, at - start));
            }
            start = at + 1;
        }
    }
    split.rootParts = unc ? 2 : 1;
    if (split.parts.size() < split.rootParts) {
        return std::nullopt;
    }
    // A drive is "C:" alone: "C:name" would be relative to the drive's current folder.
    const std::wstring_view first = split.parts.front();
    if (!unc && first.find(L':') != std::wstring_view::npos && first.size() != 2) {
        return std::nullopt;
    }
    for (std::wstring_view part : split.parts) {
        if (part == L"." || part == L"..") {
            return std::nullopt;
        }
    }
    return split;
}

wchar_t FoldAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// Whether the first `count` components of both are the same.
bool SameStart(const Components& a, const Components& b, std::size_t count) {
    if (a.rootParts != b.rootParts || a.parts.size() < count || b.parts.size() < count) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!SameName(a.parts[i], b.parts[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsSharedFolder(std::wstring_view programFolder, const std::vector<std::wstring>& knownFolders,
                    LogOfFolder log) {
    const std::optional<Components> program = Split(programFolder);
    if (!program || program->parts.size() == program->rootParts || log == LogOfFolder::DidNotMake) {
        return true;
    }
    for (const std::wstring& known : knownFolders) {
        // A known folder the system could not give (empty, or not a full path) matches nothing.
        const std::optional<Components> folder = Split(known);
        if (folder && SameStart(*program, *folder, program->parts.size())) {
            return true;
        }
    }
    return false;
}

bool LiesDirectlyIn(std::wstring_view path, std::wstring_view folder) {
    const std::optional<Components> entry = Split(path);
    const std::optional<Components> parent = Split(folder);
    return entry && parent && entry->parts.size() == parent->parts.size() + 1 &&
           SameStart(*entry, *parent, parent->parts.size());
}

std::optional<std::wstring> PathAfterDrive(std::wstring_view folder) {
    if (!LogDrivePrefix(std::wstring(folder))) {
        return std::nullopt;
    }
    std::wstring_view rest = folder.substr(folder.starts_with(kLongForm) ? kLongForm.size() : 0);
    rest.remove_prefix(3);
    while (!rest.empty() && rest.back() == L'\\') {
        rest.remove_suffix(1);
    }
    return std::wstring(rest);
}

} // namespace vt

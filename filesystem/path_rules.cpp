#include "filesystem/path_rules.h"

#include <cwctype>

namespace vt {

std::wstring CorrectPath(const std::wstring& strPath) {
    if (!strPath.empty() && strPath.back() == L'\\') {
        return strPath;
    }
    return strPath + L'\\';
}

std::wstring SearchPattern(const std::wstring& fileType) {
    return L"*" + fileType + L"*";
}

std::wstring CutBeforeLastBackslash(const std::wstring& path) {
    const std::size_t last = path.rfind(L'\\');
    return last == std::wstring::npos ? path : path.substr(0, last);
}

bool NamesOneExactPlace(const std::wstring& path) {
    if (path.find_first_of(L"*?") != std::wstring::npos) {
        return false;
    }
    const auto isLetter = [](wchar_t c) {
        return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
    };
    const bool onDrive =
        path.size() > 3 && isLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
    // \\server\share\...: a name on each side of the backslash after the server.
    const bool onShare = path.size() > 2 && path.compare(0, 2, L"\\\\") == 0 &&
                         path.find(L'\\', 2) != std::wstring::npos &&
                         path.find(L'\\', 2) + 1 < path.size() && path[2] != L'\\';
    return onDrive || onShare;
}

std::wstring NextLetterSuffix(const std::wstring& suffix) {
    std::wstring next = suffix;
    for (std::size_t i = next.size(); i-- > 0;) {
        if (next[i] != L'z') {
            ++next[i];
            return next;
        }
        next[i] = L'a';
    }
    // Every place was z (or there was none): one place more.
    return next + L'a';
}

PathCheckDecision DecidePathCheck(long attributeError, const std::wstring& path,
                                  PathCheckKind kind) {
    using Action = PathCheckDecision::Action;
    switch (attributeError) {
    case 0:
    case kErrFileNotFound: // a destination that does not exist yet passes
        return {Action::Pass, 0, {}};
    case kErrInvalidCall:
        return {Action::AskDiskError, 0, {}};
    case kErrBadFileName:
        if (kind == PathCheckKind::File) {
            return {Action::Raise, kErrBadFileName, L"'" + path + L"' is not a valid file name."};
        }
        return {Action::Raise, kErrBadFileName, L"'" + path + L"' not a valid path"};
    case kErrPathNotFound:
        // A file's message names the folder that is missing, not the file.
        return {Action::Raise, kErrPathNotFound,
                L"'" + (kind == PathCheckKind::File ? CutBeforeLastBackslash(path) : path) +
                    L"' not a valid path"};
    default:
        return {Action::Raise, attributeError, StandardDescription(attributeError)};
    }
}

std::wstring DriveNotReadyText(const std::wstring& path) {
    return path.substr(0, 2) + L" Drive not ready";
}

namespace {

bool StartsWithNoCase(const std::wstring& text, const std::wstring& start) {
    if (start.empty() || text.size() < start.size()) {
        return false;
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (std::towlower(text[i]) != std::towlower(start[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::wstring AbbreviateFolder(const std::wstring& folder, const std::wstring& a,
                              const std::wstring& b) {
    if (folder.empty()) {
        return {};
    }
    if (StartsWithNoCase(folder, a) && a.rfind(L'\\') != std::wstring::npos) {
        return folder.substr(0, 3) + L"..." + folder.substr(a.rfind(L'\\'));
    }
    if (StartsWithNoCase(folder, b) && b.rfind(L'\\') != std::wstring::npos) {
        return folder.substr(0, 3) + L"...\\Shared " + folder.substr(b.rfind(L'\\') + 1);
    }
    return folder;
}

} // namespace vt

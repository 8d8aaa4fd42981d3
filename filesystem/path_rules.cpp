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

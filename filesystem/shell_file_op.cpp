#include "filesystem/shell_file_op.h"

#include "filesystem/links.h"
#include "system/myMod.h"

#include <shellapi.h>

namespace vt {

namespace {

std::wstring DoubleNulList(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list += L'\0';
    }
    list += L'\0';
    return list;
}

// Takes the links out of what is to be deleted, before the shell sees it: the shell's delete
// enters a link to a folder on some systems and deletes what it points to. A source that is a
// link is removed here, as a link; a folder that holds one loses its links first. A source whose
// links cannot all be removed is not deleted at all. Returns the sources left for the shell.
std::vector<std::wstring> WithoutLinks(const std::vector<std::wstring>& from, bool& allRemoved) {
    std::vector<std::wstring> left;
    for (const std::wstring& path : from) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (IsLink(attributes)) {
            allRemoved = RemoveLink(path) && allRemoved;
        } else if (attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_DIRECTORY) && !RemoveLinksBelow(path)) {
            allRemoved = false;
        } else {
            left.push_back(path);
        }
    }
    return left;
}

} // namespace

int ShellFileOperation(UINT function, const std::vector<std::wstring>& from, const std::wstring* to,
                       FILEOP_FLAGS flags) {
    for (const std::wstring& path : from) {
        if (!NamesOneExactPlace(path)) {
            return ERROR_INVALID_NAME;
        }
    }
    std::vector<std::wstring> sources = from;
    bool linksRemoved = true;
    if (function == FO_DELETE) {
        sources = WithoutLinks(from, linksRemoved);
        if (sources.empty() && !from.empty()) {
            return linksRemoved ? 0 : ERROR_ACCESS_DENIED;
        }
    } else if (function == FO_COPY || function == FO_MOVE) {
        // The shell would copy what a link points to, and a link to a folder above it would
        // never end: a tree with a link in it is neither copied nor moved.
        for (const std::wstring& path : from) {
            if (HoldsLink(path)) {
                return ERROR_NOT_SUPPORTED;
            }
        }
    }
    const std::wstring fromList = DoubleNulList(sources);
    const std::wstring toList = to ? DoubleNulList({*to}) : std::wstring();
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = nullptr;
    operation.wFunc = function;
    operation.pFrom = fromList.c_str();
    operation.pTo = to ? toList.c_str() : nullptr;
    operation.fFlags = flags;
    const int result = SHFileOperationW(&operation);
    return result == 0 && !linksRemoved ? ERROR_ACCESS_DENIED : result;
}

long AttributeQueryError(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
        return kErrFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
        return kErrPathNotFound;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return kErrBadFileName;
    // A drive without its medium, one that is gone, or a path the system will not take as an
    // argument: the user may put the medium in and try again.
    case ERROR_NOT_READY:
    case ERROR_INVALID_DRIVE:
    case ERROR_NO_MEDIA_IN_DRIVE:
    case ERROR_UNRECOGNIZED_VOLUME:
    case ERROR_INVALID_PARAMETER:
        return kErrInvalidCall;
    default:
        return 75; // Path/File access error
    }
}

void CheckPath(const std::wstring& path, PathCheckKind kind, bool yieldBeforeRetry,
               AttributeErrorQuery attributeError) {
    RunPathCheck(
        path, kind, attributeError,
        [](const std::wstring& text) {
            HWND noOwner = nullptr;
            return UnicodeMsgBox(text, MB_RETRYCANCEL | MB_ICONINFORMATION, kDiskErrorTitle, L"",
                                 noOwner) == IDRETRY;
        },
        [yieldBeforeRetry] {
            if (yieldBeforeRetry) {
                DoEvents();
            }
        });
}

void FailureBeep() noexcept {
    MessageBeep(MB_OK);
}

} // namespace vt

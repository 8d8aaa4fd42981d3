#include "filesystem/shell_file_op.h"

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

} // namespace

int ShellFileOperation(UINT function, const std::vector<std::wstring>& from, const std::wstring* to,
                       FILEOP_FLAGS flags) {
    for (const std::wstring& path : from) {
        if (!NamesOneExactPlace(path)) {
            return ERROR_INVALID_NAME;
        }
    }
    const std::wstring fromList = DoubleNulList(from);
    const std::wstring toList = to ? DoubleNulList({*to}) : std::wstring();
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = nullptr;
    operation.wFunc = function;
    operation.pFrom = fromList.c_str();
    operation.pTo = to ? toList.c_str() : nullptr;
    operation.fFlags = flags;
    return SHFileOperationW(&operation);
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

// The one road of the file and folder classes to the shell's file operation, and the path
// checks that guard it.
#pragma once

#include "filesystem/path_rules.h"

#include <windows.h>

#include <string>
#include <vector>

namespace vt {

// The shell's file-operation flags the classes combine.
inline constexpr FILEOP_FLAGS kFofSilent = 0x4;
inline constexpr FILEOP_FLAGS kFofNoConfirmation = 0x10;
inline constexpr FILEOP_FLAGS kFofAllowUndo = 0x40;
inline constexpr FILEOP_FLAGS kFofNoConfirmMkdir = 0x200;
// Copy, move and rename: no questions, but the shell's progress display.
inline constexpr FILEOP_FLAGS kFofQuiet = kFofNoConfirmation | kFofNoConfirmMkdir;
// Delete: no questions and no progress display either.
inline constexpr FILEOP_FLAGS kFofQuietSilent = kFofQuiet | kFofSilent;

// Runs one shell file operation on the paths `from` (and `to`, none for deleting), each
// handed over as a double-NUL-terminated list. The shell's own error messages stay on (no
// FOF_NOERRORUI). Returns the shell's result: 0 on success. A source that is relative or holds
// a wildcard is refused with ERROR_INVALID_NAME before the shell sees it. Links are never
// followed: deleting removes a link as a link (a folder whose links cannot all be removed is
// left whole, and the result is ERROR_ACCESS_DENIED), and a copy or move of a link, or of a
// folder with one below it, is refused with ERROR_NOT_SUPPORTED.
int ShellFileOperation(UINT function, const std::vector<std::wstring>& from, const std::wstring* to,
                       FILEOP_FLAGS flags);

// The error number that reading the path's attributes raises: 0 when it exists, 53 file not
// found, 76 path not found, 52 bad file name, 5 for a drive that is not ready (or a path the
// system rejects as an argument), 75 for any other failure.
long AttributeQueryError(const std::wstring& path);

// Checks a path before a shell operation, showing the "Disk Error" box while its drive is not
// ready (Retry repeats, Cancel raises 71). A source check yields to the message loop before it
// tries again. `attributeError` is the query above unless a caller supplies its own.
using AttributeErrorQuery = long (*)(const std::wstring&);
void CheckPath(const std::wstring& path, PathCheckKind kind, bool yieldBeforeRetry,
               AttributeErrorQuery attributeError = AttributeQueryError);

// The system's default beep, for a shell operation that did not succeed.
void FailureBeep() noexcept;

} // namespace vt

// Symbolic links and junctions in what the file and folder classes delete or walk. The program
// runs elevated: a link that someone placed in a folder it deletes goes as a link, and what the
// link points to is never entered, listed or deleted.
#pragma once

#include "system/handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace vt {

// Whether attributes (of a search entry or a path) name a link. Every reparse point counts:
// symbolic links, junctions, mount points; none of them is entered.
inline bool IsLink(DWORD attributes) noexcept {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Removes the link at `path` itself. It is opened as a link, not as what it points to, checked
// to be one through that handle and deleted through it, so that nothing swapped in meanwhile is
// deleted. False, with nothing deleted, when any of that fails.
bool RemoveLink(const std::wstring& path) noexcept;

// The full path of what `file` is open as, the system's long names, without "\\?\" before a
// drive ("\\server\share\..." on a share); empty when the system cannot tell.
std::wstring OpenedPath(HANDLE file);
// The same for the folder at `folder`, opened for the moment: what files opened below it are
// compared with, so that a substituted or mapped drive or a mounted volume reads alike in both.
std::wstring OpenedFolderPath(const std::wstring& folder);

// Whether `path` lies below `top`, names compared as the file system compares them, and
// `check` holds for each folder between the two (neither included), asked deepest first.
bool LiesBelowThrough(std::wstring_view path, std::wstring_view top,
                      const std::function<bool(const std::wstring& folder)>& check);

// The file at `path` opened as itself (a link as a link) for its deletion, when what was opened
// lies below `folder` (as OpenedFolderPath names it) with no link on the way; its place is read
// from the handle, so no link, even one put on the way after any test, can lead out of the
// folder. None otherwise, and for a folder.
UniqueFile OpenFileWithin(const std::wstring& path, const std::wstring& folder) noexcept;

// Deletes the file that `file` holds open for its deletion, read-only or not.
bool DeleteOpenedFile(HANDLE file) noexcept;

// Removes every link in the folder and in its subfolders, entering none of them. False when a
// link could not be removed.
bool RemoveLinksBelow(const std::wstring& folder) noexcept;

// Whether `path` is a link or a folder with a link somewhere below it.
bool HoldsLink(const std::wstring& path) noexcept;

} // namespace vt

// Symbolic links and junctions in what the file and folder classes delete or walk. The program
// runs elevated: a link that someone placed in a folder it deletes goes as a link, and what the
// link points to is never entered, listed or deleted.
#pragma once

#include <windows.h>

#include <string>

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

// Removes every link in the folder and in its subfolders, entering none of them. False when a
// link could not be removed.
bool RemoveLinksBelow(const std::wstring& folder) noexcept;

// Whether `path` is a link or a folder with a link somewhere below it.
bool HoldsLink(const std::wstring& path) noexcept;

} // namespace vt

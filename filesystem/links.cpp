#include "filesystem/links.h"

#include "system/handles.h"

namespace vt {

namespace {

// Calls `visit` with the full path and attributes of each entry of the folder (not "." or
// ".."), in the search's order, until it returns false; false then.
template <class Visit> bool EachEntry(const std::wstring& folder, Visit&& visit) {
    const std::wstring prefix = folder.empty() || folder.back() == L'\\' ? folder : folder + L"\\";
    WIN32_FIND_DATAW entry{};
    const UniqueFind search(FindFirstFileW((prefix + L"*").c_str(), &entry));
    if (!search) {
        return true;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L".." && !visit(prefix + name, entry.dwFileAttributes)) {
            return false;
        }
    } while (FindNextFileW(search.get(), &entry));
    return true;
}

} // namespace

bool RemoveLink(const std::wstring& path) noexcept {
    const UniqueFile link(
        CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!link) {
        return false;
    }
    // A system that opens what the link points to instead (Wine does) would delete that.
    FILE_ATTRIBUTE_TAG_INFO opened{};
    if (!GetFileInformationByHandleEx(link.get(), FileAttributeTagInfo, &opened, sizeof opened) ||
        !IsLink(opened.FileAttributes)) {
        return false;
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(link.get(), FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

bool RemoveLinksBelow(const std::wstring& folder) noexcept {
    bool allRemoved = true;
    EachEntry(folder, [&](const std::wstring& path, DWORD attributes) {
        if (IsLink(attributes)) {
            allRemoved = RemoveLink(path) && allRemoved;
        } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            allRemoved = RemoveLinksBelow(path) && allRemoved;
        }
        return true;
    });
    return allRemoved;
}

bool HoldsLink(const std::wstring& path) noexcept {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (IsLink(attributes)) {
        return true;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    return !EachEntry(path, [](const std::wstring& entry, DWORD entryAttributes) {
        return !(IsLink(entryAttributes) ||
                 ((entryAttributes & FILE_ATTRIBUTE_DIRECTORY) && HoldsLink(entry)));
    });
}

} // namespace vt

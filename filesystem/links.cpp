#include "filesystem/links.h"

#include <climits>
#include <string_view>

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

std::wstring OpenedPath(HANDLE file) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(
            file, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length);
    }
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        return L"\\" + path.substr(7);
    }
    // A volume without a drive letter keeps the long form, the only one that names it.
    const bool drive = path.size() >= 7 && path.starts_with(L"\\\\?\\") && path[5] == L':';
    return drive ? path.substr(4) : path;
}

std::wstring OpenedFolderPath(const std::wstring& folder) {
    const UniqueFile opened(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                        nullptr));
    return opened ? OpenedPath(opened.get()) : std::wstring();
}

bool LiesBelowThrough(std::wstring_view path, std::wstring_view top,
                      const std::function<bool(const std::wstring& folder)>& check) {
    while (!top.empty() && top.back() == L'\\') {
        top.remove_suffix(1);
    }
    if (path.size() <= top.size() + 1 || path[top.size()] != L'\\' || top.size() > INT_MAX ||
        CompareStringOrdinal(path.data(), static_cast<int>(top.size()), top.data(),
                             static_cast<int>(top.size()), TRUE) != CSTR_EQUAL) {
        return false;
    }
    for (std::size_t end = path.rfind(L'\\'); end > top.size(); end = path.rfind(L'\\', end - 1)) {
        if (!check(std::wstring(path.substr(0, end)))) {
            return false;
        }
    }
    return true;
}

UniqueFile OpenFileWithin(const std::wstring& path, const std::wstring& folder) noexcept {
    try {
        UniqueFile file(CreateFileW(path.c_str(),
                                    DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        // A system that opens what a link on the way points to and names it by the link's path
        // (Wine does) still shows the link among the folders.
        if (file && LiesBelowThrough(OpenedPath(file.get()), folder, [](const std::wstring& way) {
                return !IsLink(GetFileAttributesW(way.c_str()));
            })) {
            return file;
        }
    } catch (...) {
    }
    return {};
}

bool DeleteOpenedFile(HANDLE file) noexcept {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
        return false;
    }
    if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) {
        const DWORD rest = basic.FileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        basic.FileAttributes = rest ? rest : FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

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

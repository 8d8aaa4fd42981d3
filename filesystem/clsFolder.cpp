#include "filesystem/clsFolder.h"

#include "filesystem/links.h"
#include "filesystem/long_path.h"
#include "filesystem/path_rules.h"
#include "filesystem/shell_file_op.h"
#include "system/ansi.h"
#include "system/errors.h"
#include "system/handles.h"
#include "system/myMod.h"
#include "system/paced_yield.h"
#include "system/reg_rules.h"

#include <windows.h>
#include <imagehlp.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace vt {

namespace {

constexpr int kCsidlProgramFiles = 0x0026;
constexpr int kCsidlProgramFilesCommon = 0x002B;

void CheckSourceFolder(const std::wstring& path) {
    CheckPath(path, PathCheckKind::Folder, /*yieldBeforeRetry=*/false);
}

void CheckDestFolder(const std::wstring& path) {
    CheckPath(path, PathCheckKind::Folder, /*yieldBeforeRetry=*/false);
}

bool IsDotEntry(const std::wstring& name) {
    return name == L"." || name == L"..";
}

// One folder listing under way: what it looks for and what it has found so far.
struct FolderWalk {
    bool includeSubFolder = false;
    std::wstring pattern;
    std::vector<std::wstring>& files; // element 0 stays empty; the paths follow in order
    std::int32_t folderCount = 0;
    PacedYield yield;
};

// The count of one folder's subfolders is 16-bit: a folder with more abandons the walk.
constexpr std::size_t kMaxSubfoldersPerFolder = 32767;

// Lists one folder's files, then walks its subfolders depth first. Files and subfolders are
// told apart by the attributes the search reports with each entry, in one pass: the order is
// the system's, as if each were searched for on its own, without a second search and two more
// lookups per entry.
void EnumFolder(const std::wstring& folder, FolderWalk& walk) {
    const std::wstring path = CorrectPath(folder);
    std::vector<std::wstring> subfolders;
    {
        WIN32_FIND_DATAW entry{};
        const UniqueFind search(FindFirstFileW((path + walk.pattern).c_str(), &entry));
        if (search) {
            do {
                const std::wstring name = TrimNull(entry.cFileName);
                // A link to a folder is neither a file nor a folder of this tree: what it
                // points to may be anywhere, even above it, and is not listed.
                const bool linkedFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                                          IsLink(entry.dwFileAttributes);
                if (!IsDotEntry(name) && !linkedFolder) {
                    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                        if (subfolders.size() == kMaxSubfoldersPerFolder) {
                            Raise(kErrOverflow);
                        }
                        subfolders.push_back(name);
                        ++walk.folderCount;
                    } else {
                        walk.files.push_back(path + name);
                    }
                }
                walk.yield();
            } while (FindNextFileW(search.get(), &entry));
        }
    } // the search is closed before the walk goes deeper
    if (walk.includeSubFolder) {
        for (const std::wstring& name : subfolders) {
            EnumFolder(path + CorrectPath(name), walk);
        }
    }
}

std::vector<std::wstring> ListFiles(const std::wstring& path, bool includeSubFolder,
                                    const std::wstring& fileType) noexcept {
    std::vector<std::wstring> files;
    ResumeNext([&] { files.emplace_back(); });
    // A folder that is itself a link lists nothing: its files lie wherever it points.
    if (IsLink(GetFileAttributesW(path.c_str()))) {
        return files;
    }
    // An error inside the walk abandons it; what was found until then is the result.
    ResumeNext([&] {
        FolderWalk walk{includeSubFolder, SearchPattern(fileType), files, 0, {}};
        EnumFolder(path, walk);
    });
    return files;
}

double SizeBelow(const std::wstring& dirPath, PacedYield& yield, const clsFolder& folders) {
    if (!folders.Exists(dirPath)) {
        return 0;
    }
    const std::wstring path = CorrectPath(dirPath);
    double total = 0;
    WIN32_FIND_DATAW entry{};
    const UniqueFind search(FindFirstFileW((path + L"*.*").c_str(), &entry));
    if (!search) {
        return 0;
    }
    do {
        const std::wstring name = TrimNull(entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A link's target is not part of the folder; "." and ".." count nothing either.
            if (!IsDotEntry(name) && !IsLink(entry.dwFileAttributes)) {
                total += SizeBelow(path + name, yield, folders);
            }
        } else {
            total += static_cast<double>(entry.nFileSizeHigh) * 4294967296.0 +
                     static_cast<double>(entry.nFileSizeLow);
        }
        yield();
    } while (FindNextFileW(search.get(), &entry));
    return total;
}

FILETIME DateToFileTime(const FolderDate& date) {
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(date.year);
    local.wMonth = static_cast<WORD>(date.month);
    local.wDay = static_cast<WORD>(date.day);
    local.wHour = static_cast<WORD>(date.hour);
    local.wMinute = static_cast<WORD>(date.minute);
    local.wSecond = static_cast<WORD>(date.second);
    FILETIME localTime{};
    FILETIME utc{};
    if (SystemTimeToFileTime(&local, &localTime)) {
        LocalFileTimeToFileTime(&localTime, &utc);
    }
    return utc;
}

} // namespace

std::wstring clsFolder::Abbreviate(const std::wstring& folder) const {
    if (folder.empty()) {
        return {};
    }
    return AbbreviateFolder(folder, GetSpecialFolder(kCsidlProgramFiles, nullptr),
                            GetSpecialFolder(kCsidlProgramFilesCommon, nullptr));
}

void clsFolder::Copy(const std::wstring& source, const std::wstring& dest) const {
    CheckSourceFolder(source);
    CheckDestFolder(dest);
    if (ShellFileOperation(FO_COPY, {source}, &dest, kFofQuiet) != 0) {
        FailureBeep();
    }
}

void clsFolder::Move(const std::wstring& source, const std::wstring& dest) const {
    CheckSourceFolder(source);
    CheckDestFolder(dest);
    if (ShellFileOperation(FO_MOVE, {source}, &dest, kFofQuiet) != 0) {
        FailureBeep();
    }
}

void clsFolder::Rename(const std::wstring& source, const std::wstring& dest) const {
    CheckSourceFolder(source);
    if (ShellFileOperation(FO_RENAME, {source}, &dest, kFofQuiet) != 0) {
        FailureBeep();
    }
}

void clsFolder::Create(const std::wstring& folder) const {
    MakeSureDirectoryPathExists(ToAnsi(CorrectPath(folder)).c_str());
}

bool clsFolder::Delete(const std::wstring& folder) const {
    if (!Exists(folder)) {
        return false;
    }
    std::wstring target = folder;
    if (!target.empty() && target.back() == L'\\') {
        target.pop_back();
    }
    // A drive's root would reach the shell as "C:", which names the drive's current folder:
    // never something a caller means to delete.
    if (target.size() <= 2) {
        return false;
    }
    return ShellFileOperation(FO_DELETE, {target}, nullptr, kFofQuietSilent) == 0;
}

void clsFolder::DeleteMultiple(const std::vector<std::wstring>& folders, bool recycleBin,
                               bool silent) const {
    for (const std::wstring& folder : folders) {
        CheckSourceFolder(folder);
    }
    FILEOP_FLAGS flags = kFofQuiet;
    if (silent) {
        flags |= kFofSilent;
    }
    if (recycleBin) {
        flags |= kFofAllowUndo;
    }
    if (ShellFileOperation(FO_DELETE, folders, nullptr, flags) != 0) {
        FailureBeep();
    }
}

bool clsFolder::Exists(const std::wstring& folder) const noexcept {
    bool result = false;
    ResumeNext([&] { result = PathIsDirectoryW(folder.c_str()) != FALSE; });
    return result;
}

bool clsFolder::IsAFolder(const std::wstring& pathName) const noexcept {
    const DWORD attributes = GetFileAttributesW(pathName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool clsFolder::HasSubFolders(const std::wstring& folder) const {
    WIN32_FIND_DATAW entry{};
    const UniqueFind search(FindFirstFileW((CorrectPath(folder) + L"*.*").c_str(), &entry));
    if (!search) {
        return false;
    }
    PacedYield yield;
    do {
        // "." and "..", and with them every folder whose name begins with a dot, do not count.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != L'.') {
            return true;
        }
        yield();
    } while (FindNextFileW(search.get(), &entry));
    return false;
}

bool clsFolder::IsEmpty(const std::wstring& folder) const noexcept {
    return PathIsDirectoryEmptyW(folder.c_str()) == TRUE;
}

std::wstring clsFolder::GetLongName(const std::wstring& folder) const {
    CheckSourceFolder(folder);
    return LongPathOf(folder);
}

std::wstring clsFolder::GetShortName(const std::wstring& folder) const {
    CheckSourceFolder(folder);
    std::wstring buffer(255, L' ');
    const DWORD length =
        GetShortPathNameW(folder.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    // A short path longer than the buffer leaves the buffer untouched: its blanks come back.
    return buffer.substr(0, length);
}

std::vector<std::wstring> clsFolder::enumFiles(const std::wstring& path, bool includeSubFolder,
                                               const std::wstring& fileType) const noexcept {
    return ListFiles(path, includeSubFolder, fileType);
}

std::int32_t clsFolder::GetFileCount(const std::wstring& path, bool includeSubFolder,
                                     const std::wstring& fileType) const noexcept {
    const std::vector<std::wstring> files = ListFiles(path, includeSubFolder, fileType);
    return files.empty() ? 0 : static_cast<std::int32_t>(files.size() - 1);
}

double clsFolder::FolderSize(const std::wstring& dirPath) const noexcept {
    double total = 0;
    if (IsLink(GetFileAttributesW(dirPath.c_str()))) {
        return total;
    }
    ResumeNext([&] {
        PacedYield yield;
        total = SizeBelow(dirPath, yield, *this);
    });
    return total;
}

std::wstring clsFolder::MakeNameUnique(const std::wstring& folder) const {
    std::wstring candidate = folder;
    std::wstring suffix;
    while (Exists(candidate)) {
        suffix = NextLetterSuffix(suffix);
        candidate = folder + L"_" + suffix;
    }
    return candidate;
}

void clsFolder::SetDatetime(const std::wstring& folder, const FolderDate& pdtmCreated,
                            const FolderDate& pdtmModified, const FolderDate& pdtmAccess) const {
    if (!Exists(folder)) {
        return;
    }
    const FILETIME created = DateToFileTime(pdtmCreated);
    const FILETIME modified = DateToFileTime(pdtmModified);
    const FILETIME accessed = DateToFileTime(pdtmAccess);
    const UniqueFile handle(CreateFileW(folder.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) {
        SetFileTime(handle.get(), &created, &accessed, &modified);
    }
}

std::wstring clsFolder::CorrectPath(const std::wstring& strPath) const {
    return vt::CorrectPath(strPath);
}

} // namespace vt

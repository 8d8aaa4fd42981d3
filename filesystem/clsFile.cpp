#include "filesystem/clsFile.h"

#include "filesystem/file_rules.h"
#include "filesystem/long_path.h"
#include "filesystem/path_rules.h"
#include "filesystem/shell_file_op.h"
#include "system/ansi.h"
#include "system/errors.h"
#include "system/handles.h"
#include "system/version_library.h"

#include <windows.h>
#include <imagehlp.h>
#include <oleauto.h>
#include <shellapi.h>

#include <climits>
#include <cstring>
#include <vector>

namespace vt {

static_assert(PathAttributes::kMissing == INVALID_FILE_ATTRIBUTES);
static_assert(PathAttributes::kDirectory == FILE_ATTRIBUTE_DIRECTORY);

namespace {

void CheckSourcePath(const std::wstring& path) {
    CheckPath(path, PathCheckKind::File, /*yieldBeforeRetry=*/true);
}

void CheckDestPath(const std::wstring& path) {
    CheckPath(path, PathCheckKind::File, /*yieldBeforeRetry=*/false);
}

// While it lives, a drive that is not ready fails this thread's calls instead of asking the
// user in a box of the system's.
class NoDriveErrorBoxes {
  public:
    NoDriveErrorBoxes() noexcept : set_(SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_)) {}
    ~NoDriveErrorBoxes() {
        if (set_) {
            SetThreadErrorMode(previous_, nullptr);
        }
    }
    NoDriveErrorBoxes(const NoDriveErrorBoxes&) = delete;
    NoDriveErrorBoxes& operator=(const NoDriveErrorBoxes&) = delete;

  private:
    DWORD previous_ = 0;
    bool set_;
};

UniqueFile OpenFile(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition) {
    return UniqueFile(CreateFileW(path.c_str(), access, sharing, nullptr, disposition, 0, nullptr));
}

// The version data of a file, or nothing when it has none or it cannot be read.
std::vector<BYTE> ReadVersionData(const std::wstring& file) {
    const VersionLibrary& version = Version();
    DWORD handle = 0;
    const DWORD size = version.GetFileVersionInfoSizeW(file.c_str(), &handle);
    std::vector<BYTE> data(std::size_t{size} + 1);
    if (!version.GetFileVersionInfoW(file.c_str(), handle, size, data.data())) {
        return {};
    }
    return data;
}

// The error a failed open or read raises, as the run time numbers it.
[[noreturn]] void RaiseFileError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        Raise(kErrFileNotFound);
    case ERROR_PATH_NOT_FOUND:
        Raise(kErrPathNotFound);
    case ERROR_INVALID_NAME:
        Raise(kErrBadFileName);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        Raise(kErrPermissionDenied);
    default:
        Raise(kErrPathAccess);
    }
}

double FileTimeToDate(const FILETIME& time) {
    SYSTEMTIME system{};
    double date = 0;
    if (!FileTimeToSystemTime(&time, &system) || !SystemTimeToVariantTime(&system, &date)) {
        return 0;
    }
    return date;
}

// Whether a search below `root` reached `found` through a link or junction: the system's
// search steps into them, and the class never hands out a path that leads out of the tree it
// was asked about.
bool ReachedThroughLink(const std::wstring& root, const std::wstring& found) {
    std::wstring top = root;
    while (!top.empty() && top.back() == L'\\') {
        top.pop_back();
    }
    for (std::wstring at = found; at.size() > top.size();) {
        const DWORD attributes = GetFileAttributesW(at.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            return true;
        }
        const std::wstring parent = CutBeforeLastBackslash(at);
        if (parent == at) {
            break;
        }
        at = parent;
    }
    return false;
}

} // namespace

// One attribute query answers both of the shell's path tests (is it there, is it a folder).
bool clsFile::Exists(const std::wstring& file) const noexcept {
    return Query(file).IsFile();
}

// As the shell's test does, a drive without its medium answers "missing" instead of asking the
// user for it.
PathAttributes clsFile::Query(const std::wstring& path) const noexcept {
    const NoDriveErrorBoxes quiet;
    return PathAttributes{GetFileAttributesW(path.c_str())};
}

void clsFile::Copy(const std::wstring& source, const std::wstring& dest, bool silent) const {
    CheckSourcePath(source);
    CheckDestPath(dest);
    if (ShellFileOperation(FO_COPY, {source}, &dest, silent ? kFofQuietSilent : kFofQuiet) != 0) {
        FailureBeep();
    }
}

void clsFile::Move(const std::wstring& source, const std::wstring& dest) const {
    CheckSourcePath(source);
    CheckDestPath(dest);
    if (ShellFileOperation(FO_MOVE, {source}, &dest, kFofQuiet) != 0) {
        FailureBeep();
    }
}

void clsFile::Rename(const std::wstring& source, const std::wstring& dest) const noexcept {
    ResumeNext([&] { CheckSourcePath(source); });
    ResumeNext([&] {
        if (ShellFileOperation(FO_RENAME, {source}, &dest, kFofQuiet) != 0) {
            FailureBeep();
        }
    });
}

bool clsFile::Delete(const std::wstring& file, bool recycleBin) const noexcept {
    bool deleted = false;
    ResumeNext([&] { CheckSourcePath(file); });
    ResumeNext([&] {
        const FILEOP_FLAGS flags = recycleBin ? kFofQuietSilent | kFofAllowUndo : kFofQuietSilent;
        deleted = ShellFileOperation(FO_DELETE, {file}, nullptr, flags) == 0;
    });
    return deleted;
}

clsFile::Attempt clsFile::TryDelete(const std::wstring& file) const noexcept {
    if (!NamesOneExactPlace(file)) {
        return Attempt::Other;
    }
    const NoDriveErrorBoxes quiet;
    if (DeleteFileW(file.c_str())) {
        return Attempt::Deleted;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Attempt::Missing
                                                                          : Attempt::Other;
}

bool clsFile::DeleteInUse(const std::wstring& file) const noexcept {
    // No new name: the system deletes the file at the restart instead of renaming it.
    return MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

FileSize clsFile::GetSize(const std::wstring& file) const {
    const UniqueFile handle =
        OpenFile(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!handle) {
        return 0;
    }
    DWORD high = 0;
    const DWORD low = GetFileSize(handle.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return 0;
    }
    return static_cast<FileSize>(high) * 4294967296 + low;
}

std::wstring clsFile::FormatSize(FileSize size) const {
    wchar_t separator[8] = L".";
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8)) {
        lstrcpyW(separator, L".");
    }
    return FormatSizeText(size, separator);
}

std::wstring clsFile::GetVersion(const std::wstring& file) const {
    const std::vector<BYTE> data = ReadVersionData(file);
    void* root = nullptr;
    UINT length = 0;
    if (data.empty() || !Version().VerQueryValueW(data.data(), L"\\", &root, &length) ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    VS_FIXEDFILEINFO fixed{};
    std::memcpy(&fixed, root, sizeof fixed);
    return VersionText(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
}

std::wstring clsFile::GetDescription(const std::wstring& filePath, long whatInfo) const {
    // Any other whatInfo would query the translation's whole block, which is no text.
    const wchar_t* const name = whatInfo == 0   ? L"FileDescription"
                                : whatInfo == 1 ? L"CompanyName"
                                                : nullptr;
    DWORD handle = 0;
    if (filePath.empty() || !name ||
        Version().GetFileVersionInfoSizeW(filePath.c_str(), &handle) == 0) {
        return {};
    }
    const std::vector<BYTE> data = ReadVersionData(filePath);
    void* translation = nullptr;
    UINT length = 0;
    if (data.empty() ||
        !Version().VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &translation,
                                  &length) ||
        length < 2 * sizeof(WORD)) {
        return {};
    }
    WORD first[2] = {};
    std::memcpy(first, translation, sizeof first);
    const std::wstring query =
        L"\\StringFileInfo\\" + TranslationBlockName(first[0], first[1]) + L"\\" + name;
    void* text = nullptr;
    if (!Version().VerQueryValueW(data.data(), query.c_str(), &text, &length) || length == 0) {
        return {};
    }
    const auto* characters = static_cast<const wchar_t*>(text);
    return std::wstring(characters, wcsnlen(characters, length));
}

double clsFile::DateCreated(const std::wstring& sFilename) const {
    WIN32_FIND_DATAW entry{};
    if (!UniqueFind(FindFirstFileW(sFilename.c_str(), &entry))) {
        entry = WIN32_FIND_DATAW{};
    }
    return FileTimeToDate(entry.ftCreationTime);
}

std::int32_t clsFile::GetAttribute(const std::wstring& filePath) const noexcept {
    return static_cast<std::int32_t>(GetFileAttributesW(filePath.c_str()));
}

std::int32_t clsFile::SetAttribute(const std::wstring& filePath,
                                   std::int32_t attributes) const noexcept {
    return SetFileAttributesW(filePath.c_str(), static_cast<DWORD>(attributes));
}

std::wstring clsFile::GetLongName(const std::wstring& file, bool includePath) const {
    CheckSourcePath(file);
    const std::wstring path = LongPathOf(file);
    return includePath ? path : LastComponent(path);
}

std::wstring clsFile::GetShortName(const std::wstring& file, bool includePath) const {
    CheckSourcePath(file);
    std::wstring buffer(255, L' ');
    const DWORD length =
        GetShortPathNameW(file.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    // A short path longer than the buffer leaves the buffer untouched: its blanks come back.
    const std::wstring path = buffer.substr(0, length);
    return includePath ? path : LastComponent(path);
}

bool clsFile::isFileInUse(const std::wstring& sFilename) const noexcept {
    return TrapOr(true, [&] { return !OpenFile(sFilename, GENERIC_READ, 0, OPEN_EXISTING); });
}

std::wstring clsFile::ReadAFile(const std::wstring& path) const noexcept {
    return TrapOr(std::wstring(), [&] {
        if (!Exists(path)) {
            return std::wstring();
        }
        const UniqueFile handle = OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        if (!handle) {
            return std::wstring();
        }
        // Past 4 GB only the low half of the size counts.
        const DWORD size = GetFileSize(handle.get(), nullptr);
        if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
            return std::wstring();
        }
        // One zero byte more than the file, so that an odd last byte makes a character.
        std::vector<char> bytes(std::size_t{size} + 1, '\0');
        SetFilePointer(handle.get(), 0, nullptr, FILE_BEGIN);
        DWORD read = 0;
        ReadFile(handle.get(), bytes.data(), size, &read, nullptr);
        std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
        return text;
    });
}

bool clsFile::CreateAFile(const std::wstring& path, const std::wstring& writeWhat) const noexcept {
    return TrapOr(false, [&] {
        const UniqueFile handle = OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
        if (!handle) {
            return false;
        }
        // The write's own outcome is not asked: a file that could be opened counts as made.
        DWORD written = 0;
        WriteFile(handle.get(), writeWhat.data(),
                  static_cast<DWORD>(writeWhat.size() * sizeof(wchar_t)), &written, nullptr);
        return true;
    });
}

std::wstring clsFile::LoadToString(const std::wstring& file) const {
    const UniqueFile handle =
        OpenFile(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!handle) {
        RaiseFileError(GetLastError());
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle.get(), &size)) {
        RaiseFileError(GetLastError());
    }
    if (size.QuadPart > INT_MAX) {
        Raise(kErrOutOfMemory);
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    for (std::size_t at = 0; at < bytes.size();) {
        DWORD read = 0;
        if (!ReadFile(handle.get(), bytes.data() + at, static_cast<DWORD>(bytes.size() - at), &read,
                      nullptr)) {
            RaiseFileError(GetLastError());
        }
        if (read == 0) {
            // The file shrank while it was read.
            Raise(kErrInputPastEnd);
        }
        at += read;
    }
    return FromAnsi(bytes);
}

std::wstring clsFile::SearchFile(const std::wstring& myPath,
                                 const std::wstring& filename) const noexcept {
    std::wstring found;
    ResumeNext([&] {
        std::string root = ToAnsi(myPath);
        std::string name = ToAnsi(filename);
        char answer[MAX_PATH] = {};
        if (SearchTreeForFile(root.data(), name.data(), answer)) {
            found = FromAnsi(answer);
        }
    });
    ResumeNext([&] {
        if (!found.empty() && ReachedThroughLink(myPath, found)) {
            found.clear();
        }
    });
    return found;
}

std::wstring clsFile::MakeNameDOS(const std::wstring& file) const {
    return DosSafeName(file);
}

std::wstring clsFile::MakeNameUnique(const std::wstring& file) const {
    std::wstring candidate = file;
    std::wstring suffix;
    while (Exists(candidate)) {
        suffix = NextLetterSuffix(suffix);
        candidate = SuffixedName(file, suffix);
    }
    return candidate;
}

} // namespace vt

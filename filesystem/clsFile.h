// Everything the uninstaller does to single files. The class holds nothing: each member opens
// and closes what it uses. Paths go to the system as the caller passes them.
#pragma once

#include <cstdint>
#include <string>

namespace vt {

// A file's size in bytes. The class only ever carries whole bytes.
using FileSize = std::int64_t;

// What one query of a path's attributes found.
struct PathAttributes {
    static constexpr std::uint32_t kMissing = 0xFFFFFFFF; // INVALID_FILE_ATTRIBUTES
    static constexpr std::uint32_t kDirectory = 0x10;     // FILE_ATTRIBUTE_DIRECTORY
    std::uint32_t value = kMissing;
    // There, and not a folder: what Exists answers.
    bool IsFile() const noexcept { return value != kMissing && !(value & kDirectory); }
};

class clsFile {
  public:
    // True when the path exists and is not a folder. Never fails.
    bool Exists(const std::wstring& file) const noexcept;
    // The path's attributes, from one query; missing when the query fails. Never fails.
    PathAttributes Query(const std::wstring& path) const noexcept;

    // Copies through the shell, without questions; silent also hides its progress display.
    // A source or destination that the path check refuses raises its error (52, 71, 76, ...)
    // before anything is copied. A failing shell operation beeps.
    void Copy(const std::wstring& source, const std::wstring& dest, bool silent = false) const;

    // Moves through the shell; checks and failures as Copy.
    void Move(const std::wstring& source, const std::wstring& dest) const;

    // Renames through the shell. The source check may show its box, but its errors are passed
    // over and the shell is asked all the same. A failing shell operation beeps.
    void Rename(const std::wstring& source, const std::wstring& dest) const noexcept;

    // Deletes for good, without questions or progress display (or into the recycle bin);
    // true exactly when the shell succeeded. Errors of the check are passed over.
    bool Delete(const std::wstring& file, bool recycleBin = false) const noexcept;
    // What the system's own delete of a file named in full made of it, asked before any test.
    enum class Attempt { Deleted, Missing, Other };
    // Deletes `file` for good when it is a file the system deletes without help: Deleted. A
    // link goes as a link, never its target. Missing when nothing is there, nor its folder.
    // Other for anything else (a folder, a read-only or open file, a path not named in full):
    // nothing happened, and the file is for Delete and its guards to take. Never fails.
    Attempt TryDelete(const std::wstring& file) const noexcept;

    // Has the system delete the file at the next restart, for a file that is in use now; true
    // when the system took the deletion on.
    bool DeleteInUse(const std::wstring& file) const noexcept;

    // --- What a file is

    // The size in bytes; 0 for a file that cannot be opened.
    FileSize GetSize(const std::wstring& file) const;
    // The size as a user reads it ("1023 bytes", "1,0 KB", ".98 GB"), with the user's decimal
    // separator.
    std::wstring FormatSize(FileSize size) const;
    // The file version as major.minor, with .build when the build is not 0; "" for a file
    // without version data.
    std::wstring GetVersion(const std::wstring& file) const;
    // A string of the version data in the file's first translation: its description
    // (whatInfo 0) or its maker's name (1). "" when there is none, and for any other whatInfo.
    std::wstring GetDescription(const std::wstring& filePath, long whatInfo) const;
    // When the file was created, as the file system keeps it (UTC, not converted), as a date
    // value (days since 30 December 1899). A missing file gives 1 January 1601.
    double DateCreated(const std::wstring& sFilename) const;
    // The system's attributes of the path; -1 when it is missing.
    std::int32_t GetAttribute(const std::wstring& filePath) const noexcept;
    // Sets the attributes; non-zero on success.
    std::int32_t SetAttribute(const std::wstring& filePath, std::int32_t attributes) const noexcept;
    // The path with the long name of each component (or, without includePath, the long file
    // name alone); "" for a file that does not exist. The path must begin with a drive, and
    // the path check raises its errors (52, 71, 76, ...).
    std::wstring GetLongName(const std::wstring& file, bool includePath = true) const;
    // The system's short (8.3) form of the path, or of its file name alone; checked as above.
    std::wstring GetShortName(const std::wstring& file, bool includePath = true) const;

    // --- What a file holds, and names for files

    // True when the file cannot be opened exclusively: another handle holds it open, or it is
    // missing.
    bool isFileInUse(const std::wstring& sFilename) const noexcept;
    // The file's bytes taken as UTF-16 text as they are (an odd last byte pairs with a zero);
    // "" for an empty file and on any failure.
    std::wstring ReadAFile(const std::wstring& path) const noexcept;
    // Replaces the file with the text's UTF-16 bytes, without byte-order mark; false when the
    // file could not be opened for writing.
    bool CreateAFile(const std::wstring& path, const std::wstring& writeWhat) const noexcept;
    // The file's bytes as text in the system's ANSI code page; "" for an empty file. A file that
    // cannot be opened or read raises its error (53, 76, 70, 75, ...).
    std::wstring LoadToString(const std::wstring& file) const;
    // The full path of the first file named `filename` below `myPath`, through the system's
    // search (its paths in the ANSI code page); "" when there is none, and for a match that
    // the search reached through a link or junction.
    std::wstring SearchFile(const std::wstring& myPath,
                            const std::wstring& filename) const noexcept;
    // The name with the characters Windows forbids in file names replaced or removed.
    std::wstring MakeNameDOS(const std::wstring& file) const;
    // The file itself when it does not exist, else the first of name_a.ext, name_b.ext, ...,
    // name_z.ext, name_aa.ext, ... that does not.
    std::wstring MakeNameUnique(const std::wstring& file) const;
};

} // namespace vt

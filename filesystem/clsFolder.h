// Everything the uninstaller does to folders. The class holds nothing: each member opens and
// closes what it uses (searches, handles). Folder paths may come with or without a trailing
// backslash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vt {

// A date and time of day, taken as local time.
struct FolderDate {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class clsFolder {
  public:
    // The folder shortened for display when it lies under the program-files folder or the
    // shared-files folder; unchanged otherwise.
    std::wstring Abbreviate(const std::wstring& folder) const;

    // Copy, move and rename through the shell without questions. The path check raises its
    // error (52, 71, 76, ...) before the shell is asked; a failing shell operation beeps. A
    // folder with a link in it is neither copied nor moved (it beeps).
    void Copy(const std::wstring& source, const std::wstring& dest) const;
    void Move(const std::wstring& source, const std::wstring& dest) const;
    void Rename(const std::wstring& source, const std::wstring& dest) const;

    // Creates the folder and every missing folder above it. The path passes through the ANSI
    // code page. Its failure is not reported.
    void Create(const std::wstring& folder) const;

    // Deletes the folder with all its contents, for good; true exactly when the shell
    // succeeded, false for a missing folder. A link inside goes as a link, and a folder that
    // is itself a link loses only the link: what a link points to is never deleted.
    bool Delete(const std::wstring& folder) const;

    // Deletes all the folders in one shell operation, after checking every one of them.
    void DeleteMultiple(const std::vector<std::wstring>& folders, bool recycleBin = false,
                        bool silent = false) const;

    bool Exists(const std::wstring& folder) const noexcept;
    bool IsAFolder(const std::wstring& pathName) const noexcept;
    // True when the folder has a subfolder whose name does not begin with a dot.
    bool HasSubFolders(const std::wstring& folder) const;
    bool IsEmpty(const std::wstring& folder) const noexcept;

    // The path with the long names of its components; the path must begin with a drive.
    std::wstring GetLongName(const std::wstring& folder) const;
    // The system's short (8.3) form of the path; empty when it has none.
    std::wstring GetShortName(const std::wstring& folder) const;

    // The full paths of the files below `path` whose names contain fileType, in elements
    // 1..N (element 0 is always there and empty): a folder's own files first, in the system's
    // order, then (includeSubFolder) those of each subfolder, depth first. Only subfolders
    // whose names match the same pattern are visited. Links to folders are neither listed nor
    // entered, and a path that is itself a link lists nothing. Yields to the message loop as
    // it walks.
    std::vector<std::wstring> enumFiles(const std::wstring& path, bool includeSubFolder,
                                        const std::wstring& fileType = L".") const noexcept;
    // How many files enumFiles would list.
    std::int32_t GetFileCount(const std::wstring& path, bool includeSubFolder,
                              const std::wstring& fileType = L".") const noexcept;

    // The bytes of all files below the folder, without what links point to; 0 for a missing
    // folder or a link.
    double FolderSize(const std::wstring& dirPath) const noexcept;

    // The folder itself when it does not exist, else the first of folder_a, folder_b, ...,
    // folder_z, folder_aa, ... that does not.
    std::wstring MakeNameUnique(const std::wstring& folder) const;

    // Sets the folder's creation, last write and last access times, given in local time.
    void SetDatetime(const std::wstring& folder, const FolderDate& pdtmCreated,
                     const FolderDate& pdtmModified, const FolderDate& pdtmAccess) const;

    std::wstring CorrectPath(const std::wstring& strPath) const;

    // A list is dimensioned when it holds at least its element 0.
    bool isArrayInitialised(const std::vector<std::wstring>& whichArray) const noexcept {
        return !whichArray.empty();
    }
};

} // namespace vt

// The file and folder classes against the real file system, each test in a folder of its own:
// the guards that keep every call to what it names, then what the members do.
#include "filesystem/clsFile.h"
#include "filesystem/clsFolder.h"
#include "filesystem/shell_file_op.h"
#include "tests/support/text.h"
#include "tests/windows/helpers.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

using namespace test;
using Names = std::vector<std::wstring>;

class Files : public ::testing::Test {
  protected:
    TestFolder folder{CurrentTestName()};
    clsFile files;
    clsFolder folders;
};

// The shell expands wildcards, resolves a relative name against the current folder (of its
// drive, for "C:a.txt"), and takes "C:" for the drive's current folder: no call may reach more
// than the one thing it names, whatever text it is given (a name no file can have included).
TEST_F(Files, NoCallReachesWhatAWildcardARelativeNameOrADriveWouldMatch) {
    const Names kept = {folder.File(L"a.txt"), folder.File(L"b.txt"), folder.File(L"sub\\c.txt")};
    wchar_t previous[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    const auto refused = [&](bool deleted, const std::wstring& path) {
        EXPECT_FALSE(deleted) << ToUtf8(path);
        EXPECT_TRUE(std::all_of(kept.begin(), kept.end(), IsThere)) << ToUtf8(path);
    };
    for (const std::wstring& path : Names{folder / L"*.txt", folder / L"?.txt", folder / L"a|b.txt",
                                          L"a.txt", L".\\b.txt", L"C:a.txt"}) {
        refused(files.Delete(path), path);
    }
    for (const std::wstring& path :
         Names{folder / L"s*", L"sub", L"C:sub", L"C:\\", L"C:", kept[0]}) {
        refused(folders.Delete(path), path); // the last: a file is no folder
    }
    SetCurrentDirectoryW(previous);
}

// Links are never followed: not listed, measured, searched through or copied, and deleting
// removes only the link. Wine opens what a link points to even when asked for the link itself:
// there a link cannot be removed, and a folder that holds one is left whole.
TEST_F(Files, NoCallFollowsALink) {
    const TestFolder outside(CurrentTestName() + L"-outside");
    const std::wstring theirs = outside.File(L"keep\\theirs.txt");
    const std::wstring own = folder.File(L"sub\\own.txt");
    const TestLink out(folder / L"out", outside.Path());
    const TestLink cycle(folder / L"sub\\up", folder.Path());
    EXPECT_EQ(folders.enumFiles(folder.Path(), true), (Names{L"", own}));
    EXPECT_EQ(folders.enumFiles(out.Path(), true), Names{L""});
    EXPECT_EQ(folders.FolderSize(folder.Path()) + folders.FolderSize(out.Path()), 1.0);
    EXPECT_EQ(files.SearchFile(folder.Path(), L"theirs.txt"), L"");
    folders.Copy(folder.Path(), folder.Path() + L"-copy");
    EXPECT_FALSE(IsThere(folder.Path() + L"-copy"));
    EXPECT_EQ(folders.Delete(out.Path()), !UnderWine());
    EXPECT_EQ(folders.Delete(folder.Path()), !UnderWine());
    EXPECT_EQ(IsThere(own), UnderWine());
    EXPECT_TRUE(IsThere(theirs));
}

// Copy, move and delete check every path first: a missing folder on the way (76, naming that
// folder for a file, the whole path for a folder) or a bad name (52) stops them before anything
// happens. What fails in the shell itself only beeps.
TEST_F(Files, PathChecksStopACallBeforeTheShellIsAsked) {
    const std::wstring file = folder.File(L"a.dll");
    const std::wstring a = folder.Folder(L"a");
    const std::wstring missing = folder / L"missing";
    const std::wstring bad = folder / L"b<c.dll";
    const struct {
        std::function<void()> call;
        long number;
        std::wstring description;
    } cases[] = {
        {[&] { files.Copy(file, missing + L"\\a.dll"); }, 76,
         L"'" + missing + L"' not a valid path"},
        {[&] { files.Move(bad, folder / L"x.dll"); }, 52,
         L"'" + bad + L"' is not a valid file name."},
        {[&] { folders.Copy(a, missing + L"\\a"); }, 76, L"'" + missing + L"\\a' not a valid path"},
        {[&] {
             folders.DeleteMultiple({a, missing + L"\\a"});
         },
         76, L""},
        {[&] { folders.Rename(bad, folder / L"x"); }, 52, L"'" + bad + L"' not a valid path"},
        {[&] { files.Copy(folder / L"missing.txt", folder / L"x.txt"); }, 0, L""}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const ErrorInfo error = ErrorOf(cases[i].call);
        EXPECT_EQ(error.number, cases[i].number) << "case " << i;
        EXPECT_TRUE(cases[i].description.empty() || error.description == cases[i].description)
            << "case " << i << ": " << ToUtf8(error.description);
    }
    EXPECT_FALSE(IsThere(missing) || IsThere(folder / L"x.txt"));
    EXPECT_TRUE(IsThere(file) && IsThere(a));
}

// A folder is no file; subfolders whose names begin with a dot do not count.
TEST_F(Files, ExistenceTellsFilesFromFolders) {
    const std::wstring file = folder.File(L"a.txt");
    folder.Folder(L"empty");
    folder.File(L"only\\.git\\x");
    folder.File(L"only\\file.txt");
    const struct {
        std::wstring path;
        bool file, folder, empty, subFolders;
    } cases[] = {{folder.Path() + L"\\", 0, 1, 0, 1},
                 {folder / L"empty", 0, 1, 1, 0},
                 {folder / L"only", 0, 1, 0, 0},
                 {file, 1, 0, 0, 0},
                 {folder / L"missing", 0, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        EXPECT_EQ(files.Exists(c.path), c.file);
        EXPECT_EQ(folders.Exists(c.path), c.folder);
        EXPECT_EQ(folders.IsAFolder(c.path), c.folder);
        EXPECT_EQ(folders.IsEmpty(c.path), c.empty);
        EXPECT_EQ(folders.HasSubFolders(c.path), c.subFolders);
    }
}

// The list starts with an empty element; a name that merely holds the pattern matches, and the
// pattern also decides which subfolders are visited. A folder's own files come first.
TEST_F(Files, ListingsFindMatchingFilesBelowTheFolder) {
    for (const wchar_t* name :
         {L"r.dll", L"r.dll.bak", L"r.txt", L"T\\t.dll", L"L.dll.d\\l.dll", L"L.dll.d\\i\\i.dll"}) {
        folder.File(name);
    }
    EXPECT_EQ(folders.enumFiles(folder.Path(), true)[3].rfind(L'\\'), folder.Path().size());
    const struct {
        std::wstring path;
        bool deep;
        const wchar_t* type;
        Names found;
    } cases[] = {{folder.Path(),
                  true,
                  L".dll",
                  {L"", folder / L"L.dll.d\\l.dll", folder / L"r.dll", folder / L"r.dll.bak"}},
                 {folder.Path() + L"\\", false, L".txt", {L"", folder / L"r.txt"}},
                 {folder / L"T", true, L"", {L"", folder / L"T\\t.dll"}},
                 {folder / L"missing", true, L"", {L""}}};
    for (const auto& c : cases) {
        Names found = folders.enumFiles(c.path, c.deep, c.type);
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, c.found) << ToUtf8(c.path);
        EXPECT_EQ(folders.GetFileCount(c.path, c.deep, c.type), std::ssize(c.found) - 1);
    }
}

// Copy, move and rename go through the shell; what is in use, unique names, sizes past 4 GiB
// (the file sparse, so it costs no disk) and folder dates in local time.
TEST_F(Files, MembersDoTheirWork) {
    const std::wstring file = folder.File(L"a.txt");
    folder.Folder(L"b");
    files.Copy(file, folder / L"copy.txt");
    files.Move(folder / L"copy.txt", folder / L"moved.txt");
    files.Rename(folder / L"moved.txt", folder / L"b\\big.bin");
    folders.Copy(folder / L"b", folder / L"copy");
    folders.Move(folder / L"copy", folder / L"moved");
    folders.Rename(folder / L"moved", folder / L"c");
    EXPECT_EQ(folders.enumFiles(folder.Path(), true),
              (Names{L"", file, folder / L"b\\big.bin", folder / L"c\\big.bin"}));
    {
        const UniqueFile held(
            CreateFileW(file.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(files.isFileInUse(file)) << "held with every sharing allowed";
    }
    EXPECT_FALSE(files.isFileInUse(file));
    EXPECT_EQ(files.MakeNameUnique(file), folder / L"a_a.txt");
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
        folder.Folder(std::wstring(L"c_") + letter);
    }
    EXPECT_EQ(folders.MakeNameUnique(folder / L"c"), folder / L"c_aa");

    const std::wstring big = folder / L"b\\big.bin";
    {
        const UniqueFile opened(
            CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD ignored = 0;
        DeviceIoControl(opened.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
        LARGE_INTEGER end{};
        end.QuadPart = 5368709120;
        ASSERT_TRUE(SetFilePointerEx(opened.get(), end, nullptr, FILE_BEGIN) &&
                    SetEndOfFile(opened.get()));
    }
    EXPECT_EQ(files.GetSize(big), 5368709120);
    EXPECT_EQ(folders.FolderSize(folder.Path()), 5368709122.0);

    // The creation time is left out: Wine keeps none of its own.
    folders.SetDatetime(folder / L"b", {2001, 2, 3, 4, 5, 6}, {2010, 7, 8, 9, 10, 11},
                        {2020, 12, 13, 14, 15, 16});
    WIN32_FILE_ATTRIBUTE_DATA stored{};
    GetFileAttributesExW((folder / L"b").c_str(), GetFileExInfoStandard, &stored);
    FILETIME local{};
    SYSTEMTIME written{}, accessed{};
    FileTimeToLocalFileTime(&stored.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &written);
    FileTimeToLocalFileTime(&stored.ftLastAccessTime, &local);
    FileTimeToSystemTime(&local, &accessed);
    EXPECT_EQ(std::tuple(written.wYear, written.wMonth, written.wDay, written.wHour),
              std::tuple(2010, 7, 8, 9));
    EXPECT_EQ(accessed.wYear, 2020) << "some file systems keep the day at best";
}

// The "Disk Error" box for a drive that is not ready; Cancel raises 71 (its rules are tested
// natively). No path under Wine makes the attribute query report such a drive (an unknown or
// vanished one reads as a missing file or path), so the query is scripted; the box is real.
TEST(PathCheck, DiskErrorBoxOffersRetryAndCancel) {
    ErrorInfo error;
    const std::vector<SeenBox> boxes = testing::BoxesOf(
        [&] {
            error = ErrorOf([] {
                CheckPath(L"E:\\Setup\\a.dll", PathCheckKind::File, true,
                          [](const std::wstring&) { return long{kErrInvalidCall}; });
            });
        },
        {IDCANCEL});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Disk Error");
    EXPECT_EQ(boxes[0].text, L"E: Drive not ready");
    EXPECT_EQ(boxes[0].buttons, (std::vector<int>{IDRETRY, IDCANCEL}));
    EXPECT_EQ(boxes[0].icon, BoxIcon::Asterisk);
    EXPECT_EQ(error.number, 71);
}

} // namespace
} // namespace vt

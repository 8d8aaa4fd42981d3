// The folder class against the real file system: each test owns a folder of its own.
#include "filesystem/clsFolder.h"
#include "system/errors.h"
#include "system/handles.h"
#include "tests/support/fixtures.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace vt {
namespace {

using test::CurrentTestName;
using test::ErrorOf;
using test::IsThere;
using test::TestFolder;
using test::TestLink;
using Names = std::vector<std::wstring>;

class ClsFolder : public testing::Test {
  protected:
    TestFolder folder{CurrentTestName()};
    clsFolder folders;
};

TEST_F(ClsFolder, ListsMatchingFilesAfterAnEmptyElement) {
    const std::wstring dll = folder.File(L"a.dll");
    folder.File(L"b.txt");
    const std::wstring bak = folder.File(L"a.dll.bak");
    folder.Folder(L"empty");

    Names dlls = folders.enumFiles(folder.Path(), false, L".dll");
    std::sort(dlls.begin(), dlls.end());
    EXPECT_EQ(dlls, (Names{L"", dll, bak})) << "a name that merely contains .dll matches";
    EXPECT_EQ(folders.enumFiles(folder.Path(), false).size(), 4u) << "three files, no folder";
    EXPECT_EQ(folders.enumFiles(folder.Path(), false, L"").size(), 4u);
    EXPECT_EQ(folders.enumFiles(folder.Path() + L"\\", false, L".txt"),
              (Names{L"", folder / L"b.txt"}))
        << "one file; a trailing backslash is not doubled";
    EXPECT_EQ(folders.enumFiles(folder / L"empty", true), Names{L""});
    EXPECT_EQ(folders.enumFiles(folder.Path(), true, L".exe"), Names{L""});
    EXPECT_EQ(folders.enumFiles(folder / L"missing", true), Names{L""});
    EXPECT_EQ(folders.GetFileCount(folder.Path(), false, L".txt"), 1);
    EXPECT_EQ(folders.GetFileCount(folder / L"missing", true), 0);
}

// The order within one folder is the search's; what is fixed is that a folder's own files come
// before its subfolders' and that each subfolder is listed whole, depth first.
TEST_F(ClsFolder, OwnFilesComeBeforeSubfoldersDepthFirst) {
    const Names files = {L"r1.dll",
                         L"r2.txt",
                         L"r3.dll",
                         L"Themes\\t1.dll",
                         L"Themes\\t2.txt",
                         L"Themes\\Deep\\d1.dll",
                         L"Themes\\Deep\\Deeper\\e1.dll",
                         L"Lang.dll.d\\l1.dll",
                         L"Lang.dll.d\\inner\\i1.dll",
                         L"Zed\\z1.dll"};
    Names everything{L""};
    for (const std::wstring& file : files) {
        everything.push_back(folder.File(file));
    }
    folder.Folder(L".hidden");

    const Names all = folders.enumFiles(folder.Path(), true);
    ASSERT_EQ(all.size(), 11u);
    EXPECT_EQ(all[0], L"");
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(all[i].rfind(L'\\'), folder.Path().size()) << testing::PrintToString(all[i]);
    }
    const auto at = [&](const wchar_t* name) {
        return std::find(all.begin(), all.end(), folder / name) - all.begin();
    };
    EXPECT_LT(at(L"Themes\\t1.dll"), at(L"Themes\\Deep\\d1.dll"));
    EXPECT_LT(at(L"Themes\\t2.txt"), at(L"Themes\\Deep\\d1.dll"));
    EXPECT_EQ(at(L"Themes\\Deep\\Deeper\\e1.dll"), at(L"Themes\\Deep\\d1.dll") + 1);
    EXPECT_EQ(at(L"Lang.dll.d\\inner\\i1.dll"), at(L"Lang.dll.d\\l1.dll") + 1);
    Names sorted = all;
    std::sort(sorted.begin(), sorted.end());
    std::sort(everything.begin(), everything.end());
    EXPECT_EQ(sorted, everything);

    // The pattern also decides which subfolders are visited: only Lang.dll.d contains .dll.
    Names dlls = folders.enumFiles(folder.Path(), true, L".dll");
    std::sort(dlls.begin(), dlls.end());
    EXPECT_EQ(dlls,
              (Names{L"", folder / L"Lang.dll.d\\l1.dll", folder / L"r1.dll", folder / L"r3.dll"}));
    EXPECT_EQ(folders.GetFileCount(folder.Path(), true), 10);
}

// Subfolders whose names begin with a dot do not count.
TEST_F(ClsFolder, TellsFoldersFromFiles) {
    const std::wstring file = folder.File(L"a.txt");
    const std::wstring empty = folder.Folder(L"empty");
    folder.Folder(L"only\\.git");
    folder.File(L"only\\file.txt");
    folder.Folder(L"real\\sub");
    struct Case {
        std::wstring path;
        bool exists, isAFolder, isEmpty, hasSubFolders;
    };
    const Case cases[] = {
        {folder.Path(), true, true, false, true},
        {folder.Path() + L"\\", true, true, false, true},
        {empty, true, true, true, false},
        {folder / L"only", true, true, false, false},
        {folder / L"real\\", true, true, false, true},
        {file, false, false, false, false},
        {folder / L"missing", false, false, false, false},
        {L"", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(folders.Exists(c.path), c.exists);
        EXPECT_EQ(folders.IsAFolder(c.path), c.isAFolder);
        EXPECT_EQ(folders.IsEmpty(c.path), c.isEmpty);
        if (!c.path.empty()) {
            EXPECT_EQ(folders.HasSubFolders(c.path), c.hasSubFolders);
        }
    }
}

TEST_F(ClsFolder, DeleteRemovesTheFolderWithItsContents) {
    folder.File(L"Veltrane\\Settings.ini");
    folder.File(L"Veltrane\\Sub\\Recent.dat");
    folder.File(L"Veltrane2\\keep.txt");
    EXPECT_TRUE(folders.Delete(folder / L"Veltrane\\"));
    EXPECT_FALSE(IsThere(folder / L"Veltrane"));
    EXPECT_TRUE(IsThere(folder / L"Veltrane2\\keep.txt")) << "only what was asked";
    EXPECT_FALSE(folders.Delete(folder / L"Veltrane"));
    EXPECT_FALSE(folders.Delete(folder / L"Veltrane2\\keep.txt")) << "a file is no folder";
    EXPECT_TRUE(IsThere(folder / L"Veltrane2\\keep.txt"));
    EXPECT_FALSE(folders.Delete(L"C:\\")) << "never a drive";
}

// Links are never followed: not listed, measured or copied, and deleting removes only the link.
// Wine opens what a link points to even when asked for the link itself: there a link cannot be
// removed, and a folder that holds one is left whole.
TEST_F(ClsFolder, NeverFollowsALink) {
    const TestFolder outside(CurrentTestName() + L"-outside");
    outside.File(L"keep\\a.txt");
    const test::TreeSnapshot before = test::Snapshot(outside.Path());
    const std::wstring own = folder.File(L"sub\\own.txt");
    const TestLink out(folder / L"out", outside.Path());
    const TestLink cycle(folder / L"sub\\up", folder.Path());
    EXPECT_EQ(folders.enumFiles(folder.Path(), true), (Names{L"", own}));
    EXPECT_EQ(folders.FolderSize(folder.Path()), 1.0);
    EXPECT_EQ(folders.enumFiles(out.Path(), true), Names{L""});
    EXPECT_EQ(folders.FolderSize(out.Path()), 0.0);
    folders.Copy(folder.Path(), folder.Path() + L"-copy");
    EXPECT_FALSE(IsThere(folder.Path() + L"-copy"));

    const bool removable = !test::UnderWine();
    EXPECT_EQ(folders.Delete(out.Path()), removable);
    EXPECT_EQ(folders.Delete(folder.Path()), removable);
    EXPECT_EQ(IsThere(own), !removable);
    EXPECT_EQ(test::Snapshot(outside.Path()), before);
}

TEST_F(ClsFolder, DeleteMultipleChecksEveryFolderFirst) {
    const std::wstring a = folder.Folder(L"a");
    const std::wstring b = folder.Folder(L"b");
    folder.File(L"b\\x.txt");
    const std::wstring c = folder.Folder(L"c");
    const ErrorInfo error = ErrorOf([&] {
        folders.DeleteMultiple({a, folder / L"missing\\x", b});
    });
    EXPECT_EQ(error.number, 76);
    EXPECT_EQ(error.description, L"'" + (folder / L"missing\\x") + L"' not a valid path")
        << "the whole path";
    EXPECT_TRUE(IsThere(a)) << "nothing deleted";
    folders.DeleteMultiple({a, b}, false, true);
    EXPECT_FALSE(IsThere(a));
    EXPECT_FALSE(IsThere(b));
    EXPECT_TRUE(IsThere(c));
}

TEST_F(ClsFolder, CopyMoveRenameAndTheirChecks) {
    folder.File(L"src\\a.txt");
    folders.Copy(folder / L"src", folder / L"copy");
    EXPECT_TRUE(IsThere(folder / L"copy\\a.txt"));
    folders.Move(folder / L"copy", folder / L"moved");
    EXPECT_FALSE(IsThere(folder / L"copy"));
    EXPECT_TRUE(IsThere(folder / L"moved\\a.txt"));
    folders.Rename(folder / L"moved", folder / L"renamed");
    EXPECT_TRUE(IsThere(folder / L"renamed\\a.txt"));

    const std::wstring deep = folder / L"missing\\target";
    const ErrorInfo error = ErrorOf([&] { folders.Copy(folder / L"src", deep); });
    EXPECT_EQ(error.number, 76);
    EXPECT_EQ(error.description, L"'" + deep + L"' not a valid path");
    EXPECT_FALSE(IsThere(folder / L"missing"));
    const std::wstring bad = folder / L"a<b";
    EXPECT_EQ(ErrorOf([&] { folders.Rename(bad, folder / L"x"); }).description,
              L"'" + bad + L"' not a valid path");
    EXPECT_EQ(ErrorOf([&] { folders.Move(bad, folder / L"x"); }).number, 52);
}

TEST_F(ClsFolder, CreateMakesEveryMissingFolder) {
    folders.Create(folder / L"one\\two\\three");
    EXPECT_TRUE(folders.Exists(folder / L"one\\two\\three"));
    folders.Create(folder / L"one\\two\\");
    EXPECT_TRUE(folders.Exists(folder / L"one\\two\\three")) << "existing folders stay";
}

TEST_F(ClsFolder, MakeNameUniqueCountsLetters) {
    const std::wstring base = folder / L"Backup";
    EXPECT_EQ(folders.MakeNameUnique(base), base);
    folder.Folder(L"Backup");
    EXPECT_EQ(folders.MakeNameUnique(base), base + L"_a");
    for (wchar_t c = L'a'; c <= L'z'; ++c) {
        folder.Folder(std::wstring(L"Backup_") + c);
    }
    EXPECT_EQ(folders.MakeNameUnique(base), base + L"_aa");
    folder.Folder(L"Backup_aa");
    EXPECT_EQ(folders.MakeNameUnique(base), base + L"_ab");
}

TEST_F(ClsFolder, FolderSizeAddsEveryFileBelow) {
    folder.File(L"a.bin", std::string(1000, 'a'));
    folder.File(L"sub\\b.bin", std::string(234, 'b'));
    folder.File(L"sub\\deeper\\c.bin", std::string(66, 'c'));
    EXPECT_EQ(folders.FolderSize(folder.Path()), 1300.0);
    EXPECT_EQ(folders.FolderSize(folder / L"sub\\"), 300.0);
    EXPECT_EQ(folders.FolderSize(folder / L"missing"), 0.0);

    // A file over 4 GiB needs the high half of its size; a sparse file costs no disk.
    const std::wstring big = folder / L"big\\huge.bin";
    folder.Folder(L"big");
    UniqueFile file(CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER size;
    size.QuadPart = 5LL * 1024 * 1024 * 1024;
    const bool sized =
        SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
    file.reset();
    if (!sized) {
        GTEST_SKIP() << "this file system cannot hold a 5 GiB file";
    }
    EXPECT_EQ(folders.FolderSize(folder / L"big"), 5368709120.0);
}

TEST_F(ClsFolder, SetDatetimeTakesLocalTime) {
    const std::wstring target = folder.Folder(L"dated");
    const FolderDate created{2001, 2, 3, 4, 5, 6};
    const FolderDate modified{2010, 7, 8, 9, 10, 11};
    const FolderDate accessed{2020, 12, 13, 14, 15, 16};
    folders.SetDatetime(target, created, modified, accessed);

    WIN32_FILE_ATTRIBUTE_DATA stored{};
    ASSERT_TRUE(GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &stored));
    using Fields = std::tuple<int, int, int, int, int, int>;
    const auto local = [](const FILETIME& utc) {
        FILETIME localTime{};
        SYSTEMTIME f{};
        FileTimeToLocalFileTime(&utc, &localTime);
        FileTimeToSystemTime(&localTime, &f);
        return Fields{f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond};
    };
    const auto fields = [](const FolderDate& d) {
        return Fields{d.year, d.month, d.day, d.hour, d.minute, d.second};
    };
    // Wine keeps no creation time of its own on the host's file systems.
    if (!test::UnderWine()) {
        EXPECT_EQ(local(stored.ftCreationTime), fields(created)) << "creation";
    }
    EXPECT_EQ(local(stored.ftLastWriteTime), fields(modified)) << "last write";
    // Last access is kept to the day at best by some file systems.
    EXPECT_EQ(std::get<0>(local(stored.ftLastAccessTime)), accessed.year) << "last access";
    folders.SetDatetime(folder / L"missing", created, modified, accessed);
    EXPECT_FALSE(IsThere(folder / L"missing"));
}

TEST_F(ClsFolder, ShortAndLongNamesLeadBackToTheFolder) {
    const std::wstring target = folder.Folder(L"A Long Folder Name\\Another Long One");
    const std::wstring shortName = folders.GetShortName(target);
    ASSERT_FALSE(shortName.empty());
    EXPECT_EQ(folders.GetLongName(shortName), target);
    EXPECT_EQ(folders.GetLongName(target), target);
    EXPECT_EQ(folders.GetShortName(folder / L"missing"), L"");
    EXPECT_EQ(ErrorOf([&] { folders.GetShortName(folder / L"missing\\x"); }).number, 76);
}

} // namespace
} // namespace vt

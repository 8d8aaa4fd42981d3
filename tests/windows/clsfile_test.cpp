// The file class against the real file system and libraries of known version data: each test
// owns a folder of its own.
#include "filesystem/clsFile.h"
#include "filesystem/shell_file_op.h"
#include "system/errors.h"
#include "system/handles.h"
#include "tests/support/fixtures.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <vector>

namespace vt {
namespace {

using test::CurrentTestName;
using test::ErrorOf;
using test::IsThere;
using test::TestFolder;

class ClsFile : public testing::Test {
  protected:
    TestFolder folder{CurrentTestName()};
    clsFile files;
};

// Exists answers for files only; the path check behind copy and move numbers its errors.
TEST_F(ClsFile, ExistsAndThePathCheckTellFilesFoldersAndBadPaths) {
    const std::wstring file = folder.File(L"a.txt");
    constexpr long kNotAsked = -1;
    const struct {
        std::wstring path;
        bool exists;
        long checkError;
    } cases[] = {
        {file, true, 0},
        {folder.Path(), false, 0}, // a folder is no file
        {folder.Path() + L"\\", false, kNotAsked},
        {folder / L"missing.txt", false, 53},
        {folder / L"missing\\a.txt", false, 76},
        {folder / L"a<b.txt", false, 52},
        {folder / L"a|b.txt", false, 52},
        {L"", false, kNotAsked},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(files.Exists(c.path), c.exists);
        if (c.checkError != kNotAsked) {
            EXPECT_EQ(AttributeQueryError(c.path), c.checkError);
        }
    }
}

TEST_F(ClsFile, DeleteRemovesAFileForGood) {
    const std::wstring file = folder.File(L"Settings.ini");
    const std::wstring neighbour = folder.File(L"Stats.ini");
    EXPECT_TRUE(files.Delete(file));
    EXPECT_FALSE(IsThere(file));
    EXPECT_TRUE(IsThere(neighbour)) << "only the file asked for";
    // A missing file passes the check; the shell is asked and fails.
    EXPECT_FALSE(files.Delete(file));
    EXPECT_FALSE(files.Delete(folder / L"missing\\x.ini")) << "missing folder: error skipped";
    EXPECT_FALSE(files.Delete(folder / L"a|b")) << "bad name: error skipped";
}

// The shell expands wildcards and resolves relative names against the current folder; a
// delete must reach only the one file it names, whatever text it is given.
TEST_F(ClsFile, DeleteNeverReachesFilesThatAWildcardOrARelativeNameWouldMatch) {
    const std::wstring first = folder.File(L"a.txt");
    const std::wstring second = folder.File(L"b.txt");
    wchar_t previous[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    for (const std::wstring& path : {folder / L"*.txt", folder / L"?.txt", std::wstring(L"a.txt"),
                                     std::wstring(L".\\b.txt")}) {
        SCOPED_TRACE(testing::PrintToString(path));
        EXPECT_FALSE(files.Delete(path));
        EXPECT_TRUE(IsThere(first));
        EXPECT_TRUE(IsThere(second));
    }
    SetCurrentDirectoryW(previous);
}

// A missing folder on the way (76, naming that folder) or a bad name (52) stops copy and
// move before anything is copied or moved.
TEST_F(ClsFile, CopyAndMoveStopAtAMissingFolderOrABadName) {
    const std::wstring source = folder.File(L"a.dll", "library");
    const std::wstring missing = folder / L"missing";
    const std::wstring bad = folder / L"b<c.dll";
    const ErrorInfo copied = ErrorOf([&] { files.Copy(source, missing + L"\\a.dll"); });
    EXPECT_EQ(copied.number, 76);
    EXPECT_EQ(copied.description, L"'" + missing + L"' not a valid path");
    EXPECT_EQ(ErrorOf([&] { files.Move(source, missing + L"\\a.dll"); }).number, 76);
    const ErrorInfo named = ErrorOf([&] { files.Copy(source, bad); });
    EXPECT_EQ(named.number, 52);
    EXPECT_EQ(named.description, L"'" + bad + L"' is not a valid file name.");
    EXPECT_EQ(ErrorOf([&] { files.Move(bad, folder / L"x.dll"); }).number, 52);
    EXPECT_FALSE(IsThere(missing)) << "nothing copied";
    EXPECT_TRUE(IsThere(source)) << "nothing moved";
}

TEST_F(ClsFile, CopyMoveAndRenameDoTheirWork) {
    const std::wstring source = folder.File(L"a.txt", "hello");
    files.Copy(source, folder / L"copy.txt");
    files.Copy(source, folder / L"silent.txt", true);
    EXPECT_EQ(std::filesystem::file_size(folder / L"copy.txt"), 5u);
    EXPECT_TRUE(files.Exists(folder / L"silent.txt"));
    files.Move(folder / L"copy.txt", folder / L"moved.txt");
    files.Rename(folder / L"moved.txt", folder / L"renamed.txt");
    EXPECT_TRUE(files.Exists(source));
    EXPECT_FALSE(IsThere(folder / L"copy.txt"));
    EXPECT_FALSE(IsThere(folder / L"moved.txt"));
    EXPECT_TRUE(files.Exists(folder / L"renamed.txt"));
}

TEST_F(ClsFile, FailuresOfTheShellAreNotErrors) {
    // A missing source passes the check (53); the shell fails, which only beeps.
    EXPECT_EQ(ErrorOf([&] { files.Copy(folder / L"missing.txt", folder / L"x.txt"); }).number, 0);
    EXPECT_FALSE(IsThere(folder / L"x.txt"));
    // Rename skips the check's error and still asks the shell, which refuses the name.
    const std::wstring kept = folder.File(L"kept.txt");
    files.Rename(folder / L"a<b.txt", folder / L"c.txt");
    files.Rename(folder / L"missing\\a.txt", kept);
    EXPECT_TRUE(IsThere(kept));
    EXPECT_FALSE(IsThere(folder / L"c.txt"));
}

TEST_F(ClsFile, DeleteInUseDeletesAtTheNextRestart) {
    // The pending operations live in one machine-wide value: what was there goes back.
    constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";
    constexpr wchar_t kPending[] = L"PendingFileRenameOperations";
    UniqueRegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, key.put()),
              ERROR_SUCCESS);
    const auto read = [&] {
        DWORD bytes = 0;
        std::vector<BYTE> data;
        if (RegQueryValueExW(key.get(), kPending, nullptr, nullptr, nullptr, &bytes) == 0) {
            data.resize(bytes);
            RegQueryValueExW(key.get(), kPending, nullptr, nullptr, data.data(), &bytes);
        }
        return data;
    };
    const std::vector<BYTE> before = read();
    const std::wstring file = folder.File(L"inuse.dll");
    files.DeleteInUse(file);
    const std::vector<BYTE> after = read();
    if (before.empty()) {
        RegDeleteValueW(key.get(), kPending);
    } else {
        RegSetValueExW(key.get(), kPending, 0, REG_MULTI_SZ, before.data(),
                       static_cast<DWORD>(before.size()));
    }

    const std::wstring list(reinterpret_cast<const wchar_t*>(after.data()),
                            after.size() / sizeof(wchar_t));
    // Each operation is a pair: the file, then its new name, empty for a deletion.
    const std::wstring entry = L"\\??\\" + file + std::wstring(1, L'\0') + std::wstring(1, L'\0');
    EXPECT_NE(list.find(entry), std::wstring::npos) << "no deletion registered";
    EXPECT_TRUE(IsThere(file)) << "not before the restart";
}

TEST_F(ClsFile, SizesOfA5GiBSparseFileAndOfAMissingOneInTheUsersNotation) {
    const std::wstring path = folder.File(L"big.bin", "");
    {
        const UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD ignored = 0;
        DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
        LARGE_INTEGER end{};
        end.QuadPart = 5368709120;
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) &&
                    SetEndOfFile(file.get()));
    }
    EXPECT_EQ(files.GetSize(path), 5368709120);
    EXPECT_EQ(files.GetSize(folder / L"missing.bin"), 0);

    wchar_t before[8] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before, 8);
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","));
    const std::wstring text = files.FormatSize(files.GetSize(path));
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before);
    EXPECT_EQ(text, L"5,00 GB");
}

// The sample's strings are those of its first translation (0409, 1200), not its second.
TEST_F(ClsFile, VersionAndStringsOfTheFirstTranslation) {
    const struct {
        std::wstring file;
        const wchar_t* version;
        const wchar_t* description;
        const wchar_t* company;
    } cases[] = {
        {test::Environment(L"VT_VERSION_SAMPLE"), L"6.1.16385", L"Version sample", L"Sample Maker"},
        {test::Environment(L"VT_GERMAN_V2"), L"2.0", L"Veltrane Uninstaller language component",
         L""},
        {folder / L"missing.dll", L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.GetVersion(c.file), c.version);
        EXPECT_EQ(files.GetDescription(c.file, 0), c.description);
        EXPECT_EQ(files.GetDescription(c.file, 1), c.company);
    }
}

TEST_F(ClsFile, ContentsByteForByteAndInUse) {
    const std::wstring ab = folder / L"ab.txt";
    EXPECT_TRUE(files.CreateAFile(ab, L"AB"));
    EXPECT_EQ(files.LoadToString(ab), std::wstring(L"A\0B\0", 4)) << "41 00 42 00";
    EXPECT_EQ(files.ReadAFile(ab), L"AB");
    EXPECT_EQ(files.ReadAFile(folder.File(L"abc.txt", "abc")), L"\u6261\u0063");
    EXPECT_EQ(files.ReadAFile(folder / L"missing.txt"), L"");
    EXPECT_FALSE(files.CreateAFile(folder / L"missing\\a.txt", L"AB"));
    EXPECT_EQ(files.LoadToString(folder / L"abc.txt"), L"abc");

    {
        const UniqueFile held(CreateFileW(ab.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0,
                                          nullptr)); // with every sharing allowed
        EXPECT_TRUE(files.isFileInUse(ab));
    }
    EXPECT_FALSE(files.isFileInUse(ab));
}

TEST_F(ClsFile, SearchAndNames) {
    const std::wstring target = folder.File(L"a\\b\\target.ini");
    EXPECT_EQ(files.SearchFile(folder.Path(), L"target.ini"), target);
    EXPECT_EQ(files.SearchFile(folder.Path(), L"absent.ini"), L"");

    const std::wstring longPath = folder.File(L"A Long Folder Name\\A Long File Name.text");
    const std::wstring shortPath = files.GetShortName(longPath);
    EXPECT_NE(shortPath, longPath);
    EXPECT_EQ(shortPath, files.GetShortName(folder / L"A Long Folder Name") + L"\\" +
                             files.GetShortName(longPath, false));
    EXPECT_EQ(files.GetLongName(shortPath), longPath);
    EXPECT_EQ(files.GetLongName(shortPath, false), L"A Long File Name.text");
    EXPECT_EQ(files.GetLongName(folder / L"missing.txt", false), L"");
}

// The "Disk Error" box, as the path check shows it for a drive that is not ready. No path
// under Wine makes the attribute query report a drive that is not ready: an unknown drive
// letter, or one whose folder or device is gone, reads as a missing file (2) or path (3), and
// drives made with DefineDosDeviceW are not seen by the file functions. So the query is
// scripted here; the box, its answers and the errors are the real ones.
long NotReadyOnce(const std::wstring&) {
    static int calls = 0;
    return calls++ == 0 ? long{kErrInvalidCall} : 0L;
}
long NeverReady(const std::wstring&) {
    return kErrInvalidCall;
}

TEST(PathCheck, DiskErrorBoxRetriesThenCancelRaises71) {
    std::promise<DWORD> thread;
    auto retried = std::async(std::launch::async, [&] {
        thread.set_value(GetCurrentThreadId());
        return ErrorOf(
            [] { CheckPath(L"E:\\Setup\\a.dll", PathCheckKind::File, true, NotReadyOnce); });
    });
    const test::ThreadBox first = test::AnswerBoxOfThread(thread.get_future().get(), IDRETRY);
    EXPECT_EQ(first.caption, L"Disk Error");
    EXPECT_EQ(first.text, L"E: Drive not ready");
    EXPECT_EQ(first.buttons, (std::vector<int>{IDCANCEL, IDRETRY}));
    EXPECT_EQ(first.icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(retried.get().number, 0) << "the retry found the drive";

    std::promise<DWORD> thread2;
    auto cancelled = std::async(std::launch::async, [&] {
        thread2.set_value(GetCurrentThreadId());
        return ErrorOf([] { CheckPath(L"F:\\x", PathCheckKind::Folder, false, NeverReady); });
    });
    const DWORD id = thread2.get_future().get();
    EXPECT_EQ(test::AnswerBoxOfThread(id, IDRETRY).text, L"F: Drive not ready");
    EXPECT_EQ(test::AnswerBoxOfThread(id, IDCANCEL).text, L"F: Drive not ready");
    const ErrorInfo error = cancelled.get();
    EXPECT_EQ(error.number, 71);
    EXPECT_EQ(error.description, L"Disk not ready");
}

} // namespace
} // namespace vt

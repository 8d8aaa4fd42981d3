// The file class against the real file system: each test owns a folder of its own.
#include "filesystem/clsFile.h"
#include "filesystem/shell_file_op.h"
#include "system/errors.h"
#include "tests/support/fixtures.h"

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

TEST_F(ClsFile, ExistsOnlyForFiles) {
    const std::wstring file = folder.File(L"a.txt");
    EXPECT_TRUE(files.Exists(file));
    EXPECT_FALSE(files.Exists(folder.Path())) << "a folder is no file";
    EXPECT_FALSE(files.Exists(folder.Path() + L"\\"));
    EXPECT_FALSE(files.Exists(folder / L"missing.txt"));
    EXPECT_FALSE(files.Exists(folder / L"missing\\a.txt"));
    EXPECT_FALSE(files.Exists(L""));
    EXPECT_FALSE(files.Exists(folder / L"a<b"));
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

TEST_F(ClsFile, CopyIntoAMissingFolderRaises76NamingThatFolder) {
    const std::wstring source = folder.File(L"a.dll", "library");
    const std::wstring missing = folder / L"missing";
    const ErrorInfo error = ErrorOf([&] { files.Copy(source, missing + L"\\a.dll"); });
    EXPECT_EQ(error.number, 76);
    EXPECT_EQ(error.description, L"'" + missing + L"' not a valid path");
    EXPECT_FALSE(IsThere(missing)) << "nothing copied";

    const ErrorInfo moved = ErrorOf([&] { files.Move(source, missing + L"\\a.dll"); });
    EXPECT_EQ(moved.number, 76);
    EXPECT_TRUE(IsThere(source)) << "nothing moved";
}

TEST_F(ClsFile, CopyAndMoveStopAtABadName) {
    const std::wstring source = folder.File(L"a.dll");
    const std::wstring bad = folder / L"b<c.dll";
    const ErrorInfo error = ErrorOf([&] { files.Copy(source, bad); });
    EXPECT_EQ(error.number, 52);
    EXPECT_EQ(error.description, L"'" + bad + L"' is not a valid file name.");
    EXPECT_EQ(ErrorOf([&] { files.Move(bad, folder / L"x.dll"); }).number, 52);
    EXPECT_TRUE(IsThere(source));
}

TEST_F(ClsFile, CopyMoveAndRenameDoTheirWork) {
    const std::wstring source = folder.File(L"a.txt", "hello");
    files.Copy(source, folder / L"copy.txt");
    files.Copy(source, folder / L"silent.txt", true);
    EXPECT_TRUE(files.Exists(source));
    EXPECT_EQ(std::filesystem::file_size(folder / L"copy.txt"), 5u);
    EXPECT_TRUE(files.Exists(folder / L"silent.txt"));

    files.Move(folder / L"copy.txt", folder / L"moved.txt");
    EXPECT_FALSE(IsThere(folder / L"copy.txt"));
    EXPECT_TRUE(files.Exists(folder / L"moved.txt"));

    files.Rename(folder / L"moved.txt", folder / L"renamed.txt");
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
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    const auto read = [&] {
        DWORD bytes = 0;
        std::vector<BYTE> data;
        if (RegQueryValueExW(key, kPending, nullptr, nullptr, nullptr, &bytes) == ERROR_SUCCESS) {
            data.resize(bytes);
            RegQueryValueExW(key, kPending, nullptr, nullptr, data.data(), &bytes);
        }
        return data;
    };
    const std::vector<BYTE> before = read();

    const std::wstring file = folder.File(L"inuse.dll");
    files.DeleteInUse(file);
    const std::vector<BYTE> after = read();
    if (before.empty()) {
        RegDeleteValueW(key, kPending);
    } else {
        RegSetValueExW(key, kPending, 0, REG_MULTI_SZ, before.data(),
                       static_cast<DWORD>(before.size()));
    }
    RegCloseKey(key);

    const std::wstring list(reinterpret_cast<const wchar_t*>(after.data()),
                            after.size() / sizeof(wchar_t));
    // Each operation is a pair: the file, then its new name, empty for a deletion.
    const std::wstring entry = L"\\??\\" + file + std::wstring(1, L'\0') + std::wstring(1, L'\0');
    EXPECT_NE(list.find(entry), std::wstring::npos) << "no deletion registered";
    EXPECT_TRUE(IsThere(file)) << "not before the restart";
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

TEST(PathCheck, AttributeQueryErrorsAsTheChecksNumberThem) {
    TestFolder folder(CurrentTestName());
    const std::wstring file = folder.File(L"a.txt");
    struct Case {
        std::wstring path;
        long number;
    };
    const Case cases[] = {
        {file, 0},
        {folder.Path(), 0},
        {folder / L"missing.txt", 53},
        {folder / L"missing\\a.txt", 76},
        {folder / L"a<b.txt", 52},
        {folder / L"a|b.txt", 52},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AttributeQueryError(c.path), c.number) << testing::PrintToString(c.path);
    }
}

} // namespace
} // namespace vt

// Boxes this process shows: UnicodeMsgBox itself, and the error box that ends a failed run.
// The box runs on a worker thread; the test thread finds it, reads it and answers it.
#include "system/myMod.h"
#include "tests/support/fixtures.h"
#include "uninstall/form1.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

namespace vt {
namespace {

using test::AnswerBoxOfThread;
using test::ThreadBox;

TEST(UnicodeMsgBox, EmptyTitleShowsSetupUninstallAndTheAnswerComesBack) {
    std::promise<DWORD> threadId;
    auto answer = std::async(std::launch::async, [&] {
        threadId.set_value(GetCurrentThreadId());
        HWND owner = nullptr;
        return UnicodeMsgBox(L"Keep?\r\nЖ ✓ 日本", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, L"",
                             L"", owner);
    });
    const ThreadBox box = AnswerBoxOfThread(threadId.get_future().get(), IDYES);
    EXPECT_EQ(answer.get(), IDYES);
    EXPECT_EQ(box.caption, L"Setup/Uninstall");
    EXPECT_EQ(box.text, L"Keep?\r\nЖ ✓ 日本");
    EXPECT_EQ(box.defaultButton, IDNO);
}

TEST(UnicodeMsgBox, TitleIsUsedAndAnUnownedCallGetsTheActiveWindowAsOwner) {
    std::promise<DWORD> threadId;
    HWND window = nullptr;
    HWND ownerSeen = reinterpret_cast<HWND>(1);
    auto answer = std::async(std::launch::async, [&] {
        window = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
        SetActiveWindow(window);
        threadId.set_value(GetCurrentThreadId());
        HWND owner = nullptr;
        const int result = UnicodeMsgBox(L"Done.", MB_OK | MB_ICONINFORMATION,
                                         L"Veltrane Uninstaller", L"", owner);
        ownerSeen = owner;
        DestroyWindow(window);
        return result;
    });
    const ThreadBox box = AnswerBoxOfThread(threadId.get_future().get(), IDOK);
    EXPECT_EQ(answer.get(), IDOK);
    EXPECT_EQ(box.caption, L"Veltrane Uninstaller");
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(ownerSeen, window); // the caller's variable receives the owner
}

TEST(Form1Guard, RunTimeErrorShowsTheErrorBoxThenClosesWithTagOk) {
    std::promise<DWORD> threadId;
    std::wstring tag;
    bool windowGone = false;
    auto outcome = std::async(std::launch::async, [&] {
        Form1 form(GetModuleHandleW(nullptr));
        threadId.set_value(GetCurrentThreadId());
        const RunOutcome result = form.RunGuarded([&](long& line) {
            form.Create();
            line = 14;
            Raise(kErrOverflow);
        });
        tag = form.Tag;
        windowGone = form.hWnd() == nullptr;
        return result;
    });
    const ThreadBox box = AnswerBoxOfThread(threadId.get_future().get(), IDOK);
    EXPECT_EQ(outcome.get(), RunOutcome::Failed);
    EXPECT_EQ(ExitCodeFor(RunOutcome::Failed), 1603);
    EXPECT_EQ(box.caption, L"Setup/Uninstall");
    EXPECT_EQ(box.text, L"An error has been detected:\r\n\r\nErr Description: Overflow\r\nErr No: "
                        L"6\r\nErr Source: VT_Uninstall : Form_Load : 14");
    EXPECT_EQ(tag, L"OK");
    EXPECT_TRUE(windowGone);
}

TEST(Form1Guard, ErrorBeforeTheWindowExistsStillShowsTheBox) {
    std::promise<DWORD> threadId;
    auto outcome = std::async(std::launch::async, [&] {
        Form1 form(GetModuleHandleW(nullptr));
        threadId.set_value(GetCurrentThreadId());
        return form.RunGuarded([](long&) { throw std::bad_alloc(); });
    });
    const ThreadBox box = AnswerBoxOfThread(threadId.get_future().get(), IDOK);
    EXPECT_EQ(outcome.get(), RunOutcome::Failed);
    EXPECT_NE(box.text.find(L"Err Description: Out of memory\r\nErr No: 7\r\n"), std::wstring::npos)
        << testing::PrintToString(box.text);
    EXPECT_NE(box.text.find(L" : Form_Load : 0"), std::wstring::npos);
}

TEST(Form1Guard, BodyThatFinishesNeedsNoBox) {
    Form1 form(GetModuleHandleW(nullptr));
    EXPECT_EQ(form.RunGuarded([](long& line) { line = 28; }), RunOutcome::Finished);
    EXPECT_EQ(form.Tag, L"");
}

} // namespace
} // namespace vt

// Boxes this process shows: UnicodeMsgBox itself, and the error box that ends a failed run.
// The box runs on a worker thread; the test thread finds it, reads it and answers it.
#include "system/myMod.h"
#include "uninstall/form1.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

namespace vt {
namespace {

struct ShownBox {
    std::wstring caption;
    std::wstring text;
    int defaultButton = 0;
    HWND owner = nullptr;
};

BOOL CALLBACK FindVisibleBox(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Waits for the message box of `thread`, reads it and presses `answer`.
ShownBox AnswerBoxOf(DWORD thread, int answer) {
    HWND box = nullptr;
    for (int tries = 0; tries < 6000 && !box; ++tries) {
        EnumThreadWindows(thread, FindVisibleBox, reinterpret_cast<LPARAM>(&box));
        if (!box) {
            Sleep(10); // hang protection only: the box comes when the worker gets there
        }
    }
    ShownBox shown;
    if (!box) {
        ADD_FAILURE() << "no message box appeared";
        return shown;
    }
    wchar_t text[1024] = {};
    GetWindowTextW(box, text, 1024);
    shown.caption = text;
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    shown.text = text;
    // The button drawn as the default. Wine's boxes answer DM_GETDEFID with IDOK whatever
    // the flags say, so the button style is what shows the default here as on Windows.
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button && (GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) {
            shown.defaultButton = id;
        }
    }
    shown.owner = GetWindow(box, GW_OWNER);
    SendMessageW(GetDlgItem(box, answer), BM_CLICK, 0, 0);
    return shown;
}

TEST(UnicodeMsgBox, EmptyTitleShowsSetupUninstallAndTheAnswerComesBack) {
    std::promise<DWORD> threadId;
    auto answer = std::async(std::launch::async, [&] {
        threadId.set_value(GetCurrentThreadId());
        HWND owner = nullptr;
        return UnicodeMsgBox(L"Keep?\r\nЖ ✓ 日本", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, L"",
                             L"", owner);
    });
    const ShownBox box = AnswerBoxOf(threadId.get_future().get(), IDYES);
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
    const ShownBox box = AnswerBoxOf(threadId.get_future().get(), IDOK);
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
    const ShownBox box = AnswerBoxOf(threadId.get_future().get(), IDOK);
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
    const ShownBox box = AnswerBoxOf(threadId.get_future().get(), IDOK);
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

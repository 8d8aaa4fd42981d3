// The main window's texts and design, in this process (it carries the uninstaller's resources).
#include "uninstall/form1.h"
#include "uninstall/form1_layout.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

struct ScreenDpi {
    int x, y;
    ScreenDpi() {
        WindowDc screen(nullptr);
        x = GetDeviceCaps(screen.get(), LOGPIXELSX);
        y = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
};

class Form1Test : public ::testing::Test {
  protected:
    Form1 form{GetModuleHandleW(nullptr)};
};

TEST_F(Form1Test, MessagesComeFromTheBuiltInTableWithTheirRules) {
    form.Language = L"English_UK";
    EXPECT_EQ(form.GetMessageText(3900), L"Uninstaller");
    EXPECT_EQ(form.GetMessageText(3901, L"Veltrane"),
              L"Are you sure you want to completely remove Veltrane and all of its components?");
    EXPECT_EQ(form.GetMessageText(3903, L"Brendix"),
              L"Uninstall cannot begin.  Brendix is currently running. \r\n\r\nIn order to "
              L"continue, Brendix must be closed. \r\n\r\nTerminate Now?");
    EXPECT_EQ(form.GetMessageText(3906), L"Veltrane was successfully removed from your computer.");
}

TEST_F(Form1Test, MissingMessageOrLanguageGivesEmptyText) {
    form.Language = L"English_UK";
    EXPECT_EQ(form.GetMessageText(3907), L"");
    EXPECT_EQ(form.GetMessageText(-1), L"");
    // The comparison with the built-in language is exact.
    form.Language = L"english_uk";
    EXPECT_EQ(form.GetMessageText(3900), L"");
}

TEST_F(Form1Test, WindowIsCreatedHiddenWithItsDesignedClientArea) {
    form.Create();
    ASSERT_NE(form.hWnd(), nullptr);
    EXPECT_FALSE(IsWindowVisible(form.hWnd()));
    const ScreenDpi dpi;
    RECT client{};
    GetClientRect(form.hWnd(), &client);
    EXPECT_EQ(client.right, MulDiv(7470, dpi.x, 1440));
    EXPECT_EQ(client.bottom, MulDiv(5370, dpi.y, 1440));
    if (dpi.x == 96 && dpi.y == 96) {
        EXPECT_EQ(client.right, 498);
        EXPECT_EQ(client.bottom, 358);
    }
}

TEST_F(Form1Test, ControlsStandWhereTheDesignPutsThem) {
    form.Create();
    struct Expected {
        int id, left, top;
    };
    const ScreenDpi dpi;
    for (Expected e : {Expected{kIdLabel3, 360, 165}, Expected{kIdLabel4, 600, 420},
                       Expected{kIdLabel1, 840, 1680}, Expected{kIdLabel2, 600, 1200},
                       Expected{kIdProgressBar, 840, 1920}, Expected{kIdCommand1, 6160, 4880}}) {
        HWND control = GetDlgItem(form.hWnd(), e.id);
        ASSERT_NE(control, nullptr) << e.id;
        RECT at{};
        GetWindowRect(control, &at);
        MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&at), 2);
        EXPECT_EQ(at.left, MulDiv(e.left, dpi.x, 1440)) << e.id;
        EXPECT_EQ(at.top, MulDiv(e.top, dpi.y, 1440)) << e.id;
    }
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form.hWnd(), kIdCommand1)));
}

TEST_F(Form1Test, FrameCannotCloseTheWindow) {
    form.Create();
    SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    SendMessageW(form.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(form.hWnd()));
    const UINT state = GetMenuState(GetSystemMenu(form.hWnd(), FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_TRUE(state & MF_GRAYED);
}

TEST_F(Form1Test, ProgressBarKeepsItsValueInRange) {
    form.Create();
    form.pb.Max(180);
    form.pb.Min(0);
    form.pb.Value(13);
    EXPECT_EQ(form.pb.Value(), 13);
    form.pb.Value(form.pb.Max() + 5);
    EXPECT_EQ(form.pb.Value(), 180);
    EXPECT_EQ(form.pb.Min(), 0);
}

} // namespace
} // namespace vt

// Special folders, the program's own location, and window icons, against the real system.
#include "resources/resource.h"
#include "system/handles.h"
#include "system/mIcon.h"
#include "system/myMod.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <map>

namespace vt {
namespace {

TEST(GetSpecialFolder, GivesTheShellsPathWithoutTrailingBackslashOrNothing) {
    for (int csidl : {kCsidlAppData, kCsidlDesktop, kCsidlCommonStartup}) {
        wchar_t expected[MAX_PATH] = {};
        ASSERT_EQ(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, expected), S_OK);
        const std::wstring path = GetSpecialFolder(csidl, nullptr);
        EXPECT_EQ(path, expected) << "CSIDL " << csidl;
        ASSERT_FALSE(path.empty());
        EXPECT_NE(path.back(), L'\\');
    }
    EXPECT_EQ(GetSpecialFolder(0x00FF, nullptr), L"") << "unknown folder";
    // A virtual folder has an item list but no file-system path.
    EXPECT_EQ(GetSpecialFolder(CSIDL_DRIVES, nullptr), L"");
}

TEST(AppPath, IsTheExecutablesFolderWithoutTrailingBackslash) {
    const std::wstring exe = AppExePath();
    const std::wstring folder = AppPath();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
    EXPECT_EQ(exe.substr(0, folder.size() + 1), folder + L"\\");
    EXPECT_EQ(exe.find(L'\\', folder.size() + 1), std::wstring::npos);
}

// A top-level window that counts the icons it is given.
class IconWindow {
  public:
    explicit IconWindow(HWND owner = nullptr) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VtIconTestWindow";
        RegisterClassW(&windowClass);
        window_.reset(CreateWindowExW(0, L"VtIconTestWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                      100, owner, nullptr, GetModuleHandleW(nullptr), this));
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HWND get() const { return window_.get(); }
    int Given(WPARAM which) const {
        auto found = given_.find(which);
        return found == given_.end() ? 0 : found->second;
    }
    // The width of the icon the window holds now.
    int IconWidth(WPARAM which) const {
        HICON icon = reinterpret_cast<HICON>(SendMessageW(get(), WM_GETICON, which, 0));
        ICONINFO info{};
        if (!icon || !GetIconInfo(icon, &info)) {
            return 0;
        }
        UniqueBitmap colour(info.hbmColor);
        UniqueBitmap mask(info.hbmMask);
        BITMAP bitmap{};
        GetObjectW(mask.get(), sizeof bitmap, &bitmap);
        return bitmap.bmWidth;
    }

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<IconWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_SETICON && self) {
            ++self->given_[wParam];
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    UniqueWindow window_;
    std::map<WPARAM, int> given_;
};

TEST(SetIcon, WindowWithoutOwnerGetsEachIconOnceAndAnUnknownIconNone) {
    IconWindow window;
    SetIcon(window.get(), "1", true);
    EXPECT_EQ(window.Given(ICON_BIG), 1);
    EXPECT_EQ(window.Given(ICON_SMALL), 1);
    EXPECT_EQ(window.IconWidth(ICON_BIG), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(window.IconWidth(ICON_SMALL), GetSystemMetrics(SM_CXSMICON));
    IconWindow other;
    SetIcon(other.get(), "77", true);
    SetIcon(other.get(), "NoSuchIcon", true);
    EXPECT_EQ(other.IconWidth(ICON_BIG), 0);
}

TEST(SetIcon, TopOwnerGetsTheIconsTooUnlessAskedNotTo) {
    IconWindow top;
    IconWindow middle(top.get());
    IconWindow window(middle.get());
    SetIcon(window.get(), "1", true);
    EXPECT_EQ(top.Given(ICON_BIG), 1);
    EXPECT_EQ(top.Given(ICON_SMALL), 1);
    EXPECT_EQ(middle.Given(ICON_BIG), 0);
    EXPECT_EQ(window.Given(ICON_BIG), 1);
    EXPECT_EQ(window.Given(ICON_SMALL), 1);

    IconWindow otherTop;
    IconWindow owned(otherTop.get());
    SetIcon(owned.get(), "1", false);
    EXPECT_EQ(otherTop.Given(ICON_BIG), 0);
    EXPECT_EQ(owned.Given(ICON_BIG), 1);
}

} // namespace
} // namespace vt

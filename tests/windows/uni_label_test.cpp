// The Unicode label on a window of known colour: sizes it takes, backgrounds, events, its
// property set, and the window drag of a mouse press.
#include "controls/MyUniLabel.h"
#include "controls/control_window.h"
#include "tests/windows/control_pictures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vt {
namespace {

using testing::Render;
using testing::Rendered;

constexpr COLORREF kHostColour = RGB(20, 200, 40);
const FontData kAmbient{L"Tahoma", Currency{82500}, 400, false, false, false, 0};

struct HostEvents {
    std::vector<std::string> seen;
};

// A window that paints itself in one colour, and notes its moves.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT:
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = message == WM_PAINT ? BeginPaint(window, &paint) : reinterpret_cast<HDC>(wParam);
        RECT all{};
        GetClientRect(window, &all);
        UniqueBrush brush(CreateSolidBrush(kHostColour));
        FillRect(dc, &all, brush.get());
        if (message == WM_PAINT) {
            EndPaint(window, &paint);
        }
        return 0;
    }
    case WM_MOVE:
        if (auto* events =
                reinterpret_cast<HostEvents*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            events->seen.push_back("Move");
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

UniqueWindow MakeHost(DWORD style = WS_POPUP) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VT_LabelTestHost";
    RegisterClassExW(&windowClass);
    return UniqueWindow(CreateWindowExW(0, L"VT_LabelTestHost", L"host", style, 100, 100, 400, 200,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
}

// The caption's extent in twips with the label's own font.
SIZE TextTwips(const MyUniLabel& label, const std::wstring& text) {
    WindowDc dc(label.hWnd());
    SelectObjectScope font(dc.get(),
                           reinterpret_cast<HFONT>(SendMessageW(label.hWnd(), WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const TwipsScale scale = TwipsScale::OfScreen();
    return SIZE{static_cast<LONG>(std::lround(extent.cx * scale.x)),
                static_cast<LONG>(std::lround(extent.cy * scale.y))};
}

class UniLabelTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(host); }
    MyUniLabel Place(const PropertyBag* bag = nullptr, TwipsBox at = {300, 300, 1575, 255}) {
        MyUniLabel label;
        if (bag) {
            label.Create(host.get(), ++ids, at, *bag, kAmbient);
        } else {
            label.CreateNew(host.get(), ++ids, at, kAmbient);
        }
        return label;
    }
    UniqueWindow host = MakeHost();
    int ids = 0;
};

TEST_F(UniLabelTest, AutoSizeFollowsTheCaption) {
    const struct {
        const wchar_t* caption;
        bool bold;
        int extraWidth;
    } cases[] = {
        {L"Uninstall Status", false, 40},
        {L"Uninstall Status", true, 80},
        {L"\x0416\x0443\x0440\x043D\x0430\x043B \x65E5\x672C", false, 40},
        {L"x", true, 80},
    };
    for (const auto& c : cases) {
        MyUniLabel label = Place();
        label.FontBold(c.bold);
        label.Caption(c.caption);
        const SIZE text = TextTwips(label, c.caption);
        EXPECT_EQ(label.Place().width, text.cx + c.extraWidth) << c.bold;
        EXPECT_EQ(label.Place().height, text.cy + 20);
        EXPECT_EQ(label.Place().left, 300) << "a left-aligned label keeps its left edge";
        RECT pixels{};
        GetWindowRect(label.hWnd(), &pixels);
        EXPECT_EQ(pixels.right - pixels.left, TwipsScale::OfScreen().PixelsX(label.Place().width));
    }
    MyUniLabel empty = Place();
    const int height = empty.Place().height;
    empty.Caption(L"");
    EXPECT_EQ(empty.Place().width, 90);
    EXPECT_EQ(empty.Place().height, height);
}

TEST_F(UniLabelTest, ChangeOncePerDifferentCaptionAndTheTextMessagesAnswer) {
    MyUniLabel label = Place();
    int changes = 0;
    label.OnChange([&] { ++changes; });
    for (const wchar_t* caption : {L"one", L"one", L"two", L"two", L"one"}) {
        label.Caption(caption);
    }
    EXPECT_EQ(changes, 3);
    wchar_t text[32] = {};
    GetWindowTextW(label.hWnd(), text, 32);
    EXPECT_STREQ(text, L"one");
    SetWindowTextW(label.hWnd(), L"\x05E9\x05DC\x05D5\x05DD");
    EXPECT_EQ(label.Caption(), L"\x05E9\x05DC\x05D5\x05DD");
    EXPECT_EQ(changes, 4);
}

TEST_F(UniLabelTest, BackgroundsOpaqueKeyedAndCopied) {
    const struct {
        std::int32_t backStyle;
        COLORREF background; // what the label's empty pixels show
    } cases[] = {
        {kBackOpaque, RGB(86, 105, 120)}, // BackColor
        {kBackColourKeyed, kHostColour},  // BackColor pixels show the window behind
        {kBackCopied, kHostColour},       // no picture named: the window's own image
    };
    for (const auto& c : cases) {
        MyUniLabel label = Place();
        label.ForeColor(0);
        label.BackStyle(c.backStyle);
        label.Caption(L"Status text");
        const Rendered picture = Render(label.hWnd());
        EXPECT_EQ(picture.At(0, 0), c.background) << c.backStyle;
        EXPECT_EQ(picture.At(picture.width - 1, picture.height - 1), c.background);
        int text = 0;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                text += picture.At(x, y) != c.background;
            }
        }
        EXPECT_GT(text, 20) << "the caption is drawn";
    }
}

TEST_F(UniLabelTest, AmpersandsAreDrawnOnlyWithoutMnemonics) {
    MyUniLabel label = Place();
    label.AutoSize(false);
    label.ForeColor(0);
    const auto columnsWithText = [&](const wchar_t* caption) {
        label.Caption(caption);
        const Rendered picture = Render(label.hWnd());
        int columns = 0;
        for (int x = 0; x < picture.width; ++x) {
            bool text = false;
            for (int y = 0; y < picture.height; ++y) {
                text = text || picture.At(x, y) != picture.At(0, 0);
            }
            columns += text;
        }
        return columns;
    };
    // With mnemonics on the ampersand is drawn; off, it only underlines the next letter.
    const int literal = columnsWithText(L"&&&&&&");
    label.UseMnemonic(false);
    EXPECT_GT(literal, columnsWithText(L"&&&&&&"));
}

TEST_F(UniLabelTest, MousePointerChoosesTheCursorOverTheLabel) {
    MyUniLabel label = Place();
    const struct {
        std::int32_t pointer;
        LPCWSTR shape;
    } cases[] = {{11, IDC_WAIT}, {3, IDC_IBEAM}, {0, IDC_ARROW}, {99, IDC_ARROW}};
    for (const auto& c : cases) {
        label.MousePointer(c.pointer);
        SetCursor(nullptr);
        SendMessageW(label.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label.hWnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.shape)) << c.pointer;
    }
}

TEST_F(UniLabelTest, SavedSetLoadsBackToTheSameLabel) {
    MyUniLabel label = Place();
    std::vector<std::wstring> reported;
    label.OnPropertyChanged([&](std::wstring_view key) { reported.emplace_back(key); });
    label.Caption(L"Removing Registry Entries...");
    label.BackColor(0x8000000F);
    label.ForeColor(0);
    label.FontBold(true);
    label.BorderStyle(1);
    label.AlphaLinkIMG(L"Image1");
    EXPECT_EQ(reported, (std::vector<std::wstring>{L"Caption", L"BackColor", L"ForeColor",
                                                   L"FontBold", L"Borderstyle", L"AlphaLinkIMG"}));
    const PropertyBag saved = label.Save();
    MyUniLabel copy = Place(&saved);
    EXPECT_EQ(copy.Properties(), label.Properties());
    EXPECT_EQ(copy.Place(), label.Place());
    EXPECT_EQ(Render(copy.hWnd()).pixels, Render(label.hWnd()).pixels);
}

// Mouse input at a point of the screen, in the absolute units SendInput takes.
INPUT MouseAt(POINT screen, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

TEST(UniLabelDrag, PressOnALabelMovesTheWindowThenClickAndMouseUp) {
    UniqueWindow host = MakeHost(WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(host);
    HostEvents events;
    MyUniLabel label;
    label.CreateNew(host.get(), 1, TwipsBox{300, 300, 1575, 255}, kAmbient);
    label.OnMouseDown([&](short& button, short&, float&, float&) {
        events.seen.push_back("MouseDown " + std::to_string(button));
    });
    label.OnClick([&] { events.seen.push_back("Click"); });
    label.OnMouseUp([&](short& button, short&, float&, float&) {
        events.seen.push_back("MouseUp " + std::to_string(button));
    });
    SetWindowLongPtrW(host.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&events));
    UpdateWindow(host.get());
    RECT before{};
    GetWindowRect(host.get(), &before);
    RECT on{};
    GetWindowRect(label.hWnd(), &on);
    const POINT press{on.left + 5, on.top + 5};
    const POINT release{press.x + 40, press.y + 30};
    INPUT inputs[] = {MouseAt(press, 0), MouseAt(press, MOUSEEVENTF_LEFTDOWN),
                      MouseAt(POINT{press.x + 20, press.y + 15}, 0), MouseAt(release, 0),
                      MouseAt(release, MOUSEEVENTF_LEFTUP)};
    ASSERT_EQ(SendInput(5, inputs, sizeof(INPUT)), 5u);
    // The press is handled when its messages come; wait for the release, with a hang guard.
    for (int rounds = 0; rounds < 1000; ++rounds) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!events.seen.empty() && events.seen.back().rfind("MouseUp", 0) == 0) {
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    SetWindowLongPtrW(host.get(), GWLP_USERDATA, 0);
    // MouseDown, the window's moves while the button is down, then Click and MouseUp.
    ASSERT_GE(events.seen.size(), 4u) << ::testing::PrintToString(events.seen);
    EXPECT_EQ(events.seen.front(), "MouseDown 1");
    EXPECT_EQ(events.seen[1], "Move");
    EXPECT_EQ(events.seen[events.seen.size() - 2], "Click");
    EXPECT_EQ(events.seen.back(), "MouseUp 1");
    RECT after{};
    GetWindowRect(host.get(), &after);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
}

} // namespace
} // namespace vt

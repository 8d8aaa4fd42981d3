// The window at the display scales users choose, looked at from another process: its places
// stay in twips, its pictures span what they spanned, and a screen reader learns what each
// control is and says.
#include "tests/support/capture.h"
#include "tests/support/fixtures.h"
#include "tests/support/running.h"
#include "tests/support/text.h"
#include "uninstall/form1_layout.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <cmath>

namespace vt::test {
namespace {

// What a screen reader reads of `window`: its role, and its name or value.
std::pair<long, std::wstring> Read(HWND window,
                                   HRESULT (STDMETHODCALLTYPE IAccessible::*text)(VARIANT, BSTR*)) {
    UniqueCom<IAccessible> object;
    VARIANT self{}; // CHILDID_SELF
    self.vt = VT_I4;
    VARIANT role{};
    BSTR got = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(object.put()))) ||
        FAILED(object.get()->get_accRole(self, &role)) || (object.get()->*text)(self, &got)) {
        return {};
    }
    const std::pair<long, std::wstring> read{role.lVal, got ? got : L""};
    SysFreeString(got);
    return read;
}

TEST(WindowAtDisplayScale, KeepsItsProportionsAndTellsScreenReadersWhatItShows) {
    const OleApartment ole;
    constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
    // The bar's value of 180 at each dots per inch, which Wine reads when a program starts.
    const std::pair<DWORD, int> cases[] = {{96, 0},   {96, 180}, {96, 81},
                                           {120, 81}, {144, 81}, {192, 81}};
    for (const auto& [dpi, value] : cases) {
        SCOPED_TRACE(testing::Message() << dpi << " dpi, value " << value);
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        WatchedProcess host(Environment(L"VT_WINDOW_HOST"), std::to_wstring(value));
        HWND form = nullptr;
        ASSERT_TRUE(PollUntil([&] { return IsWindowVisible(form = host.MainWindow()); }, 20000));
        const auto pixels = [dpi](double twips) { return std::lround(twips * dpi / 1440); };
        RECT client{};
        GetClientRect(form, &client);
        EXPECT_EQ(client.right, pixels(7470));
        EXPECT_EQ(client.bottom, pixels(5370));
        // The width a label takes for its caption in the window's font made for this scale
        // (bold for the title), as the label measures it: a font that lost its weight, face or
        // size when it was made again for the scale gives the label another width. The width
        // tells the weight where strokes cannot: Wine's own Tahoma Bold has the regular outlines
        // (only its bitmaps, up to 12 pixels, are bold), so above 96 dots per inch Wine draws
        // the title as regular glyphs at bold widths, where Windows draws it bold.
        const auto labelWidth = [&](const wchar_t* caption, bool bold) {
            LOGFONTW design{};
            design.lfHeight = -std::lround(8.25 * dpi / 72);
            design.lfWeight = bold ? FW_BOLD : FW_NORMAL;
            lstrcpynW(design.lfFaceName, L"Tahoma", LF_FACESIZE);
            const UniqueFont font(CreateFontIndirectW(&design));
            const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
            const SelectObjectScope use(dc.get(), font.get());
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), caption, lstrlenW(caption), &extent);
            return pixels(std::lround(extent.cx * 1440.0 / dpi) + (bold ? 80 : 40));
        };
        // Places in twips as the design gives them; the labels' sizes follow their text, and a
        // screen reader reads each label as static text named by its caption.
        const struct {
            int id, left, top, height;
            const wchar_t* caption;
            bool bold;
        } places[] = {{kIdLabel3, 360, 165, 230, L"Uninstall Status", true},
                      {kIdLabel4, 600, 420, 230,
                       L"Please wait while Veltrane is removed from your computer.", false},
                      {kIdLabel1, 840, 1680, 230, L"Removing Registry Entries...", false},
                      {kIdLabel2, 600, 1200, 230, L"Uninstalling Veltrane...", false},
                      {kIdProgressBar, 840, 1920, 0, nullptr, false},
                      {kIdCommand1, 6160, 4880, 0, nullptr, false}};
        for (const auto& p : places) {
            RECT at{};
            GetWindowRect(GetDlgItem(form, p.id), &at);
            MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&at), 2);
            EXPECT_NEAR(at.left, pixels(p.left), 1) << p.id;
            EXPECT_NEAR(at.top, pixels(p.top), 1) << p.id;
            EXPECT_NEAR(p.height ? at.bottom - at.top : 0, pixels(p.height), dpi / 40) << p.id;
            if (p.caption) {
                EXPECT_NEAR(at.right - at.left, labelWidth(p.caption, p.bold), 1) << p.id;
                EXPECT_EQ(Read(GetDlgItem(form, p.id), &IAccessible::get_accName),
                          std::pair(long{ROLE_SYSTEM_STATICTEXT}, std::wstring(p.caption)));
            }
        }

        const Picture window = CaptureWindow(form, host);
        SavePng(ArtifactPath(L"window-" + std::to_wstring(dpi) + L"dpi-" + std::to_wstring(value) +
                             L".png"),
                window);
        RECT frame{}; // its top left from the client area's
        GetWindowRect(form, &frame);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&frame), 1);
        const auto at = [&](long x, long y) { return window.Pixel(x - frame.left, y - frame.top); };
        // The banner spans the top band to the client's right edge and ends at the rule.
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        EXPECT_NE(at(client.right - 1, pixels(855) - 1), face);
        EXPECT_EQ(at(client.right - 1, pixels(860)), GetSysColor(COLOR_SCROLLBAR));
        // Each tile of the bar ends in a column of the strip's own colour (seen in the tiles'
        // last row, under the caption): a scaled step apart, as many as the fill holds.
        std::vector<long> gaps;
        for (long x = pixels(840) + 2; x < pixels(840 + 5775) - 2; ++x) {
            if (at(x, pixels(1920 + 285) + 2) == face) {
                gaps.push_back(x);
            }
        }
        const long step = std::lround(12.0 * dpi / 96);
        EXPECT_NEAR(gaps.size(), (pixels(5775) - 4) * value / 180 / step, 1);
        EXPECT_EQ(gaps.size() > 1 ? gaps[1] - gaps[0] : step, step);

        EXPECT_EQ(
            Read(GetDlgItem(form, kIdProgressBar), &IAccessible::get_accValue),
            std::pair(long{ROLE_SYSTEM_PROGRESSBAR}, std::to_wstring(value * 100 / 180) + L"%"));
        // Wine's window object answers nothing of its own: the client object carries the name.
        EXPECT_EQ(Read(form, &IAccessible::get_accName).second, L"Veltrane Uninstaller");
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
}

} // namespace
} // namespace vt::test

// The Unicode label's arithmetic and property set.
#include "controls/label_rules.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

const FontData kAmbient{L"Tahoma", Currency{82500}, 400, false, false, false, 0};

TEST(LabelDrawFlags, AlignmentWordBreaksAndPrefixes) {
    const struct {
        std::int32_t alignment;
        bool wordWrap, useMnemonic;
        std::uint32_t flags;
    } cases[] = {
        {0, false, false, 0x000},  {1, false, false, 0x002}, {2, false, false, 0x001},
        {-1, false, false, 0x000}, {99, true, false, 0x010}, {2, true, true, 0x811},
        {0, false, true, 0x800},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LabelDrawFlags(c.alignment, c.wordWrap, c.useMnemonic), c.flags)
            << c.alignment << " " << c.wordWrap << " " << c.useMnemonic;
    }
}

TEST(LabelTextRect, InnerSizeInPixelsWithOneSpareRowAndColumn) {
    const struct {
        double width, height, tppX, tppY;
        std::int32_t border;
        PixelRect rect;
    } cases[] = {
        {1410, 210, 15, 15, 0, {1, 1, 93, 15}},
        {1410, 210, 15, 15, 1, {1, 0, 93, 15}},
        {1402.5, 217.5, 15, 15, 0, {1, 1, 92, 16}}, // 92.5 -> 92 and 15.5 -> 16: halves to even
        {1410, 210, 12, 12, 0, {1, 1, 116, 18}},    // 120 dots per inch
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LabelTextRect(c.width, c.height, c.tppX, c.tppY, c.border), c.rect)
            << c.width << " x " << c.height << " at " << c.tppX;
    }
}

TEST(AutoSizedBox, FollowsTheCaptionAndKeepsARightEdge) {
    const TwipsBox at{600, 1200, 1980, 210};
    const struct {
        bool empty;
        std::int32_t textWidth, textHeight;
        bool bold;
        std::int32_t alignment, remembered;
        TwipsBox box;
    } cases[] = {
        {false, 1350, 195, false, 0, 1980, {600, 1200, 1390, 215}},
        {false, 1350, 195, true, 0, 1980, {600, 1200, 1430, 215}}, // bold: 40 twips more
        {true, 0, 0, false, 0, 1980, {600, 1200, 90, 210}},        // empty: 90 wide
        {true, 0, 0, true, 0, 1980, {600, 1200, 90, 210}},
        // Right-aligned: the right edge of the remembered width stays at 2580.
        {false, 1350, 195, false, 1, 1980, {1190, 1200, 1390, 215}},
        {false, 3000, 195, false, 1, 1980, {-460, 1200, 3040, 215}},
        {true, 0, 0, false, 1, 1980, {2490, 1200, 90, 210}},
        {false, 1350, 195, false, 2, 1980, {600, 1200, 1390, 215}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            AutoSizedBox(at, c.empty, c.textWidth, c.textHeight, c.bold, c.alignment, c.remembered),
            c.box)
            << c.textWidth << " bold " << c.bold << " alignment " << c.alignment;
    }
    EXPECT_EQ(CopiedBackgroundColumn(600, 1390, 1980, 1), 10);
    EXPECT_EQ(CopiedBackgroundColumn(600, 1390, 1980, 0), 600);
}

TEST(LabelProperties, NewAndAbsentValuesDifferWhereTheyShould) {
    const LabelProps fresh = NewLabel(kAmbient);
    const LabelProps loaded = LoadLabel(PropertyBag{}, kAmbient);
    EXPECT_EQ(fresh.BackStyle, kBackOpaque);
    EXPECT_EQ(loaded.BackStyle, kBackColourKeyed);
    LabelProps sameButBackStyle = loaded;
    sameButBackStyle.BackStyle = kBackOpaque;
    EXPECT_EQ(sameButBackStyle, fresh);
    EXPECT_EQ(loaded.Caption, L"MyUniLabel");
    EXPECT_TRUE(loaded.AutoSize);
    EXPECT_TRUE(loaded.UseMnemonic);
    EXPECT_EQ(loaded.BackColor, 0x00786956u);
    EXPECT_EQ(loaded.ForeColor, 0x00EFD6B5u);
    EXPECT_EQ(loaded.Font, kAmbient);
    // The size follows the stored font when FontSize is missing.
    PropertyBag bag;
    FontData big = kAmbient;
    big.size = Currency{120000};
    bag.Write(L"Font", big);
    EXPECT_EQ(LoadLabel(bag, kAmbient).FontSize, Currency{120000});
}

TEST(LabelProperties, SaveWritesChangedKeysInOrderAndLoadsBack) {
    // Label3 of the window: title over the banner.
    PropertyBag designed;
    designed.Write(L"Caption", std::wstring(L"Uninstall Status"));
    designed.Write(L"AlphaLinkIMG", std::wstring(L"Image1"));
    designed.Write(L"ForeColor", std::int32_t{0});
    designed.Write(L"Font", kAmbient);
    designed.Write(L"FontBold", Bool16::Of(true));
    const LabelProps title = LoadLabel(designed, kAmbient);
    EXPECT_EQ(title.BackStyle, kBackColourKeyed);
    EXPECT_TRUE(title.FontBold);
    EXPECT_EQ(SaveLabel(title, kAmbient).Keys(),
              (std::vector<std::wstring>{L"AlphaLinkIMG", L"Caption", L"ForeColor", L"FontBold"}));
    EXPECT_EQ(LoadLabel(SaveLabel(title, kAmbient), kAmbient), title);

    // A new label saves its BackStyle 0, since 1 is what a missing key means.
    EXPECT_EQ(SaveLabel(NewLabel(kAmbient), kAmbient).Keys(),
              (std::vector<std::wstring>{L"BackStyle"}));

    LabelProps all = NewLabel(kAmbient);
    all.Alignment = 1;
    all.AlphaLinkIMG = L"Image1";
    all.AutoSize = false;
    all.BackStyle = kBackCopied;
    all.BorderStyle = 1;
    all.BackColor = 0x8000000F;
    all.Caption = L"\x05E9\x05DC\x05D5\x05DD & co";
    all.Enabled = false;
    all.ForeColor = 0;
    all.Font.name = L"Arial";
    all.FontBold = true;
    all.FontItalic = true;
    all.FontUnderLine = true;
    all.FontSize = Currency{120000};
    all.MousePointer = 99;
    all.MouseIcon.bytes = {1, 2};
    all.UseMnemonic = false;
    all.WordWrap = true;
    const PropertyBag full = SaveLabel(all, kAmbient);
    std::vector<std::wstring> expected(LabelKeys().begin(), LabelKeys().end());
    EXPECT_EQ(full.Keys(), expected);
    EXPECT_EQ(LoadLabel(full, kAmbient), all);
    EXPECT_EQ(std::get<Currency>(*full.Find(L"fontsize")).units, 120000);
}

TEST(ComposeColourKeyed, KeyColouredPixelsShowWhatIsBehind) {
    std::vector<std::uint32_t> surface{0x563412, 0x000000, 0x563412, 0x563413, 0xFF563412};
    const std::vector<std::uint32_t> behind{1, 2, 3, 4, 5};
    ComposeColourKeyed(surface, behind, DibPixel(0x123456));
    EXPECT_EQ(surface, (std::vector<std::uint32_t>{1, 0x000000, 3, 0x563413, 5}));
    EXPECT_EQ(DibPixel(0x00786956), 0x00566978u);
}

} // namespace
} // namespace vt

// The Unicode label's arithmetic and its persisted properties: the text flags and rectangle,
// the size it takes from its caption, and how its property set is read and written.
// Platform-neutral: the window side lives in MyUniLabel.
#pragma once

#include "controls/property_bag.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

inline constexpr wchar_t kLabelDefaultCaption[] = L"MyUniLabel";
inline constexpr std::uint32_t kLabelDefaultBackColor = 0x00786956; // RGB 86, 105, 120
inline constexpr std::uint32_t kLabelDefaultForeColor = 0x00EFD6B5; // RGB 181, 214, 239
inline constexpr std::uint32_t kLabelDisabledColor = 0x0099A8AC;    // RGB 172, 168, 153

enum LabelBackStyle : std::int32_t {
    kBackOpaque = 0,
    kBackColourKeyed = 1,
    kBackCopied = 2,
};

struct LabelProps {
    std::int32_t Alignment = 0;
    std::wstring AlphaLinkIMG;
    bool AutoSize = true;
    std::int32_t BackStyle = kBackOpaque;
    std::int32_t BorderStyle = 0;
    std::uint32_t BackColor = kLabelDefaultBackColor;
    std::wstring Caption = kLabelDefaultCaption;
    bool Enabled = true;
    std::uint32_t ForeColor = kLabelDefaultForeColor;
    FontData Font;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderLine = false;
    Currency FontSize{82500};
    std::int32_t MousePointer = 0;
    PictureData MouseIcon;
    bool UseMnemonic = true;
    bool WordWrap = false;

    bool operator==(const LabelProps&) const = default;
};

// A newly placed label: the container's font, and its size, as the starting font.
LabelProps NewLabel(const FontData& ambientFont);

// The keys of the property set, in the order they are saved.
const std::vector<std::wstring_view>& LabelKeys();
// A property set read back; missing keys take their absent values: BackStyle 1 (keyed
// transparent, unlike a new label's 0), the container's font, and the font's own size.
LabelProps LoadLabel(const PropertyBag& bag, const FontData& ambientFont);
// Keys in order, each left out when it holds its absent value.
PropertyBag SaveLabel(const LabelProps& props, const FontData& ambientFont);

// DrawTextW flags: alignment (0 left, 1 right, 2 centre, others left), word breaks, and
// DT_NOPREFIX when mnemonics are on (an ampersand is then drawn as it stands).
std::uint32_t LabelDrawFlags(std::int32_t alignment, bool wordWrap, bool useMnemonic) noexcept;

struct PixelRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect&) const = default;
};
// The rectangle the caption is drawn into, from the inner size in twips and the twips per
// pixel of each axis.
PixelRect LabelTextRect(double innerWidthTwips, double innerHeightTwips, double twipsPerPixelX,
                        double twipsPerPixelY, std::int32_t borderStyle);

// Size and place in twips.
struct TwipsBox {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsBox&) const = default;
};
// The box an auto-sized label takes for a caption measuring `textWidth` x `textHeight` twips:
// 90 wide (height kept) when it is empty, else the text plus 20 twips of height and 40 twips of
// width (80 in bold). A right-aligned label moves its left edge so that the right edge of the
// width it had (`rememberedWidth`) stays where it was.
TwipsBox AutoSizedBox(const TwipsBox& current, bool emptyCaption, std::int32_t textWidth,
                      std::int32_t textHeight, bool bold, std::int32_t alignment,
                      std::int32_t rememberedWidth);

// Source column of the copied background in the linked picture.
std::int32_t CopiedBackgroundColumn(std::int32_t left, std::int32_t width,
                                    std::int32_t rememberedWidth, std::int32_t alignment);

// Colour-keyed transparency over 32-bit pixels (0x00RRGGBB as a DIB holds them): every pixel of
// `surface` equal to `key` takes the pixel behind it from `behind` (same size).
void ComposeColourKeyed(std::vector<std::uint32_t>& surface,
                        const std::vector<std::uint32_t>& behind, std::uint32_t key) noexcept;

// A 0x00BBGGRR colour as a DIB pixel 0x00RRGGBB.
constexpr std::uint32_t DibPixel(std::uint32_t colour) noexcept {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

} // namespace vt

#include "controls/label_rules.h"

#include "controls/rounding.h"

#include <algorithm>

namespace vt {

LabelProps NewLabel(const FontData& ambientFont) {
    LabelProps p;
    p.Font = ambientFont;
    p.FontSize = ambientFont.size;
    return p;
}

const std::vector<std::wstring_view>& LabelKeys() {
    static const std::vector<std::wstring_view> keys{
        L"Alignment", L"AlphaLinkIMG", L"AutoSize",      L"BackStyle", L"BorderStyle",
        L"BackColor", L"Caption",      L"Enabled",       L"ForeColor", L"Font",
        L"FontBold",  L"FontItalic",   L"FontUnderLine", L"FontSize",  L"MousePointer",
        L"MouseIcon", L"UseMnemonic",  L"WordWrap"};
    return keys;
}

LabelProps LoadLabel(const PropertyBag& bag, const FontData& ambientFont) {
    LabelProps p;
    p.Alignment = bag.ReadLong(L"Alignment", 0);
    p.AlphaLinkIMG = bag.ReadString(L"AlphaLinkIMG", L"");
    p.AutoSize = bag.ReadBool(L"AutoSize", true);
    p.BackStyle = bag.ReadLong(L"BackStyle", kBackColourKeyed);
    p.BorderStyle = bag.ReadLong(L"BorderStyle", 0);
    p.BackColor = static_cast<std::uint32_t>(
        bag.ReadLong(L"BackColor", static_cast<std::int32_t>(kLabelDefaultBackColor)));
    p.Caption = bag.ReadString(L"Caption", kLabelDefaultCaption);
    p.Enabled = bag.ReadBool(L"Enabled", true);
    p.ForeColor = static_cast<std::uint32_t>(
        bag.ReadLong(L"ForeColor", static_cast<std::int32_t>(kLabelDefaultForeColor)));
    p.Font = bag.ReadFont(L"Font", ambientFont);
    p.FontBold = bag.ReadBool(L"FontBold", false);
    p.FontItalic = bag.ReadBool(L"FontItalic", false);
    p.FontUnderLine = bag.ReadBool(L"FontUnderLine", false);
    // The surface has just taken the font, so its size is the font's.
    p.FontSize = bag.ReadCurrency(L"FontSize", p.Font.size);
    p.MousePointer = bag.ReadLong(L"MousePointer", 0);
    p.MouseIcon = bag.ReadPicture(L"MouseIcon");
    p.UseMnemonic = bag.ReadBool(L"UseMnemonic", true);
    p.WordWrap = bag.ReadBool(L"WordWrap", false);
    return p;
}

PropertyBag SaveLabel(const LabelProps& p, const FontData& ambientFont) {
    PropertyBag bag;
    const auto put = [&bag](std::wstring_view key, bool absent, PropertyValue value) {
        if (!absent) {
            bag.Write(key, std::move(value));
        }
    };
    const auto colour = [](std::uint32_t c) { return static_cast<std::int32_t>(c); };
    put(L"Alignment", p.Alignment == 0, p.Alignment);
    put(L"AlphaLinkIMG", p.AlphaLinkIMG.empty(), p.AlphaLinkIMG);
    put(L"AutoSize", p.AutoSize, Bool16::Of(p.AutoSize));
    put(L"BackStyle", p.BackStyle == kBackColourKeyed, p.BackStyle);
    put(L"BorderStyle", p.BorderStyle == 0, p.BorderStyle);
    put(L"BackColor", p.BackColor == kLabelDefaultBackColor, colour(p.BackColor));
    put(L"Caption", p.Caption == kLabelDefaultCaption, p.Caption);
    put(L"Enabled", p.Enabled, Bool16::Of(p.Enabled));
    put(L"ForeColor", p.ForeColor == kLabelDefaultForeColor, colour(p.ForeColor));
    put(L"Font", p.Font == ambientFont, p.Font);
    put(L"FontBold", !p.FontBold, Bool16::Of(p.FontBold));
    put(L"FontItalic", !p.FontItalic, Bool16::Of(p.FontItalic));
    put(L"FontUnderLine", !p.FontUnderLine, Bool16::Of(p.FontUnderLine));
    put(L"FontSize", p.FontSize == p.Font.size, p.FontSize);
    put(L"MousePointer", p.MousePointer == 0, p.MousePointer);
    put(L"MouseIcon", p.MouseIcon.empty(), p.MouseIcon);
    put(L"UseMnemonic", p.UseMnemonic, Bool16::Of(p.UseMnemonic));
    put(L"WordWrap", !p.WordWrap, Bool16::Of(p.WordWrap));
    return bag;
}

std::uint32_t LabelDrawFlags(std::int32_t alignment, bool wordWrap, bool useMnemonic) noexcept {
    constexpr std::uint32_t kLeft = 0x0, kCenter = 0x1, kRight = 0x2, kWordBreak = 0x10,
                            kNoPrefix = 0x800;
    std::uint32_t flags = alignment == 1 ? kRight : alignment == 2 ? kCenter : kLeft;
    if (wordWrap) {
        flags |= kWordBreak;
    }
    if (useMnemonic) {
        flags |= kNoPrefix;
    }
    return flags;
}

PixelRect LabelTextRect(double innerWidthTwips, double innerHeightTwips, double twipsPerPixelX,
                        double twipsPerPixelY, std::int32_t borderStyle) {
    PixelRect rect;
    rect.left = 1;
    rect.top = borderStyle == 0 ? 1 : 0;
    rect.right = ToLongNearest(innerWidthTwips / twipsPerPixelX - 1);
    rect.bottom = ToLongNearest(innerHeightTwips / twipsPerPixelY + 1);
    return rect;
}

TwipsBox AutoSizedBox(const TwipsBox& current, bool emptyCaption, std::int32_t textWidth,
                      std::int32_t textHeight, bool bold, std::int32_t alignment,
                      std::int32_t rememberedWidth) {
    TwipsBox box = current;
    if (emptyCaption) {
        box.width = 90;
    } else {
        box.height = textHeight + 20;
        box.width = textWidth + (bold ? 80 : 40);
    }
    if (alignment == 1) {
        box.left += rememberedWidth - box.width;
    }
    return box;
}

std::int32_t CopiedBackgroundColumn(std::int32_t left, std::int32_t width,
                                    std::int32_t rememberedWidth, std::int32_t alignment) {
    return alignment == 1 ? left + (width - rememberedWidth) : left;
}

void ComposeColourKeyed(std::vector<std::uint32_t>& surface,
                        const std::vector<std::uint32_t>& behind, std::uint32_t key) noexcept {
    const std::size_t count = std::min(surface.size(), behind.size());
    for (std::size_t i = 0; i < count; ++i) {
        if ((surface[i] & 0x00FFFFFF) == (key & 0x00FFFFFF)) {
            surface[i] = behind[i];
        }
    }
}

} // namespace vt

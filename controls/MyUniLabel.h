// MyUniLabel: a label that draws its caption itself with DrawTextW, so that captions in any
// script show, sizes itself to its caption, and has three backgrounds: opaque, keyed
// transparent (pixels of BackColor show what lies behind), or copied from a picture of its
// window named by AlphaLinkIMG (or from the window itself). A press of the mouse on a label
// drags the whole window.
//
// The label is a window of its own (class kUniLabelClass) and answers WM_GETTEXT with its
// caption; to a screen reader it is static text named by its caption. It measures in pixels of
// its window's display. The window it sits on provides what lies behind it: it paints itself
// on WM_PRINTCLIENT, and it answers the message named kFindPictureMessage (lParam: the
// picture's name) with a pointer to the picture's Surface, or 0 when it has no picture of that
// name.
#pragma once

#include "controls/label_rules.h"

#include <windows.h>

#include <functional>
#include <string>

namespace vt {

inline constexpr wchar_t kUniLabelClass[] = L"VT_MyUniLabel";
inline constexpr wchar_t kFindPictureMessage[] = L"VT_MyUniLabel_FindPicture";

struct LabelState;

class MyUniLabel {
  public:
    using EventHandler = std::function<void()>;
    using MouseHandler = std::function<void(short& button, short& shift, float& x, float& y)>;
    using PropertyChangedHandler = std::function<void(std::wstring_view key)>;

    static void Register(HINSTANCE instance);

    // Creates the label as a child window at `place` (twips of the parent's client area),
    // loaded from `bag`; `ambientFont` is the window's font, which keys that are missing fall
    // back to. The parent owns the window.
    void Create(HWND parent, int id, const TwipsBox& place, const PropertyBag& bag,
                const FontData& ambientFont);
    // Creates a newly placed label: the new values of every property.
    void CreateNew(HWND parent, int id, const TwipsBox& place, const FontData& ambientFont);
    void Attach(HWND window) noexcept { window_ = window; }
    HWND hWnd() const noexcept { return window_; }

    PropertyBag Save() const;
    const LabelProps& Properties() const;
    // Where the label stands, in twips of its window.
    TwipsBox Place() const;
    // The window has moved to a display of `dpi` dots per inch: the label keeps its place and
    // font size in twips and points, and draws again in the new pixels.
    void ScaleTo(unsigned dpi);

    std::int32_t Alignment() const;
    void Alignment(std::int32_t alignment);
    std::wstring AlphaLinkIMG() const;
    void AlphaLinkIMG(const std::wstring& name);
    bool AutoSize() const;
    void AutoSize(bool on);
    std::int32_t BackStyle() const;
    void BackStyle(std::int32_t style);
    std::int32_t BorderStyle() const;
    void BorderStyle(std::int32_t style);
    std::uint32_t BackColor() const;
    void BackColor(std::uint32_t colour);
    std::wstring Caption() const;
    void Caption(const std::wstring& text);
    bool Enabled() const;
    void Enabled(bool on);
    std::uint32_t ForeColor() const;
    void ForeColor(std::uint32_t colour);
    FontData Font() const;
    void Font(const FontData& font);
    bool FontBold() const;
    void FontBold(bool on);
    void FontItalic(bool on);
    void FontUnderLine(bool on);
    void FontSize(Currency points);
    std::int32_t MousePointer() const;
    void MousePointer(std::int32_t pointer);
    PictureData MouseIcon() const;
    void MouseIcon(const PictureData& icon);
    bool UseMnemonic() const;
    void UseMnemonic(bool on);
    void Redraw(bool ignored);
    bool WordWrap() const;
    void WordWrap(bool on);
    void Visible(bool visible) noexcept;

    void OnClick(EventHandler handler);
    void OnChange(EventHandler handler);
    void OnMouseMove(MouseHandler handler);
    void OnMouseDown(MouseHandler handler);
    void OnMouseUp(MouseHandler handler);
    void OnPropertyChanged(PropertyChangedHandler handler);

  private:
    LabelState& State() const;
    HWND window_ = nullptr;
};

} // namespace vt

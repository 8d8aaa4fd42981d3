#include "controls/MyUniLabel.h"

#include "controls/accessible.h"
#include "controls/control_window.h"
#include "controls/rounding.h"
#include "controls/surface.h"
#include "system/errors.h"

#include <cmath>
#include <memory>

namespace vt {

namespace {

// A label wider than this is given the whole linked picture, scaled to the window.
constexpr std::int32_t kWidestCopiedPart = 6175;
// Remembered widths at or below this are not yet a real width.
constexpr std::int32_t kNoRememberedWidth = 50;

struct CreateParams {
    const PropertyBag* bag = nullptr; // null: a newly placed label
    FontData ambientFont;
    TwipsBox place;
};

// The shapes MousePointer names; 0 (and a custom icon, 99, which this label does not load)
// leave the window's own cursor.
HCURSOR CursorFor(std::int32_t pointer) noexcept {
    static const struct {
        std::int32_t pointer;
        LPCWSTR shape;
    } kShapes[] = {{1, IDC_ARROW},    {2, IDC_CROSS},   {3, IDC_IBEAM},    {5, IDC_SIZEALL},
                   {6, IDC_SIZENESW}, {7, IDC_SIZENS},  {8, IDC_SIZENWSE}, {9, IDC_SIZEWE},
                   {10, IDC_UPARROW}, {11, IDC_WAIT},   {12, IDC_NO},      {13, IDC_APPSTARTING},
                   {14, IDC_HELP},    {15, IDC_SIZEALL}};
    for (const auto& shape : kShapes) {
        if (shape.pointer == pointer) {
            return LoadCursorW(nullptr, shape.shape);
        }
    }
    return nullptr;
}

UINT FindPictureMessage() noexcept {
    static const UINT message = RegisterWindowMessageW(kFindPictureMessage);
    return message;
}

// What the label's window shows at the label's place, as it paints itself.
bool RenderBehind(HWND label, Surface& out) {
    HWND parent = GetParent(label);
    RECT at{};
    GetClientRect(label, &at);
    MapWindowPoints(label, parent, reinterpret_cast<POINT*>(&at), 2);
    if (!parent || !out.Resize(at.right - at.left, at.bottom - at.top) || out.empty()) {
        return false;
    }
    out.Fill(GetSysColor(COLOR_BTNFACE));
    POINT previous{};
    SetViewportOrgEx(out.dc(), -at.left, -at.top, &previous);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(out.dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(out.dc(), previous.x, previous.y, nullptr);
    GdiFlush();
    return true;
}

} // namespace

struct LabelState {
    HWND window = nullptr;
    LabelProps props;
    FontData ambientFont;
    TwipsScale scale;                 // of the window's display
    TwipsBox box;                     // the control's place and size in twips
    std::int32_t rememberedWidth = 0; // width at the end of the previous drawing
    UniqueFont font;
    Surface surface; // what DrawLabel drew; the keyed background is laid under it on paint
    bool sizing = false;

    MyUniLabel::EventHandler click, change;
    MyUniLabel::MouseHandler mouseMove, mouseDown, mouseUp;
    MyUniLabel::PropertyChangedHandler propertyChanged;

    void Report(std::wstring_view key) const {
        if (propertyChanged) {
            propertyChanged(key);
        }
    }

    void MakeFont();
    void ApplyBorder();
    void DrawLabel();
    void MakeAlphaBG_Label();
    void MoveTo(const TwipsBox& place);
    void Paint(HDC target);
    void MousePress(UINT message, WPARAM keys, POINT at);
    void MouseEvent(const MyUniLabel::MouseHandler& handler, UINT message, WPARAM keys, POINT at);
};

void LabelState::MakeFont() {
    LOGFONTW description{};
    const double points = props.FontSize.ToDouble();
    description.lfHeight = -static_cast<LONG>(std::lround(points * 1440.0 / 72.0 / scale.y));
    description.lfWeight = props.FontBold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = props.FontItalic ? TRUE : FALSE;
    description.lfUnderline = props.FontUnderLine ? TRUE : FALSE;
    description.lfStrikeOut = props.Font.strikethrough ? TRUE : FALSE;
    description.lfCharSet = static_cast<BYTE>(props.Font.charset);
    lstrcpynW(description.lfFaceName, props.Font.name.c_str(), LF_FACESIZE);
    font.reset(CreateFontIndirectW(&description));
}

void LabelState::ApplyBorder() {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR wanted = props.BorderStyle == 1 ? (style | WS_BORDER) : (style & ~WS_BORDER);
    if (wanted != style) {
        SetWindowLongPtrW(window, GWL_STYLE, wanted);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void LabelState::MoveTo(const TwipsBox& place) {
    box = place;
    sizing = true;
    SetWindowPos(window, nullptr, scale.PixelsX(place.left), scale.PixelsY(place.top),
                 scale.PixelsX(place.width), scale.PixelsY(place.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    sizing = false;
}

void LabelState::DrawLabel() {
    RECT client{};
    GetClientRect(window, &client);
    surface.Resize(client.right, client.bottom);
    const COLORREF textColour =
        props.Enabled ? ResolveColour(props.ForeColor) : ResolveColour(kLabelDisabledColor);
    if (props.BackStyle == kBackCopied) {
        MakeAlphaBG_Label();
    } else {
        surface.Fill(ResolveColour(props.BackColor));
    }
    const UINT flags = LabelDrawFlags(props.Alignment, props.WordWrap, props.UseMnemonic);
    const PixelRect r = LabelTextRect(client.right * scale.x, client.bottom * scale.y, scale.x,
                                      scale.y, props.BorderStyle);
    RECT text{r.left, r.top, r.right, r.bottom};
    if (!surface.empty()) {
        SelectObjectScope useFont(surface.dc(), font.get());
        SetBkMode(surface.dc(), TRANSPARENT);
        SetTextColor(surface.dc(), textColour);
        DrawTextW(surface.dc(), props.Caption.c_str(), static_cast<int>(props.Caption.size()),
                  &text, flags);
        GdiFlush();
    }
    if (rememberedWidth <= kNoRememberedWidth) {
        rememberedWidth = box.width;
    }
    // From here a failure ends the drawing with a beep; what was drawn stays.
    try {
        if (props.AutoSize) {
            std::int32_t textWidth = 0;
            std::int32_t textHeight = 0;
            if (!props.Caption.empty()) {
                WindowDc screen(window);
                SelectObjectScope useFont(screen.get(), font.get());
                // Widest line by the number of lines, as the caption is measured.
                std::size_t start = 0;
                int widest = 0;
                int height = 0;
                while (start <= props.Caption.size()) {
                    std::size_t end = props.Caption.find(L'\n', start);
                    if (end == std::wstring::npos) {
                        end = props.Caption.size();
                    }
                    std::size_t stop = end;
                    if (stop > start && props.Caption[stop - 1] == L'\r') {
                        --stop;
                    }
                    SIZE extent{};
                    GetTextExtentPoint32W(screen.get(), props.Caption.c_str() + start,
                                          static_cast<int>(stop - start), &extent);
                    widest = std::max(widest, static_cast<int>(extent.cx));
                    height += extent.cy;
                    start = end + 1;
                }
                textWidth = ToLongNearest(widest * scale.x);
                textHeight = ToLongNearest(height * scale.y);
            }
            const TwipsBox sized = AutoSizedBox(box, props.Caption.empty(), textWidth, textHeight,
                                                props.FontBold, props.Alignment, rememberedWidth);
            // The width is remembered before the resize, whose drawing then finds nothing
            // left to move.
            rememberedWidth = sized.width;
            if (!(sized == box)) {
                MoveTo(sized); // a new pixel size draws the label again, at that size
            }
        }
        rememberedWidth = box.width;
    } catch (...) {
        MessageBeep(MB_OK);
    }
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void LabelState::MakeAlphaBG_Label() {
    ResumeNext([&] {
        surface.Fill(GetSysColor(COLOR_BTNFACE));
        HWND parent = GetParent(window);
        const Surface* picture = nullptr;
        if (!props.AlphaLinkIMG.empty() && parent) {
            picture = reinterpret_cast<const Surface*>(
                SendMessageW(parent, FindPictureMessage(), 0,
                             reinterpret_cast<LPARAM>(props.AlphaLinkIMG.c_str())));
        }
        if (picture && !picture->empty()) {
            const std::int32_t column =
                CopiedBackgroundColumn(box.left, box.width, rememberedWidth, props.Alignment);
            if (box.width <= kWidestCopiedPart) {
                BitBlt(surface.dc(), 0, 0, surface.width(), surface.height(), picture->dc(),
                       scale.PixelsX(column), scale.PixelsY(box.top), SRCCOPY);
            } else {
                RECT all{};
                GetClientRect(parent, &all);
                StretchBlt(surface.dc(), -scale.PixelsX(box.left), -scale.PixelsY(box.top),
                           all.right, all.bottom, picture->dc(), 0, 0, picture->width(),
                           picture->height(), SRCCOPY);
            }
            return;
        }
        Surface behind;
        if (RenderBehind(window, behind)) {
            BitBlt(surface.dc(), 0, 0, surface.width(), surface.height(), behind.dc(), 0, 0,
                   SRCCOPY);
        }
    });
}

void LabelState::Paint(HDC target) {
    if (surface.empty()) {
        return;
    }
    Surface buffer;
    if (!buffer.CopyFrom(surface)) {
        return;
    }
    if (props.BackStyle == kBackColourKeyed) {
        Surface behind;
        if (RenderBehind(window, behind) && behind.width() == buffer.width() &&
            behind.height() == buffer.height()) {
            GdiFlush();
            const std::size_t count = static_cast<std::size_t>(buffer.width()) *
                                      static_cast<std::size_t>(buffer.height());
            std::vector<std::uint32_t> mine(buffer.pixels(), buffer.pixels() + count);
            const std::vector<std::uint32_t> under(behind.pixels(), behind.pixels() + count);
            ComposeColourKeyed(mine, under, DibPixel(ResolveColour(props.BackColor)));
            std::copy(mine.begin(), mine.end(), buffer.pixels());
        }
    }
    BitBlt(target, 0, 0, buffer.width(), buffer.height(), buffer.dc(), 0, 0, SRCCOPY);
}

void LabelState::MouseEvent(const MyUniLabel::MouseHandler& handler, UINT message, WPARAM keys,
                            POINT at) {
    if (!handler) {
        return;
    }
    short button = message == WM_MOUSEMOVE ? static_cast<short>((keys & MK_LBUTTON ? 1 : 0) |
                                                                (keys & MK_RBUTTON ? 2 : 0) |
                                                                (keys & MK_MBUTTON ? 4 : 0))
                                           : MouseButtonOf(message);
    short shift = ShiftStateOf(keys);
    // The label measures in twips.
    float x = static_cast<float>(at.x * scale.x);
    float y = static_cast<float>(at.y * scale.y);
    handler(button, shift, x, y);
}

void LabelState::MousePress(UINT message, WPARAM keys, POINT at) {
    short button = MouseButtonOf(message);
    short shift = ShiftStateOf(keys);
    float x = static_cast<float>(at.x * scale.x);
    float y = static_cast<float>(at.y * scale.y);
    ResumeNext([&] {
        if (mouseDown) {
            mouseDown(button, shift, x, y);
        }
    });
    ResumeNext([&] {
        ReleaseCapture();
        // The system moves the window with the mouse until the button goes up.
        if (HWND form = GetAncestor(window, GA_ROOT); form && form != window) {
            SendMessageW(form, WM_SYSCOMMAND, SC_MOVE + 2, 0);
        }
    });
    ResumeNext([&] {
        if (click) {
            click();
        }
    });
    ResumeNext([&] {
        if (mouseUp) {
            mouseUp(button, shift, x, y);
        }
    });
}

namespace {

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LabelState* state = StateOf<LabelState>(window);
    switch (message) {
    case WM_NCCREATE: {
        auto owned = std::make_unique<LabelState>();
        owned->window = window;
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const auto* params = static_cast<const CreateParams*>(create->lpCreateParams);
        owned->ambientFont = params->ambientFont;
        owned->props = params->bag ? LoadLabel(*params->bag, params->ambientFont)
                                   : NewLabel(params->ambientFont);
        owned->box = params->place;
        owned->scale = TwipsScale::OfDpi(WindowDpi(create->hwndParent));
        owned->MakeFont();
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
        break;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete state;
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        break;
    }
    if (!state) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_SIZE:
        if (!state->sizing) {
            // Sized from outside: take the new size as the control's own.
            RECT outer{};
            GetWindowRect(window, &outer);
            state->box.width = ToLongNearest((outer.right - outer.left) * state->scale.x);
            state->box.height = ToLongNearest((outer.bottom - outer.top) * state->scale.y);
        }
        state->DrawLabel();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        state->Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        state->Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return AnswerTextMessage(state->props.Caption, message, wParam, lParam);
    case WM_SETTEXT: {
        // A text set from outside is a caption like any other.
        MyUniLabel label;
        label.Attach(window);
        ResumeNext([&] { label.Caption(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L""); });
        return TRUE;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font.get());
    case WM_GETOBJECT:
        if (const auto answer =
                AnswerAccessibleQuery(window, wParam, lParam, AccessibleKind::StaticText)) {
            return *answer;
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            if (HCURSOR cursor = CursorFor(state->props.MousePointer)) {
                SetCursor(cursor);
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        state->MousePress(
            message, wParam,
            POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        ResumeNext([&] {
            state->MouseEvent(
                state->mouseUp, message, wParam,
                POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        });
        return 0;
    case WM_MOUSEMOVE:
        ResumeNext([&] {
            state->MouseEvent(
                state->mouseMove, message, wParam,
                POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        });
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateLabel(HWND parent, int id, const CreateParams& params) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    MyUniLabel::Register(instance);
    const TwipsScale scale = TwipsScale::OfDpi(WindowDpi(parent));
    const DWORD border = params.bag && params.bag->ReadLong(L"BorderStyle", 0) == 1 ? WS_BORDER : 0;
    HWND window =
        CreateWindowExW(0, kUniLabelClass, L"", WS_CHILD | WS_VISIBLE | border,
                        scale.PixelsX(params.place.left), scale.PixelsY(params.place.top),
                        scale.PixelsX(params.place.width), scale.PixelsY(params.place.height),
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                        const_cast<CreateParams*>(&params));
    if (!window) {
        Raise(kErrInternal, L"The label could not be created.");
    }
    // Loading and placing both end with a drawing.
    StateOf<LabelState>(window)->DrawLabel();
    return window;
}

} // namespace

void MyUniLabel::Register(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kUniLabelClass, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = LabelProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = kUniLabelClass;
    RegisterClassExW(&windowClass);
}

void MyUniLabel::Create(HWND parent, int id, const TwipsBox& place, const PropertyBag& bag,
                        const FontData& ambientFont) {
    window_ = CreateLabel(parent, id, CreateParams{&bag, ambientFont, place});
}

void MyUniLabel::CreateNew(HWND parent, int id, const TwipsBox& place,
                           const FontData& ambientFont) {
    window_ = CreateLabel(parent, id, CreateParams{nullptr, ambientFont, place});
}

LabelState& MyUniLabel::State() const {
    LabelState* state = StateOf<LabelState>(window_);
    if (!state) {
        Raise(kErrInternal, L"The label has no window.");
    }
    return *state;
}

PropertyBag MyUniLabel::Save() const {
    const LabelState& s = State();
    return SaveLabel(s.props, s.ambientFont);
}

const LabelProps& MyUniLabel::Properties() const {
    return State().props;
}

TwipsBox MyUniLabel::Place() const {
    return State().box;
}

void MyUniLabel::ScaleTo(unsigned dpi) {
    LabelState& s = State();
    s.scale = TwipsScale::OfDpi(dpi);
    s.MakeFont();
    s.MoveTo(s.box);
    s.DrawLabel();
}

namespace {

// The setters that store, report and draw.
template <class T>
void StoreAndDraw(LabelState& s, T LabelProps::*field, T value, std::wstring_view key) {
    StoreAndReport(s, field, std::move(value), key);
    s.DrawLabel();
}

// The font's setters: the font is made again before the property is reported.
template <class T>
void StoreFontAndDraw(LabelState& s, T LabelProps::*field, T value, std::wstring_view key) {
    s.props.*field = std::move(value);
    s.MakeFont();
    s.Report(key);
    s.DrawLabel();
}

} // namespace

void MyUniLabel::Alignment(std::int32_t alignment) {
    StoreAndDraw(State(), &LabelProps::Alignment, alignment, L"Alignment");
}
void MyUniLabel::AutoSize(bool on) {
    StoreAndDraw(State(), &LabelProps::AutoSize, on, L"AutoSize");
}
void MyUniLabel::Enabled(bool on) {
    StoreAndDraw(State(), &LabelProps::Enabled, on, L"Enabled");
}
void MyUniLabel::WordWrap(bool on) {
    StoreAndDraw(State(), &LabelProps::WordWrap, on, L"WordWrap");
}
void MyUniLabel::UseMnemonic(bool on) {
    StoreAndDraw(State(), &LabelProps::UseMnemonic, on, L"UseMnemonic");
}
void MyUniLabel::BackColor(std::uint32_t colour) {
    StoreAndDraw(State(), &LabelProps::BackColor, colour, L"BackColor");
}
void MyUniLabel::ForeColor(std::uint32_t colour) {
    StoreAndDraw(State(), &LabelProps::ForeColor, colour, L"ForeColor");
}

std::int32_t MyUniLabel::Alignment() const {
    return State().props.Alignment;
}
bool MyUniLabel::AutoSize() const {
    return State().props.AutoSize;
}
bool MyUniLabel::Enabled() const {
    return State().props.Enabled;
}
bool MyUniLabel::WordWrap() const {
    return State().props.WordWrap;
}
bool MyUniLabel::UseMnemonic() const {
    return State().props.UseMnemonic;
}
std::uint32_t MyUniLabel::BackColor() const {
    return State().props.BackColor;
}
std::uint32_t MyUniLabel::ForeColor() const {
    return State().props.ForeColor;
}

std::wstring MyUniLabel::AlphaLinkIMG() const {
    return State().props.AlphaLinkIMG;
}

void MyUniLabel::AlphaLinkIMG(const std::wstring& name) {
    StoreAndReport(State(), &LabelProps::AlphaLinkIMG, name, L"AlphaLinkIMG");
}

std::int32_t MyUniLabel::BackStyle() const {
    return State().props.BackStyle;
}

void MyUniLabel::BackStyle(std::int32_t style) {
    StoreAndDraw(State(), &LabelProps::BackStyle, style, L"BackStyle");
}

std::int32_t MyUniLabel::BorderStyle() const {
    return State().props.BorderStyle;
}

void MyUniLabel::BorderStyle(std::int32_t style) {
    LabelState& s = State();
    StoreAndReport(s, &LabelProps::BorderStyle, style, L"Borderstyle");
    s.ApplyBorder();
}

std::wstring MyUniLabel::Caption() const {
    return State().props.Caption;
}

void MyUniLabel::Caption(const std::wstring& text) {
    LabelState& s = State();
    if (text == s.props.Caption) {
        return;
    }
    s.props.Caption = text;
    if (s.change) {
        s.change();
    }
    s.Report(L"Caption");
    s.DrawLabel();
    // A screen reader says the new caption, as it does for a static control's new text.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, s.window, OBJID_CLIENT, CHILDID_SELF);
}

FontData MyUniLabel::Font() const {
    return State().props.Font;
}

void MyUniLabel::Font(const FontData& font) {
    LabelState& s = State();
    s.props.Font = font;
    FontBold(font.weight >= FW_BOLD);
    FontItalic(font.italic);
    FontUnderLine(font.underline);
    FontSize(font.size);
    s.Report(L"Font");
}

bool MyUniLabel::FontBold() const {
    return State().props.FontBold;
}

void MyUniLabel::FontBold(bool on) {
    StoreFontAndDraw(State(), &LabelProps::FontBold, on, L"FontBold");
}

void MyUniLabel::FontItalic(bool on) {
    StoreFontAndDraw(State(), &LabelProps::FontItalic, on, L"FontItalic");
}

void MyUniLabel::FontUnderLine(bool on) {
    StoreFontAndDraw(State(), &LabelProps::FontUnderLine, on, L"FontUnderLine");
}

void MyUniLabel::FontSize(Currency points) {
    StoreFontAndDraw(State(), &LabelProps::FontSize, points, L"FontSize");
}

std::int32_t MyUniLabel::MousePointer() const {
    return State().props.MousePointer;
}

void MyUniLabel::MousePointer(std::int32_t pointer) {
    StoreAndReport(State(), &LabelProps::MousePointer, pointer, L"MousePointer");
}

PictureData MyUniLabel::MouseIcon() const {
    return State().props.MouseIcon;
}

void MyUniLabel::MouseIcon(const PictureData& icon) {
    StoreAndReport(State(), &LabelProps::MouseIcon, icon, L"MouseIcon");
}

void MyUniLabel::Redraw(bool) {
    State().DrawLabel();
}

void MyUniLabel::Visible(bool visible) noexcept {
    ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

void MyUniLabel::OnClick(EventHandler handler) {
    State().click = std::move(handler);
}
void MyUniLabel::OnChange(EventHandler handler) {
    State().change = std::move(handler);
}
void MyUniLabel::OnMouseMove(MouseHandler handler) {
    State().mouseMove = std::move(handler);
}
void MyUniLabel::OnMouseDown(MouseHandler handler) {
    State().mouseDown = std::move(handler);
}
void MyUniLabel::OnMouseUp(MouseHandler handler) {
    State().mouseUp = std::move(handler);
}
void MyUniLabel::OnPropertyChanged(PropertyChangedHandler handler) {
    State().propertyChanged = std::move(handler);
}

} // namespace vt

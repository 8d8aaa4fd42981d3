#include "controls/MyProgressBar.h"

#include "controls/accessible.h"
#include "controls/control_window.h"
#include "controls/rounding.h"
#include "controls/surface.h"
#include "system/errors.h"
#include "system/handles.h"
#include "system/myMod.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>

namespace vt {

namespace {

// Design geometry of the bar's parts, in twips.
constexpr double kPictureHolderWidth = 900; // the picture holder without a picture
constexpr double kPictureHolderHeight = 300;
constexpr double kThreeDExtraHeight = 60;
constexpr double kCaptionLeft = 120;
constexpr double kCaptionWidth = 5610;
constexpr double kCaptionHeight = 195;
constexpr int kCaptionTop = 4; // design pixels of the bar
constexpr int kThreeDEdge = 2; // the sunken border of the 3-D bar, pixels a side

// Title of the validation boxes: the program's own name.
constexpr wchar_t kBoxTitle[] = L"VT_Uninstall";

struct CreateParams {
    const PropertyBag* bag = nullptr; // null: a newly placed bar
};

} // namespace

// Everything one bar window holds. The surfaces stand for the parts of the design: the
// picture holder, the strip beside the bar, and the bar's own image.
struct ProgressBarState {
    HWND window = nullptr;
    ProgressBarProps props;
    TwipsScale scale;     // of the window's display
    HFONT font = nullptr; // given by the parent, which owns it

    // The pictures as decoded, and at the display's scale: the progress picture is the source
    // of every tile.
    Surface pictureDecoded, picture;
    bool hasPicture = false;
    Surface backgroundDecoded, background;
    Surface strip; // tiles across the whole width, the head at the right end
    Surface bar;   // the visible bar's image, inside its border
    std::wstring caption;
    std::int16_t captionAlignment = 2;

    // Layout in pixels, made by UpdateLayout.
    int edge = 0;
    int barWidth = 0, barHeight = 0; // outer size of the bar
    int scaleWidth = 0, scaleHeight = 0;
    int holderWidth = 0, holderHeight = 0;

    // The strip and the bar are rebuilt only when what they are drawn from has changed: the
    // pixels are then the same as drawing them again.
    struct StripInputs {
        unsigned pictureSerial = 0;
        float step = 0, head = 0;
        int width = 0, height = 0, blockHeight = 0;
        bool operator==(const StripInputs&) const = default;
    };
    struct BarInputs {
        unsigned stripSerial = 0, backgroundSerial = 0;
        std::uint32_t backColour = 0;
        int fill = 0, headWidth = 0, headColumn = 0, width = 0, height = 0;
        bool lead = false;
        bool operator==(const BarInputs&) const = default;
    };
    std::optional<StripInputs> stripBuiltFor;
    std::optional<BarInputs> barDrawnFor;
    unsigned pictureSerial = 1, backgroundSerial = 1, stripSerial = 1;
    // What has to reach the screen at the next refresh, in client pixels; the paint buffer is
    // kept between paints.
    RECT dirty{};
    mutable Surface paintBuffer;

    MyProgressBar::ChangeHandler change;
    MyProgressBar::MouseHandler mouseDown;
    MyProgressBar::PropertyChangedHandler propertyChanged;

    void Report(std::wstring_view key) const {
        if (propertyChanged) {
            propertyChanged(key);
        }
    }
    void Say(const std::vector<std::wstring_view>& messages) const {
        if (!props.ErrorsOn) {
            return;
        }
        for (std::wstring_view message : messages) {
            HWND owner = nullptr;
            UnicodeMsgBox(std::wstring(message), MB_OK | MB_ICONEXCLAMATION, kBoxTitle, L"", owner);
        }
    }

    void LoadPictures() {
        hasPicture = DecodePicture(props.ProgressPicture, pictureDecoded);
        DecodePicture(props.BackPicture, backgroundDecoded);
        ScalePictures();
    }
    void ScalePictures() {
        for (auto [decoded, scaled] :
             {std::pair{&pictureDecoded, &picture}, std::pair{&backgroundDecoded, &background}}) {
            scaled->ScaleFrom(*decoded, scale.ScaledX(decoded->width()),
                              scale.ScaledY(decoded->height()));
        }
        ++pictureSerial;
        ++backgroundSerial;
    }
    // A length of the design in pixels of 96 dots per inch, in pixels of the display.
    float DisplayPixels(float designPixels) const {
        return static_cast<float>(designPixels * 15.0 / scale.x);
    }

    void UpdateLayout();
    void BuildStrip();
    void DrawProgress();
    void Refresh();
    void SetCaption(const std::wstring& text);
    void Dirty(const RECT& area) { UnionRect(&dirty, &dirty, &area); }
    void DirtyAll() { Dirty(RECT{0, 0, 0x7FFF, 0x7FFF}); }
    RECT CaptionArea() const;
    void Paint(HDC target, const RECT& area) const;
    void MouseDown(UINT message, WPARAM keys, POINT at);
};

void ProgressBarState::UpdateLayout() {
    RECT client{};
    GetClientRect(window, &client);
    const int layoutBefore[] = {edge,        barWidth,    barHeight,   scaleWidth,
                                scaleHeight, holderWidth, holderHeight};
    if (hasPicture) {
        holderWidth = picture.width();
        holderHeight = picture.height();
    } else {
        holderWidth = scale.PixelsX(kPictureHolderWidth);
        holderHeight = scale.PixelsY(kPictureHolderHeight);
    }
    if (props.Appearance) {
        edge = kThreeDEdge;
        barHeight = holderHeight + scale.PixelsY(kThreeDExtraHeight);
    } else {
        edge = 0;
        barHeight = client.bottom;
    }
    barWidth = client.right;
    scaleWidth = std::max(0, barWidth - 2 * edge);
    scaleHeight = std::max(0, barHeight - 2 * edge);
    const int layoutAfter[] = {edge,        barWidth,    barHeight,   scaleWidth,
                               scaleHeight, holderWidth, holderHeight};
    if (!std::equal(std::begin(layoutBefore), std::end(layoutBefore), std::begin(layoutAfter))) {
        DirtyAll();
    }
    BuildStrip();
    Refresh();
}

void ProgressBarState::BuildStrip() {
    if (props.ImageRepStep == 0) {
        return;
    }
    const int stripWidth = ToLongNearest((props.HeadWidth * 15.0 + barWidth * scale.x) / scale.x);
    const int blockHeight = ToLongNearest(scaleHeight);
    const float step = DisplayPixels(props.ImageRepStep);
    const float head = DisplayPixels(props.HeadWidth);
    const StripInputs inputs{pictureSerial, step, head, stripWidth, holderHeight, blockHeight};
    if (stripBuiltFor != inputs) {
        strip.Resize(stripWidth, holderHeight);
        strip.Fill(GetSysColor(COLOR_BTNFACE));
        // Every tile starts at the picture's second column. Columns beyond the picture copy
        // nothing, so the strip's own colour shows there.
        const int tileWidth = ToLongNearest(step);
        const int copyWidth = std::min(tileWidth, picture.width() - 1);
        const int copyHeight = std::min(blockHeight, picture.height());
        if (hasPicture && copyWidth > 0 && copyHeight > 0) {
            for (std::int32_t x : TileColumns(step, stripWidth)) {
                BitBlt(strip.dc(), x, 0, copyWidth, copyHeight, picture.dc(), 1, 0, SRCCOPY);
            }
        }
        const HeadPlacement placed = PlaceHead(head, holderWidth, stripWidth);
        const int headFrom = std::max(0, placed.sourceColumn);
        const int headWidth = std::min(placed.width, picture.width() - headFrom);
        if (hasPicture && headWidth > 0 && copyHeight > 0) {
            BitBlt(strip.dc(), placed.stripColumn + (headFrom - placed.sourceColumn), 0, headWidth,
                   copyHeight, picture.dc(), headFrom, 0, SRCCOPY);
        }
        stripBuiltFor = inputs;
        ++stripSerial;
    }
    const std::int16_t percent = PercentShown(props.Value, props.Min, props.Max);
    SetCaption(CaptionText(props, percent));
    DrawProgress();
}

void ProgressBarState::DrawProgress() {
    const double percent = FillPercent(props.Value, props.Min, props.Max);
    const int fill = FillWidth(scaleWidth, percent);
    const HeadPlacement head =
        PlaceHead(DisplayPixels(props.HeadWidth), holderWidth, strip.width());
    const BarInputs inputs{stripSerial,
                           backgroundSerial,
                           props.BackColour,
                           fill,
                           props.LeadMarker ? head.width : 0,
                           head.stripColumn,
                           scaleWidth,
                           scaleHeight,
                           props.LeadMarker};
    if (barDrawnFor != inputs) {
        bar.Resize(scaleWidth, scaleHeight);
        bar.Fill(ResolveColour(props.BackColour));
        if (!background.empty()) {
            BitBlt(bar.dc(), 0, 0, background.width(), background.height(), background.dc(), 0, 0,
                   SRCCOPY);
        }
        const int height = ToLongNearest(scaleHeight);
        const int copied = std::min(fill, strip.width());
        if (copied > 0) {
            BitBlt(bar.dc(), 0, 0, copied, height, strip.dc(), 0, 0, SRCCOPY);
        }
        if (props.LeadMarker && head.width > 0) {
            BitBlt(bar.dc(), fill, 0, head.width, height, strip.dc(), head.stripColumn, 0, SRCCOPY);
        }
        // When only the fill moved, only the columns between the old and the new end change
        // (with the head after each).
        if (barDrawnFor) {
            BarInputs moved = *barDrawnFor;
            moved.fill = inputs.fill;
            if (moved == inputs) {
                const int from = std::min(barDrawnFor->fill, inputs.fill);
                const int to = std::max(barDrawnFor->fill, inputs.fill) + inputs.headWidth;
                Dirty(RECT{edge + std::max(0, from), edge, edge + std::max(0, to) + 1,
                           edge + scaleHeight});
            } else {
                DirtyAll();
            }
        } else {
            DirtyAll();
        }
        barDrawnFor = inputs;
    }
    if (change) {
        change();
    }
}

void ProgressBarState::SetCaption(const std::wstring& text) {
    if (caption != text) {
        caption = text;
        Dirty(CaptionArea());
        // A screen reader follows the value it shows.
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    }
}

RECT ProgressBarState::CaptionArea() const {
    const int left = edge + scale.PixelsX(kCaptionLeft);
    const int top = edge + scale.ScaledY(kCaptionTop);
    return RECT{left, top, left + scale.PixelsX(kCaptionWidth),
                top + scale.PixelsY(kCaptionHeight)};
}

void ProgressBarState::Refresh() {
    if (IsRectEmpty(&dirty)) {
        return;
    }
    RECT client{};
    GetClientRect(window, &client);
    RECT area{};
    IntersectRect(&area, &dirty, &client);
    dirty = RECT{};
    if (IsWindowVisible(window)) {
        // Drawn at once through the window's DC, as a static control draws a new text; the
        // DC clips to what of the window is visible.
        {
            WindowDc dc(window);
            Paint(dc.get(), area);
        }
        ValidateRect(window, &area);
        // Whatever else waits to be painted (the window has just been shown, say) is painted
        // now too, so that the whole bar is on the screen when the setter returns.
        if (GetUpdateRect(window, nullptr, FALSE)) {
            UpdateWindow(window);
        }
    } else {
        InvalidateRect(window, &area, FALSE);
    }
}

void ProgressBarState::Paint(HDC target, const RECT& area) const {
    RECT client{};
    GetClientRect(window, &client);
    Surface& buffer = paintBuffer;
    if (!buffer.Resize(client.right, client.bottom) || buffer.empty()) {
        return;
    }
    // Only the area being painted is composed again; the rest of the buffer is not shown.
    const int composing = SaveDC(buffer.dc());
    IntersectClipRect(buffer.dc(), area.left, area.top, area.right, area.bottom);
    buffer.Fill(GetSysColor(COLOR_BTNFACE));
    if (edge > 0) {
        RECT frame{0, 0, barWidth, barHeight};
        DrawEdge(buffer.dc(), &frame, EDGE_SUNKEN, BF_RECT);
    }
    if (!bar.empty()) {
        BitBlt(buffer.dc(), edge, edge, bar.width(), bar.height(), bar.dc(), 0, 0, SRCCOPY);
    }
    // The caption lies inside the bar, transparent over it.
    const int saved = SaveDC(buffer.dc());
    IntersectClipRect(buffer.dc(), edge, edge, edge + scaleWidth, edge + scaleHeight);
    RECT text = CaptionArea();
    SelectObject(buffer.dc(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(buffer.dc(), TRANSPARENT);
    SetTextColor(buffer.dc(), ResolveColour(props.TextForeColour));
    const UINT align = captionAlignment == 1   ? DT_RIGHT
                       : captionAlignment == 2 ? DT_CENTER
                                               : DT_LEFT;
    DrawTextW(buffer.dc(), caption.c_str(), static_cast<int>(caption.size()), &text,
              align | DT_WORDBREAK | DT_NOPREFIX);
    RestoreDC(buffer.dc(), saved);
    RestoreDC(buffer.dc(), composing);
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer.dc(),
           area.left, area.top, SRCCOPY);
}

void ProgressBarState::MouseDown(UINT message, WPARAM keys, POINT at) {
    if (!mouseDown) {
        return;
    }
    short button = MouseButtonOf(message);
    short shift = ShiftStateOf(keys);
    const RECT captionArea = CaptionArea();
    const int captionLeft = captionArea.left;
    const int captionTop = captionArea.top;
    const RECT barArea{0, 0, barWidth, barHeight};
    float x = 0;
    float y = 0;
    if (PtInRect(&captionArea, at)) {
        // The caption's own pixels.
        x = static_cast<float>(at.x - captionLeft);
        y = static_cast<float>(at.y - captionTop);
    } else if (PtInRect(&barArea, at)) {
        return; // the bar itself passes presses on to nobody
    } else {
        // The control's surface, measured in twips.
        x = static_cast<float>(at.x * scale.x);
        y = static_cast<float>(at.y * scale.y);
    }
    mouseDown(button, shift, x, y);
}

namespace {

LRESULT CALLBACK ProgressBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ProgressBarState* state = StateOf<ProgressBarState>(window);
    switch (message) {
    case WM_NCCREATE: {
        auto owned = std::make_unique<ProgressBarState>();
        owned->window = window;
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        owned->scale = TwipsScale::OfDpi(WindowDpi(create->hwndParent));
        const auto* params = static_cast<const CreateParams*>(create->lpCreateParams);
        if (params && params->bag) {
            owned->props = LoadProgressBar(*params->bag);
        }
        owned->captionAlignment = static_cast<std::int16_t>(owned->props.TextAlignment);
        owned->caption = owned->props.Text;
        ResumeNext([&] { owned->LoadPictures(); });
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
        // A fault of a loaded set reaches whoever sets the property next; resizing says nothing.
        ResumeNext([&] { state->UpdateLayout(); });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        state->Paint(dc, paint.rcPaint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(window, &client);
        state->Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case WM_GETOBJECT:
        if (const auto answer =
                AnswerAccessibleQuery(window, wParam, lParam, AccessibleKind::ProgressBar)) {
            return *answer;
        }
        break;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return AnswerTextMessage(state->caption, message, wParam, lParam);
    case PBM_GETPOS:
        return state->props.Value;
    case PBM_GETRANGE:
        if (auto* range = reinterpret_cast<PBRANGE*>(lParam)) {
            range->iLow = state->props.Min;
            range->iHigh = state->props.Max;
        }
        return wParam ? state->props.Min : state->props.Max;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ResumeNext([&] {
            state->MouseDown(
                message, wParam,
                POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        });
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateBar(HWND parent, int id, const RECT& place, const CreateParams& params) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    MyProgressBar::Register(instance);
    HWND window = CreateWindowExW(0, kProgressBarClass, L"", WS_CHILD | WS_VISIBLE, place.left,
                                  place.top, place.right - place.left, place.bottom - place.top,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  instance, const_cast<CreateParams*>(&params));
    if (!window) {
        Raise(kErrInternal, L"The progress bar could not be created.");
    }
    return window;
}

} // namespace

void MyProgressBar::Register(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kProgressBarClass, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = ProgressBarProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = kProgressBarClass;
    RegisterClassExW(&windowClass);
}

void MyProgressBar::Create(HWND parent, int id, const RECT& place, const PropertyBag& bag) {
    CreateParams params{&bag};
    window_ = CreateBar(parent, id, place, params);
    // Loading ends with a layout; a fault in the loaded values reaches the caller.
    State().UpdateLayout();
}

void MyProgressBar::CreateNew(HWND parent, int id, const RECT& place) {
    CreateParams params{};
    window_ = CreateBar(parent, id, place, params);
}

void MyProgressBar::ScaleTo(unsigned dpi) {
    ProgressBarState& s = State();
    s.scale = TwipsScale::OfDpi(dpi);
    s.ScalePictures();
    s.UpdateLayout();
}

ProgressBarState& MyProgressBar::State() const {
    ProgressBarState* state = StateOf<ProgressBarState>(window_);
    if (!state) {
        Raise(kErrInternal, L"The progress bar has no window.");
    }
    return *state;
}

PropertyBag MyProgressBar::Save() const {
    return SaveProgressBar(State().props);
}

const ProgressBarProps& MyProgressBar::Properties() const {
    return State().props;
}

void MyProgressBar::ProgressPicture(const PictureData& picture) {
    ProgressBarState& s = State();
    s.props.ProgressPicture = picture;
    s.hasPicture = DecodePicture(picture, s.pictureDecoded);
    s.ScalePictures();
    s.Report(L"ProgressPicture");
    s.UpdateLayout();
}

void MyProgressBar::BackPicture(const PictureData& picture) {
    ProgressBarState& s = State();
    s.props.BackPicture = picture;
    DecodePicture(picture, s.backgroundDecoded);
    s.ScalePictures();
    s.Report(L"BackPicture");
    s.UpdateLayout();
}

std::int32_t MyProgressBar::Min() const {
    return State().props.Min;
}

void MyProgressBar::Min(std::int32_t value) {
    ProgressBarState& s = State();
    const LimitCheck check = CheckLimits(L"Min", value, s.props.Min, s.props.Max);
    s.Say(check.messages);
    if (!check.accepted) {
        return;
    }
    s.props.Min = check.value;
    if (s.props.Value < s.props.Min) {
        s.props.Value = s.props.Min;
    }
    s.Report(L"Min");
    s.Report(L"Value");
    s.UpdateLayout();
}

std::int32_t MyProgressBar::Max() const {
    return State().props.Max;
}

void MyProgressBar::Max(std::int32_t value) {
    ProgressBarState& s = State();
    const LimitCheck check = CheckLimits(L"Max", value, s.props.Min, s.props.Max);
    s.Say(check.messages);
    if (!check.accepted) {
        return;
    }
    s.props.Max = check.value;
    if (s.props.Value > s.props.Max) {
        s.props.Value = s.props.Max;
    }
    s.Report(L"Max");
    s.Report(L"Value");
    s.UpdateLayout();
}

std::int32_t MyProgressBar::Value() const {
    return State().props.Value;
}

void MyProgressBar::Value(std::int32_t value) {
    ProgressBarState& s = State();
    const LimitCheck check = CheckLimits(L"Value", value, s.props.Min, s.props.Max);
    s.Say(check.messages);
    s.props.Value = check.value;
    s.Report(L"Value");
    s.UpdateLayout();
}

bool MyProgressBar::ErrorsOn() const {
    return State().props.ErrorsOn;
}

void MyProgressBar::ErrorsOn(bool on) {
    StoreAndReport(State(), &ProgressBarProps::ErrorsOn, on, L"ErrorsOn");
}

std::uint32_t MyProgressBar::BackColour() const {
    return State().props.BackColour;
}

void MyProgressBar::BackColour(std::uint32_t colour) {
    ProgressBarState& s = State();
    StoreAndReport(s, &ProgressBarProps::BackColour, colour, L"BackColour");
    s.UpdateLayout();
}

bool MyProgressBar::LeadMarker() const {
    return State().props.LeadMarker;
}

void MyProgressBar::LeadMarker(bool on) {
    ProgressBarState& s = State();
    StoreAndReport(s, &ProgressBarProps::LeadMarker, on, L"LeadMarker");
    s.UpdateLayout();
}

std::int32_t MyProgressBar::HeadWidth() const {
    return ToLongNearest(State().props.HeadWidth);
}

void MyProgressBar::HeadWidth(std::int32_t width) {
    ProgressBarState& s = State();
    if (s.props.ErrorsOn && width < 0) {
        s.Say({kHeadWidthMessage});
        return;
    }
    s.props.HeadWidth = static_cast<float>(width);
    s.Report(L"HeadWidth");
    s.UpdateLayout();
}

std::int32_t MyProgressBar::ImageRepStep() const {
    return ToLongNearest(State().props.ImageRepStep);
}

void MyProgressBar::ImageRepStep(std::int32_t step) {
    ProgressBarState& s = State();
    if (s.props.ErrorsOn && step < 1) {
        s.Say({kImageRepStepMessage});
        return;
    }
    s.props.ImageRepStep = static_cast<float>(step);
    s.Report(L"ImageRepStep");
    s.UpdateLayout();
}

bool MyProgressBar::Appearance() const {
    return State().props.Appearance;
}

void MyProgressBar::Appearance(bool threeD) {
    ProgressBarState& s = State();
    StoreAndReport(s, &ProgressBarProps::Appearance, threeD, L"Appearance");
    s.UpdateLayout();
}

std::wstring MyProgressBar::Text() const {
    return State().props.Text;
}

void MyProgressBar::Text(const std::wstring& text) {
    ProgressBarState& s = State();
    s.props.Text = text;
    s.SetCaption(text);
    s.Report(L"Text");
    s.Refresh();
}

std::wstring MyProgressBar::Text2() const {
    return State().props.Text2;
}

void MyProgressBar::Text2(const std::wstring& text) {
    StoreAndReport(State(), &ProgressBarProps::Text2, text, L"Text2");
}

std::int32_t MyProgressBar::TextAlignment() const {
    return State().props.TextAlignment;
}

void MyProgressBar::TextAlignment(std::int32_t alignment) {
    ProgressBarState& s = State();
    s.props.TextAlignment = alignment;
    s.captionAlignment = ToIntegerNearest(alignment);
    s.Dirty(s.CaptionArea());
    s.Report(L"TextAlignment");
    s.Refresh();
}

std::uint32_t MyProgressBar::TextForeColour() const {
    return State().props.TextForeColour;
}

void MyProgressBar::TextForeColour(std::uint32_t colour) {
    ProgressBarState& s = State();
    s.props.TextForeColour = colour;
    s.Dirty(s.CaptionArea());
    s.Report(L"TextForeColour");
    s.Refresh();
}

bool MyProgressBar::TextPercentage() const {
    return State().props.TextPercentage;
}

void MyProgressBar::TextPercentage(bool on) {
    ProgressBarState& s = State();
    s.props.TextPercentage = on;
    Text(on ? L"0%" : kProgressBarDefaultText);
    s.Report(L"Text");
    s.Report(L"TextPercentage");
}

std::wstring MyProgressBar::Caption() const {
    return State().caption;
}

void MyProgressBar::OnChange(ChangeHandler handler) {
    State().change = std::move(handler);
}

void MyProgressBar::OnMouseDown(MouseHandler handler) {
    State().mouseDown = std::move(handler);
}

void MyProgressBar::OnPropertyChanged(PropertyChangedHandler handler) {
    State().propertyChanged = std::move(handler);
}

} // namespace vt

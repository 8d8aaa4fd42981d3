#include "uninstall/form1_design.h"

#include "resources/resource.h"
#include "uninstall/form1_layout.h"

namespace vt {

namespace {

constexpr wchar_t kDesignProperty[] = L"VT_Form1Design";

// The client area; nothing in the window follows a change of its size.
constexpr int kClientWidthTwips = 7470;
constexpr int kClientHeightTwips = 5370;

constexpr TwipsBox kLabel3{360, 165, 1410, 210};
constexpr TwipsBox kLabel4{600, 420, 4560, 210};
constexpr TwipsBox kLabel1{840, 1680, 225, 210};
constexpr TwipsBox kLabel2{600, 1200, 1980, 210};
constexpr TwipsBox kProgressBar{840, 1920, 5775, 355};
constexpr TwipsBox kCommand1{6160, 4880, 1095, 375};

// The etched rules: a dark line with a white one under it.
struct Line {
    int x1, y1, x2, y2;
    std::uint32_t colour;
};
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kScrollBarColour = 0x80000000;
constexpr Line kLines[] = {
    {0, 875, 7590, 875, kWhite},             // Line4
    {0, 860, 7470, 860, kScrollBarColour},   // Line3
    {0, 4700, 7590, 4700, kWhite},           // Line2
    {0, 4680, 7590, 4680, kScrollBarColour}, // Line1
};

constexpr std::uint32_t kButtonFace = 0x8000000F;

PropertyBag TitleLabel(const wchar_t* caption) {
    PropertyBag bag;
    bag.Write(L"AlphaLinkIMG", std::wstring(L"Image1"));
    bag.Write(L"Caption", std::wstring(caption));
    bag.Write(L"ForeColor", std::int32_t{0});
    bag.Write(L"Font", Form1Font());
    return bag;
}

PropertyBag StatusLabel(const wchar_t* caption) {
    PropertyBag bag;
    bag.Write(L"BackStyle", std::int32_t{kBackOpaque});
    bag.Write(L"BackColor", static_cast<std::int32_t>(kButtonFace));
    bag.Write(L"Caption", std::wstring(caption));
    bag.Write(L"ForeColor", std::int32_t{0});
    bag.Write(L"Font", Form1Font());
    return bag;
}

// A font of `hundredthsOfPoint` for a display of `dpi` dots per inch.
HFONT MakeFont(const wchar_t* face, int hundredthsOfPoint, unsigned dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

} // namespace

FontData Form1Font() {
    return FontData{L"Tahoma", Currency{82500}, 400, false, false, false, 0};
}

PropertyBag Label3Design() {
    PropertyBag bag = TitleLabel(L"Uninstall Status");
    bag.Write(L"FontBold", Bool16::Of(true));
    return bag;
}

PropertyBag Label4Design() {
    return TitleLabel(L"Please wait while Veltrane is removed from your computer.");
}

PropertyBag Label1Design() {
    return StatusLabel(L"...");
}

PropertyBag Label2Design() {
    return StatusLabel(L"Uninstalling Veltrane...");
}

PropertyBag ProgressBarDesign(HINSTANCE instance) {
    PropertyBag bag;
    bag.Write(L"ProgressPicture", ResourcePicture(instance, IDR_PROGRESS_TILE));
    bag.Write(L"ErrorsOn", Bool16::Of(false));
    bag.Write(L"BackColour", static_cast<std::int32_t>(kWhite));
    bag.Write(L"ImageRepStep", 12.0f);
    bag.Write(L"Text", std::wstring(L"0%"));
    bag.Write(L"TextAlignment", std::int32_t{2});
    bag.Write(L"TextPercentage", Bool16::Of(true));
    return bag;
}

Form1Design::Form1Design(HINSTANCE instance) {
    DecodePicture(ResourcePicture(instance, IDR_BANNER), bannerDecoded_);
}

void Form1Design::CreateControls(HWND window, MyUniLabel& label1, MyUniLabel& label2,
                                 MyUniLabel& label3, MyUniLabel& label4, MyProgressBar& pb,
                                 HWND& command1) {
    window_ = window;
    SetPropW(window, kDesignProperty, this);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    const FontData font = Form1Font();
    label3.Create(window, kIdLabel3, kLabel3, Label3Design(), font);
    label4.Create(window, kIdLabel4, kLabel4, Label4Design(), font);
    label1.Create(window, kIdLabel1, kLabel1, Label1Design(), font);
    label2.Create(window, kIdLabel2, kLabel2, Label2Design(), font);
    labels_ = {&label3, &label4, &label1, &label2};
    // The bar and the button take their places at the window's scale below.
    pb.Create(window, kIdProgressBar, Pixels(kProgressBar), ProgressBarDesign(instance));
    pb_ = &pb;
    command1 = CreateWindowExW(
        0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_DISABLED, 0, 0, 0, 0,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdCommand1)), instance, nullptr);
    command1_ = command1;
    ScaleTo(WindowDpi(window), nullptr);
}

void Form1Design::ScaleTo(unsigned dpi, const RECT* suggested) {
    scale_ = TwipsScale::OfDpi(dpi);
    banner_.ScaleFrom(bannerDecoded_, scale_.ScaledX(bannerDecoded_.width()),
                      scale_.ScaledY(bannerDecoded_.height()));
    PlaceWindow(suggested);
    for (MyUniLabel* label : labels_) {
        label->ScaleTo(dpi);
    }
    pb_->ScaleTo(dpi);
    const auto place = [this](HWND control, const TwipsBox& box) {
        const RECT at = Pixels(box);
        SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(pb_->hWnd(), kProgressBar);
    place(command1_, kCommand1);
    // The controls leave the old fonts before these go.
    UniqueFont font(MakeFont(L"Tahoma", 825, dpi));
    UniqueFont buttonFont(MakeFont(L"MS Sans Serif", 825, dpi));
    SendMessageW(pb_->hWnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    SendMessageW(command1_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont.get()), FALSE);
    font_ = std::move(font);
    buttonFont_ = std::move(buttonFont);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form1Design::PlaceWindow(const RECT* suggested) const {
    const int clientWidth = scale_.PixelsX(kClientWidthTwips);
    const int clientHeight = scale_.PixelsY(kClientHeightTwips);
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    POINT at{};
    if (suggested) {
        at = POINT{suggested->left, suggested->top};
    } else {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        at = POINT{work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2};
    }
    SetWindowPos(window_, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame is as wide as the window's display draws it, which the system's metrics need
    // not tell (a display of another scale than the system's): the client area is what counts.
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right != clientWidth || client.bottom != clientHeight) {
        width += clientWidth - client.right;
        height += clientHeight - client.bottom;
        SetWindowPos(window_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

RECT Form1Design::Pixels(const TwipsBox& box) const {
    return RECT{scale_.PixelsX(box.left), scale_.PixelsY(box.top),
                scale_.PixelsX(box.left + box.width), scale_.PixelsY(box.top + box.height)};
}

void Form1Design::Paint(HWND window, HDC target) const {
    RECT client{};
    GetClientRect(window, &client);
    Surface buffer;
    if (!buffer.Resize(client.right, client.bottom) || buffer.empty()) {
        return;
    }
    buffer.Fill(ResolveColour(kButtonFace));
    // Image1 at the top left, at the picture's size on this display.
    if (!banner_.empty()) {
        BitBlt(buffer.dc(), 0, 0, banner_.width(), banner_.height(), banner_.dc(), 0, 0, SRCCOPY);
    }
    for (const Line& line : kLines) {
        RECT pixels{scale_.PixelsX(line.x1), scale_.PixelsY(line.y1), scale_.PixelsX(line.x2),
                    scale_.PixelsY(line.y1) + 1};
        UniqueBrush brush(CreateSolidBrush(ResolveColour(line.colour)));
        FillRect(buffer.dc(), &pixels, brush.get());
    }
    BitBlt(target, 0, 0, client.right, client.bottom, buffer.dc(), 0, 0, SRCCOPY);
}

std::optional<LRESULT> Form1Design::HandleMessage(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    auto* design = static_cast<Form1Design*>(GetPropW(window, kDesignProperty));
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kDesignProperty);
        return std::nullopt;
    }
    if (!design) {
        return std::nullopt;
    }
    static const UINT findPicture = RegisterWindowMessageW(kFindPictureMessage);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        design->Paint(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        design->Paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DPICHANGED:
        design->ScaleTo(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    if (message == findPicture && lParam &&
        std::wstring_view(reinterpret_cast<const wchar_t*>(lParam)) == L"Image1" &&
        !design->banner_.empty()) {
        return reinterpret_cast<LRESULT>(&design->banner_);
    }
    return std::nullopt;
}

} // namespace vt

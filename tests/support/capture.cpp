#include "tests/support/capture.h"

#include <gdiplus.h>

#include <functional>

namespace vt::test {

namespace {

using UniqueBrush = Unique<NullIsNoneTraits<HBRUSH, DeleteObject>>;

// Paints into a 32-bit top-down bitmap of the given size and hands back its pixels.
Picture Draw(int width, int height, const std::function<bool(HDC)>& paint) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) {
        return {};
    }
    SelectObjectScope target(memory.get(), bitmap.get());
    if (!paint(memory.get())) {
        return {};
    }
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    Picture picture{width, height, {first, first + static_cast<std::size_t>(width) * height}};
    for (std::uint32_t& pixel : picture.pixels) {
        pixel &= 0x00FFFFFF;
    }
    return picture;
}

} // namespace

Picture CaptureScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    return Draw(width, height, [&](HDC target) {
        WindowDc screen(nullptr);
        return BitBlt(target, 0, 0, width, height, screen.get(), area.left, area.top,
                      SRCCOPY | CAPTUREBLT) != FALSE;
    });
}

Picture RenderIcon(HICON icon, int width, int height, COLORREF background) {
    return Draw(width, height, [&](HDC target) {
        UniqueBrush brush(CreateSolidBrush(background));
        const RECT all{0, 0, width, height};
        FillRect(target, &all, brush.get());
        return DrawIconEx(target, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL) != FALSE;
    });
}

Picture CaptureWindow(HWND window, const WatchedProcess& process) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Picture last;
    for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end;) {
        RECT area{};
        if (!GetWindowRect(window, &area)) {
            return {};
        }
        Picture now = CaptureScreen(area);
        if (!now.pixels.empty() && now.width == last.width && now.pixels == last.pixels) {
            return now;
        }
        last = std::move(now);
        if (WaitPumping(process.Handle(), 20)) {
            break;
        }
    }
    return last;
}

bool SavePng(const std::wstring& path, const Picture& picture) {
    using namespace Gdiplus::DllExports;
    static constexpr CLSID kPngEncoder = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    const Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (picture.pixels.empty() || Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        return false;
    }
    std::vector<std::uint32_t> pixels = picture.pixels;
    Gdiplus::GpBitmap* bitmap = nullptr;
    bool saved = GdipCreateBitmapFromScan0(
                     picture.width, picture.height, picture.width * 4, PixelFormat32bppRGB,
                     reinterpret_cast<BYTE*>(pixels.data()), &bitmap) == Gdiplus::Ok;
    saved =
        saved && GdipSaveImageToFile(bitmap, path.c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
    if (bitmap) {
        GdipDisposeImage(bitmap);
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

} // namespace vt::test

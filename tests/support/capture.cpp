#include "tests/support/capture.h"

#include "system/handles.h"
#include "tests/support/png.h"

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
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) {
        return {};
    }
    {
        SelectObjectScope target(memory.get(), bitmap.get());
        if (!paint(memory.get())) {
            return {};
        }
        GdiFlush();
    }
    Picture picture{width, height, {}};
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    picture.rgb.reserve(count * 3);
    const auto* bgrx = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < count; ++i) {
        picture.rgb.push_back(bgrx[i * 4 + 2]);
        picture.rgb.push_back(bgrx[i * 4 + 1]);
        picture.rgb.push_back(bgrx[i * 4]);
    }
    return picture;
}

} // namespace

COLORREF Picture::Pixel(int x, int y) const noexcept {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                            static_cast<std::size_t>(x)) *
                           3;
    return RGB(rgb[at], rgb[at + 1], rgb[at + 2]);
}

bool Picture::IsUniform() const noexcept {
    for (std::size_t at = 3; at < rgb.size(); ++at) {
        if (rgb[at] != rgb[at % 3]) {
            return false;
        }
    }
    return true;
}

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

bool SavePng(const std::wstring& path, const Picture& picture) {
    const std::vector<std::uint8_t> png = EncodePng(picture.width, picture.height, picture.rgb);
    if (png.empty()) {
        return false;
    }
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
           written == png.size();
}

Picture CaptureWindow(HWND window, const WatchedProcess& process) {
    constexpr int kReadings = 50;
    constexpr DWORD kBetweenReadingsMs = 20;
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Picture last;
    for (int reading = 0; reading < kReadings; ++reading) {
        RECT area{};
        if (!GetWindowRect(window, &area)) {
            return {};
        }
        Picture now = CaptureScreen(area);
        if (!now.rgb.empty() && now.width == last.width && now.height == last.height &&
            now.rgb == last.rgb) {
            return now;
        }
        last = std::move(now);
        if (WaitPumping(process.Handle(), kBetweenReadingsMs)) {
            break;
        }
    }
    return last;
}

} // namespace vt::test

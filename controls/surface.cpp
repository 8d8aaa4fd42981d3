#include "controls/surface.h"

#include "controls/resample.h"

#include <algorithm>

#include <ocidl.h>
#include <olectl.h>

namespace vt {

Surface::~Surface() {
    Clear();
}

void Surface::Clear() noexcept {
    if (dc_ && original_) {
        SelectObject(dc_.get(), original_);
    }
    original_ = nullptr;
    dc_.reset();
    bitmap_.reset();
    pixels_ = nullptr;
    width_ = height_ = 0;
}

bool Surface::Resize(int width, int height) noexcept {
    if (width == width_ && height == height_ && dc_) {
        return true;
    }
    Clear();
    if (width <= 0 || height <= 0) {
        return true;
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || !bits) {
        return false;
    }
    original_ = SelectObject(dc.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    pixels_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void Surface::Fill(COLORREF colour) noexcept {
    if (!dc_) {
        return;
    }
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT all{0, 0, width_, height_};
    FillRect(dc_.get(), &all, brush.get());
}

bool Surface::CopyFrom(const Surface& other) noexcept {
    if (!Resize(other.width(), other.height())) {
        return false;
    }
    return other.empty() || BitBlt(dc(), 0, 0, width_, height_, other.dc(), 0, 0, SRCCOPY) != FALSE;
}

bool Surface::ScaleFrom(const Surface& other, int width, int height) {
    if (other.empty() || (width == other.width() && height == other.height())) {
        return CopyFrom(other);
    }
    GdiFlush();
    const std::vector<std::uint32_t> scaled =
        ResizeSmooth(std::vector<std::uint32_t>(
                         other.pixels(),
                         other.pixels() + static_cast<std::size_t>(other.width()) * other.height()),
                     other.width(), other.height(), width, height);
    if (!Resize(width, height) || empty()) {
        return false;
    }
    std::copy(scaled.begin(), scaled.end(), pixels_);
    return true;
}

COLORREF ResolveColour(std::uint32_t colour) noexcept {
    if (colour & 0x80000000u) {
        return GetSysColor(static_cast<int>(colour & 0xFF));
    }
    return static_cast<COLORREF>(colour & 0x00FFFFFF);
}

bool DecodePicture(const PictureData& data, Surface& out) noexcept {
    out.Clear();
    if (data.empty()) {
        return false;
    }
    UniqueCom<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) {
        return false;
    }
    ULONG written = 0;
    if (FAILED(stream.get()->Write(data.bytes.data(), static_cast<ULONG>(data.bytes.size()),
                                   &written)) ||
        written != data.bytes.size()) {
        return false;
    }
    LARGE_INTEGER start{};
    stream.get()->Seek(start, STREAM_SEEK_SET, nullptr);
    UniqueCom<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(data.bytes.size()), FALSE,
                              IID_IPicture, reinterpret_cast<void**>(picture.put())))) {
        return false;
    }
    // The picture's own bitmap gives its size in pixels, whatever resolution it claims.
    OLE_HANDLE handle = 0;
    SHORT type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture.get()->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture.get()->get_Handle(&handle))) {
        return false;
    }
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || !out.Resize(info.bmWidth, info.bmHeight)) {
        return false;
    }
    OLE_XSIZE_HIMETRIC across = 0;
    OLE_YSIZE_HIMETRIC down = 0;
    picture.get()->get_Width(&across);
    picture.get()->get_Height(&down);
    // HIMETRIC runs bottom-up: start at the bottom and go up by the height.
    if (FAILED(picture.get()->Render(out.dc(), 0, 0, info.bmWidth, info.bmHeight, 0, down, across,
                                     -down, nullptr))) {
        out.Clear();
        return false;
    }
    GdiFlush();
    return true;
}

PictureData ResourcePicture(HINSTANCE instance, int id) {
    PictureData data;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes) {
        const auto* first = static_cast<const std::uint8_t*>(bytes);
        data.bytes.assign(first, first + SizeofResource(instance, found));
    }
    return data;
}

} // namespace vt

// Off-screen drawing surfaces for the controls: a memory DC holding a 32-bit top-down DIB, so
// that what is drawn can be copied with BitBlt and its pixels read directly.
#pragma once

#include "controls/property_bag.h"
#include "system/handles.h"

#include <windows.h>

#include <cstdint>

namespace vt {

class Surface {
  public:
    Surface() = default;
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // A new image of the given size (contents undefined); false when it cannot be had.
    // Sizes below one pixel make an empty surface.
    bool Resize(int width, int height) noexcept;
    void Clear() noexcept;

    HDC dc() const noexcept { return dc_.get(); }
    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    bool empty() const noexcept { return !dc_; }
    std::uint32_t* pixels() const noexcept { return pixels_; }

    void Fill(COLORREF colour) noexcept;
    // Copies `other` (same kind of surface) into this one, size included.
    bool CopyFrom(const Surface& other) noexcept;
    // `other` made `width` x `height` with a smooth filter; at its own size, its exact copy.
    bool ScaleFrom(const Surface& other, int width, int height);

  private:
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    HGDIOBJ original_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// A 0x800000nn value names system colour nn; anything else is a plain 0x00BBGGRR colour.
COLORREF ResolveColour(std::uint32_t colour) noexcept;

// The picture held in `data` (JPEG, BMP, GIF, icon: what the system's picture loader reads),
// decoded into `out` at its own pixel size. False, with `out` empty, when it cannot be read.
bool DecodePicture(const PictureData& data, Surface& out) noexcept;

// The bytes of an RCDATA resource of this program; empty when it is missing.
PictureData ResourcePicture(HINSTANCE instance, int id);

} // namespace vt

// GDI bitmaps: each object owns one HBITMAP.
#pragma once

#include "platform/bitmap.h"

namespace wlk::platform::win32 {

class Win32Bitmaps : public Bitmaps {
public:
    std::unique_ptr<Bitmap> FromPixels(int width, int height,
                                       std::span<const uint32_t> pixels) override;
    std::unique_ptr<Bitmap> FromDib(const Dib& dib) override;
};

}  // namespace wlk::platform::win32

// GDI bitmaps: each object owns one HBITMAP.
#pragma once

#include "platform/bitmap.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

class Win32Bitmaps : public Bitmaps {
public:
    std::unique_ptr<Bitmap> FromPixels(int width, int height,
                                       std::span<const uint32_t> pixels) override;
    std::unique_ptr<Bitmap> FromDib(const Dib& dib) override;
};

// A bitmap object owning `handle`; null for a null handle.
std::unique_ptr<Bitmap> AdoptBitmap(HBITMAP handle);
// The handle of a bitmap these services made; it stays owned by `bitmap`.
HBITMAP HandleOf(const Bitmap& bitmap);

}  // namespace wlk::platform::win32

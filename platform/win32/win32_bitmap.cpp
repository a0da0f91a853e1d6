#include "platform/win32/win32_bitmap.h"

#include <cstring>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

using UniqueBitmap = Unique<HBITMAP, &::DeleteObject>;

// The screen's device context, for the calls that want one.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Room for a header and the largest colour table.
struct InfoBuffer {
    alignas(BITMAPINFO) uint8_t bytes[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
    BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(bytes); }
};

bool IsDibSection(HBITMAP bitmap) {
    DIBSECTION section;
    return GetObjectW(bitmap, sizeof(section), &section) == sizeof(section);
}

class Win32Bitmap : public Bitmap {
public:
    explicit Win32Bitmap(UniqueBitmap handle) : handle_(std::move(handle)) {
        if (!GetObjectW(handle_.Get(), sizeof(info_), &info_)) info_ = BITMAP{};
    }
    int Width() const override { return info_.bmWidth; }
    int Height() const override { return info_.bmHeight; }
    int BitsPerPixel() const override { return info_.bmBitsPixel * info_.bmPlanes; }

    std::optional<Dib> GetDib() const override {
        int bits = BitsPerPixel();
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24) bits = 32;
        InfoBuffer buffer;
        BITMAPINFOHEADER& header = buffer.Get()->bmiHeader;
        header.biSize = sizeof(BITMAPINFOHEADER);
        header.biWidth = Width();
        header.biHeight = Height();
        header.biPlanes = 1;
        header.biBitCount = WORD(bits);
        header.biCompression = bits == 16 || bits == 32 ? BI_BITFIELDS : BI_RGB;
        std::vector<uint8_t> info(header.biSize, 0);
        std::memcpy(info.data(), &header, sizeof(header));
        const auto layout = dib::ParseInfo(info);
        if (!layout) return std::nullopt;
        Dib dib;
        dib.bits.resize(layout->imageBytes);
        ScreenDc dc;
        if (GetDIBits(dc.Get(), handle_.Get(), 0, UINT(layout->height), dib.bits.data(),
                      buffer.Get(), DIB_RGB_COLORS) != layout->height)
            return std::nullopt;
        // GetDIBits fills in the size and the table; keep the table our layout counts.
        header.biSizeImage = DWORD(layout->imageBytes);
        header.biClrUsed = 0;
        header.biClrImportant = 0;
        dib.info.assign(buffer.bytes, buffer.bytes + layout->headerSize + layout->tableBytes);
        if (header.biCompression == BI_BITFIELDS) {
            uint32_t masks[3];
            std::memcpy(masks, dib.info.data() + layout->headerSize, sizeof(masks));
            if (!masks[0] && !masks[1] && !masks[2]) {
                const uint32_t standard[2][3] = {{0x7C00, 0x03E0, 0x001F},
                                                 {0x00FF0000, 0x0000FF00, 0x000000FF}};
                std::memcpy(dib.info.data() + layout->headerSize, standard[bits == 32],
                            sizeof(masks));
            }
        }
        return dib;
    }

    std::vector<uint32_t> Pixels() const override {
        const int width = Width(), height = Height();
        if (width <= 0 || height <= 0) return {};
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // rows from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<uint32_t> pixels(size_t(width) * size_t(height));
        ScreenDc dc;
        if (GetDIBits(dc.Get(), handle_.Get(), 0, UINT(height), pixels.data(), &info,
                      DIB_RGB_COLORS) != height)
            return {};
        for (auto& pixel : pixels) pixel &= 0xFFFFFF;
        return pixels;
    }

    std::unique_ptr<Bitmap> Copy() const override {
        // A DIB section stays one, so that the copy reads back at the same depth.
        const UINT flags = IsDibSection(handle_.Get()) ? LR_CREATEDIBSECTION : 0;
        UniqueBitmap copy(
            static_cast<HBITMAP>(CopyImage(handle_.Get(), IMAGE_BITMAP, 0, 0, flags)));
        if (!copy) return nullptr;
        return std::make_unique<Win32Bitmap>(std::move(copy));
    }

    HBITMAP Handle() const { return handle_.Get(); }

private:
    UniqueBitmap handle_;
    BITMAP info_{};
};

}  // namespace

std::unique_ptr<Bitmap> AdoptBitmap(HBITMAP handle) {
    if (!handle) return nullptr;
    return std::make_unique<Win32Bitmap>(UniqueBitmap(handle));
}

HBITMAP HandleOf(const Bitmap& bitmap) {
    return static_cast<const Win32Bitmap&>(bitmap).Handle();
}

std::unique_ptr<Bitmap> Win32Bitmaps::FromPixels(int width, int height,
                                                 std::span<const uint32_t> pixels) {
    auto dib = dib::FromPixels(width, height, pixels);
    return dib ? FromDib(*dib) : nullptr;
}

std::unique_ptr<Bitmap> Win32Bitmaps::FromDib(const Dib& dib) {
    const auto layout = dib::Check(dib);
    if (!layout) return nullptr;
    InfoBuffer buffer;
    const size_t infoBytes = layout->headerSize + layout->tableBytes;
    if (infoBytes > sizeof(buffer.bytes)) return nullptr;
    std::memcpy(buffer.bytes, dib.info.data(), infoBytes);
    void* bits = nullptr;
    ScreenDc dc;
    UniqueBitmap handle(
        CreateDIBSection(dc.Get(), buffer.Get(), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!handle || !bits) return nullptr;
    std::memcpy(bits, dib.bits.data(), layout->imageBytes);
    GdiFlush();
    return std::make_unique<Win32Bitmap>(std::move(handle));
}

}  // namespace wlk::platform::win32

// Bitmaps as the clipboard history keeps them: a handle the system owns, with
// its bits readable in the bitmap's own format.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace wlk::platform {

// A device-independent picture: a BITMAPINFOHEADER followed by its colour
// table or bit masks, and the pixel rows as GetDIBits gives them.
struct Dib {
    std::vector<uint8_t> info;
    std::vector<uint8_t> bits;
    bool operator==(const Dib&) const = default;
};

// One bitmap handle; destroying the object deletes the handle.
class Bitmap {
public:
    virtual ~Bitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int BitsPerPixel() const = 0;
    // GetDIBits at the bitmap's own depth; nothing when it cannot be read.
    virtual std::optional<Dib> GetDib() const = 0;
    // The pixels as 32-bit 0x00RRGGBB values, rows from the top.
    virtual std::vector<uint32_t> Pixels() const = 0;
    // CopyImage: a private copy with its own handle.
    virtual std::unique_ptr<Bitmap> Copy() const = 0;
};

class Bitmaps {
public:
    virtual ~Bitmaps() = default;
    // A 32-bit bitmap from 0x00RRGGBB values, rows from the top.
    virtual std::unique_ptr<Bitmap> FromPixels(int width, int height,
                                               std::span<const uint32_t> pixels) = 0;
    // A bitmap of the DIB's own depth; null when the DIB does not describe one.
    virtual std::unique_ptr<Bitmap> FromDib(const Dib& dib) = 0;
};

}  // namespace wlk::platform

namespace wlk::platform::dib {

inline constexpr uint32_t kRgb = 0;        // BI_RGB
inline constexpr uint32_t kBitFields = 3;  // BI_BITFIELDS
inline constexpr size_t kInfoHeaderSize = 40;

// What a BITMAPINFOHEADER says, checked for the depths and compressions a
// bitmap handle can take.
struct Layout {
    int width = 0;
    int height = 0;  // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = kRgb;
    size_t headerSize = 0;  // biSize
    size_t tableBytes = 0;  // colour table or the three masks after the header
    size_t stride = 0;      // bytes per row, a multiple of 4
    size_t imageBytes = 0;
};

// Nothing when the header is short, not one we can draw, or absurdly large.
std::optional<Layout> ParseInfo(std::span<const uint8_t> info);
// A whole DIB: the header's layout, and enough table and bits behind it.
std::optional<Layout> Check(const Dib& dib);
// The header (with bit masks) of a bottom-up 32-bit DIB.
std::vector<uint8_t> Info32(int width, int height);
// A bottom-up 32-bit DIB of 0x00RRGGBB pixels given top row first; nothing
// when the size does not match the pixels.
std::optional<Dib> FromPixels(int width, int height, std::span<const uint32_t> pixels);
// The pixels of a DIB as 0x00RRGGBB values, rows from the top; empty when
// the DIB is not valid.
std::vector<uint32_t> ToPixels(const Dib& dib);

}  // namespace wlk::platform::dib

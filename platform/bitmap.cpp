#include "platform/bitmap.h"

#include <bit>
#include <cstring>

namespace wlk::platform::dib {

namespace {

// Beyond this a "picture" in a file is far more likely damage than a copy.
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

uint32_t Read32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

uint16_t Read16(std::span<const uint8_t> bytes, size_t at) {
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

// One mask's value scaled to 8 bits.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    return ((pixel & mask) >> shift) * 255 / max;
}

}  // namespace

std::optional<Layout> ParseInfo(std::span<const uint8_t> info) {
    if (info.size() < kInfoHeaderSize) return std::nullopt;
    Layout layout;
    layout.headerSize = Read32(info, 0);
    const int32_t width = int32_t(Read32(info, 4));
    const int32_t height = int32_t(Read32(info, 8));
    const uint16_t planes = Read16(info, 12);
    layout.bitCount = Read16(info, 14);
    layout.compression = Read32(info, 16);
    const uint32_t clrUsed = Read32(info, 32);
    if (layout.headerSize < kInfoHeaderSize || layout.headerSize > 4096 || planes != 1)
        return std::nullopt;
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.topDown = height < 0;
    if (uint64_t(layout.width) * uint64_t(layout.height) > kMaxPixels) return std::nullopt;
    switch (layout.bitCount) {
        case 1:
        case 4:
        case 8:
            if (layout.compression != kRgb || clrUsed > (1u << layout.bitCount))
                return std::nullopt;
            layout.tableBytes = 4 * size_t(clrUsed ? clrUsed : 1u << layout.bitCount);
            break;
        case 16:
        case 32:
            if (layout.compression == kBitFields) {
                // A larger header (V4, V5) carries the masks inside itself.
                layout.tableBytes = layout.headerSize == kInfoHeaderSize ? 12 : 0;
            } else if (layout.compression != kRgb) {
                return std::nullopt;
            }
            break;
        case 24:
            if (layout.compression != kRgb) return std::nullopt;
            break;
        default: return std::nullopt;
    }
    layout.stride = (size_t(layout.width) * layout.bitCount + 31) / 32 * 4;
    layout.imageBytes = layout.stride * size_t(layout.height);
    return layout;
}

std::optional<Layout> Check(const Dib& dib) {
    auto layout = ParseInfo(dib.info);
    if (!layout || dib.info.size() < layout->headerSize + layout->tableBytes ||
        dib.bits.size() < layout->imageBytes)
        return std::nullopt;
    return layout;
}

std::vector<uint8_t> Info32(int width, int height) {
    std::vector<uint8_t> info(kInfoHeaderSize + 12, 0);
    Put32(info, 0, kInfoHeaderSize);
    Put32(info, 4, uint32_t(width));
    Put32(info, 8, uint32_t(height));
    info[12] = 1;
    info[14] = 32;
    Put32(info, 16, kBitFields);
    Put32(info, 20, uint32_t(width) * 4 * uint32_t(height));
    Put32(info, 40, 0x00FF0000);
    Put32(info, 44, 0x0000FF00);
    Put32(info, 48, 0x000000FF);
    return info;
}

std::optional<Dib> FromPixels(int width, int height, std::span<const uint32_t> pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * size_t(height))
        return std::nullopt;
    Dib dib{Info32(width, height), std::vector<uint8_t>(pixels.size() * 4)};
    // Bottom-up rows, as GDI hands them out.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t value = pixels[size_t(y) * width + x] & 0xFFFFFF;
            uint8_t* at = dib.bits.data() + (size_t(height - 1 - y) * width + x) * 4;
            for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
        }
    }
    return dib;
}

std::vector<uint32_t> ToPixels(const Dib& dib) {
    const auto layout = Check(dib);
    if (!layout) return {};
    const std::span<const uint8_t> info(dib.info);
    const size_t table = layout->headerSize;
    uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (layout->bitCount == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (layout->compression == kBitFields) {
        // The masks follow a plain header, or sit at the same place inside a larger one.
        if (info.size() < kInfoHeaderSize + 12) return {};
        for (int i = 0; i < 3; ++i) masks[i] = Read32(info, kInfoHeaderSize + 4 * i);
    }
    const size_t colours = layout->tableBytes / 4;
    std::vector<uint32_t> pixels(size_t(layout->width) * layout->height);
    for (int y = 0; y < layout->height; ++y) {
        const int row = layout->topDown ? y : layout->height - 1 - y;
        const uint8_t* bits = dib.bits.data() + size_t(row) * layout->stride;
        for (int x = 0; x < layout->width; ++x) {
            uint32_t value = 0;
            switch (layout->bitCount) {
                case 1:
                case 4:
                case 8: {
                    const int per = 8 / layout->bitCount;
                    const int shift = 8 - layout->bitCount * (x % per + 1);
                    const size_t index = (bits[x / per] >> shift) & ((1 << layout->bitCount) - 1);
                    value = index < colours ? Read32(info, table + 4 * index) & 0xFFFFFF : 0;
                    break;
                }
                case 16:
                case 32: {
                    const uint32_t raw =
                        layout->bitCount == 16
                            ? uint32_t(Read16(dib.bits, (bits - dib.bits.data()) + 2 * x))
                            : Read32(dib.bits, (bits - dib.bits.data()) + 4 * x);
                    value = Channel(raw, masks[0]) << 16 | Channel(raw, masks[1]) << 8 |
                            Channel(raw, masks[2]);
                    break;
                }
                case 24:
                    value = uint32_t(bits[3 * x]) | uint32_t(bits[3 * x + 1]) << 8 |
                            uint32_t(bits[3 * x + 2]) << 16;
                    break;
            }
            pixels[size_t(y) * layout->width + x] = value;
        }
    }
    return pixels;
}

}  // namespace wlk::platform::dib

#include "history/item_compare.h"

namespace wlk::history {

namespace {

uint16_t Unit(const uint8_t* data, size_t blockSize, size_t index) {
    const size_t at = 2 * index;
    if (at + 1 >= blockSize) return 0;
    return uint16_t(data[at] | data[at + 1] << 8);
}

// FNV-1a, 64 bits.
constexpr uint64_t kOffset = 14695981039346656037ull;
constexpr uint64_t kPrime = 1099511628211ull;

uint64_t Mix(uint64_t hash, uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        hash ^= (value >> (8 * i)) & 0xFF;
        hash *= kPrime;
    }
    return hash;
}

bool SameBitmap(const platform::Bitmap* a, const platform::Bitmap* b) {
    if (!a || !b) return false;
    // The size and depth first: reading the bits costs a copy of the picture.
    if (a->Width() != b->Width() || a->Height() != b->Height() ||
        a->BitsPerPixel() != b->BitsPerPixel())
        return false;
    const auto da = a->GetDib();
    if (!da) return false;
    const auto db = b->GetDib();
    return db && *da == *db;
}

}  // namespace

bool SameContent(const CCHItem& a, const CCHItem& b) {
    if (a.Type() != b.Type()) return false;
    switch (a.Type()) {
        case CHT_QUIRENOTE: return false;
        case CHT_BITMAP: return SameBitmap(a.Bitmap(), b.Bitmap());
        default: {
            if (!a.Data() || !b.Data()) return false;
            const size_t sizeA = a.Size() + 2, sizeB = b.Size() + 2;
            for (size_t i = 0;; ++i) {
                const uint16_t ua = Unit(a.Data(), sizeA, i), ub = Unit(b.Data(), sizeB, i);
                if (ua != ub) return false;
                if (ua == 0) return true;
            }
        }
    }
}

std::optional<uint64_t> ContentHash(const CCHItem& item) {
    uint64_t hash = Mix(kOffset, uint64_t(item.Type()));
    switch (item.Type()) {
        case CHT_QUIRENOTE: return std::nullopt;
        case CHT_BITMAP: {
            const platform::Bitmap* bitmap = item.Bitmap();
            if (!bitmap) return std::nullopt;
            hash = Mix(hash, uint64_t(uint32_t(bitmap->Width())));
            hash = Mix(hash, uint64_t(uint32_t(bitmap->Height())));
            return Mix(hash, uint64_t(uint32_t(bitmap->BitsPerPixel())));
        }
        default: {
            if (!item.Data()) return std::nullopt;
            const size_t size = item.Size() + 2;
            for (size_t i = 0;; ++i) {
                const uint16_t unit = Unit(item.Data(), size, i);
                if (unit == 0) return hash;
                hash = (hash ^ unit) * kPrime;
            }
        }
    }
}

}  // namespace wlk::history

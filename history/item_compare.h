// When two history items hold the same copy: the duplicate rule of the queue,
// and a hash that agrees with it for looking duplicates up among many.
#pragma once

#include <cstdint>
#include <optional>

#include "history/ch_item.h"

namespace wlk::history {

// Same primary type and: for bitmaps the same header and pixels; for
// Quirenote data never; for the rest the data as 16-bit units up to the first
// zero unit (for text, the terminated strings, letter case significant).
bool SameContent(const CCHItem& a, const CCHItem& b);

// Equal for any two items SameContent finds the same; nothing for an item
// that is never the same as another. Reads no bitmap bits.
std::optional<uint64_t> ContentHash(const CCHItem& item);

}  // namespace wlk::history

// The BMP file of a bitmap item: the same file a user gets from "Save…".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/bitmap.h"

namespace wlk::history {

// "BM", file size and bit offset, then the DIB's header, table and bits.
std::string EncodeBmp(const platform::Dib& dib);
// Nothing when the file is not a whole BMP that a bitmap can be made from.
std::optional<platform::Dib> DecodeBmp(std::string_view file);

}  // namespace wlk::history

// Raw deflate (no zlib or gzip wrapper) of a block of bytes, as a ZIP entry
// holds it; zlib does the work.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wlk::info {

// The block compressed at zlib's default level; nothing when zlib fails.
std::optional<std::string> RawDeflate(std::string_view data);

// zlib's CRC-32 of the block.
uint32_t Crc32(std::string_view data);

}  // namespace wlk::info

#include "info/raw_deflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

namespace wlk::info {

namespace {

// zlib counts in uInt; larger blocks go in steps of this size.
constexpr size_t kStep = 1u << 30;
constexpr size_t kOutChunk = 1u << 16;
// A negative window size asks for raw deflate data.
constexpr int kRawWindowBits = -15;
constexpr int kMemLevel = 8;

}  // namespace

std::optional<std::string> RawDeflate(std::string_view data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawWindowBits, kMemLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    std::string out;
    std::string chunk(kOutChunk, '\0');
    size_t fed = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        if (stream.avail_in == 0) {
            const size_t step = std::min(kStep, data.size() - fed);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + fed));
            stream.avail_in = uInt(step);
            fed += step;
        }
        stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
        stream.avail_out = uInt(chunk.size());
        result = deflate(&stream, fed == data.size() ? Z_FINISH : Z_NO_FLUSH);
        out.append(chunk.data(), chunk.size() - stream.avail_out);
        // Z_BUF_ERROR only says that no progress was possible in this call.
        if (result == Z_BUF_ERROR) result = Z_OK;
    }
    deflateEnd(&stream);
    if (result != Z_STREAM_END) return std::nullopt;
    return out;
}

uint32_t Crc32(std::string_view data) {
    uLong crc = crc32(0L, Z_NULL, 0);
    size_t done = 0;
    while (done < data.size()) {
        const size_t step = std::min(kStep, data.size() - done);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data() + done), uInt(step));
        done += step;
    }
    return uint32_t(crc);
}

}  // namespace wlk::info

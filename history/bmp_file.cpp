#include "history/bmp_file.h"

namespace wlk::history {

namespace {

constexpr size_t kFileHeaderSize = 14;

void Put16(std::string& out, uint32_t value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint32_t Read32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + i]);
    return value;
}

}  // namespace

std::string EncodeBmp(const platform::Dib& dib) {
    const size_t offset = kFileHeaderSize + dib.info.size();
    std::string out;
    out.reserve(offset + dib.bits.size());
    out += "BM";
    Put32(out, uint32_t(offset + dib.bits.size()));
    Put32(out, 0);  // two reserved words
    Put32(out, uint32_t(offset));
    out.append(dib.info.begin(), dib.info.end());
    out.append(dib.bits.begin(), dib.bits.end());
    return out;
}

std::optional<platform::Dib> DecodeBmp(std::string_view file) {
    if (file.size() < kFileHeaderSize + platform::dib::kInfoHeaderSize || file[0] != 'B' ||
        file[1] != 'M')
        return std::nullopt;
    const auto* start = reinterpret_cast<const uint8_t*>(file.data());
    const auto layout = platform::dib::ParseInfo(
        std::span<const uint8_t>(start + kFileHeaderSize, file.size() - kFileHeaderSize));
    if (!layout) return std::nullopt;
    const size_t infoEnd = kFileHeaderSize + layout->headerSize + layout->tableBytes;
    const size_t offset = Read32(file, 10);
    // A file cut short (a full disk, a crash while writing) has fewer bits than its rows need.
    if (offset < infoEnd || offset > file.size() || file.size() - offset < layout->imageBytes)
        return std::nullopt;
    // Sizes the headers claim (0: not given) beyond the file: cut short, or not a BMP at all.
    const size_t fileSize = Read32(file, 2);
    const size_t imageSize = Read32(file, kFileHeaderSize + 20);
    if (fileSize > file.size() || imageSize > file.size() - offset) return std::nullopt;
    platform::Dib dib;
    dib.info.assign(start + kFileHeaderSize, start + infoEnd);
    dib.bits.assign(start + offset, start + offset + layout->imageBytes);
    return dib;
}

}  // namespace wlk::history

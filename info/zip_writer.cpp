#include "info/zip_writer.h"

#include <cstdint>

#include "info/raw_deflate.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::info {

namespace {

constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint16_t kVersionNeeded = 20;  // 2.0: deflate
// Made by 2.0 on MS-DOS/Windows (host 0), so the attributes are DOS ones.
constexpr uint16_t kVersionMadeBy = 20;
constexpr uint16_t kFlagUtf8Names = 1u << 11;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint32_t kDosArchiveAttribute = 0x20;
constexpr uint64_t kLimit = 0xFFFFFFFFull;  // beyond this, ZIP64 would be needed
constexpr size_t kMaxEntries = 0xFFFF;

void Put16(std::string& out, uint16_t value) {
    out += char(value & 0xFF);
    out += char(value >> 8);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, uint16_t(value & 0xFFFF));
    Put16(out, uint16_t(value >> 16));
}

// MS-DOS time and date: seconds in two-second steps, years from 1980.
uint16_t DosTime(const platform::LocalTime& t) {
    return uint16_t(t.hour << 11 | t.minute << 5 | t.second / 2);
}

uint16_t DosDate(const platform::LocalTime& t) {
    const int year = t.year < 1980 ? 0 : t.year - 1980;
    return uint16_t(year << 9 | t.month << 5 | t.day);
}

// What the local header and the central directory both say about an entry.
struct EntryFacts {
    std::string name;  // UTF-8
    uint16_t method = kMethodStored;
    uint32_t crc = 0;
    uint32_t packedSize = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
};

void PutCommonFields(std::string& out, const EntryFacts& e, uint16_t time, uint16_t date) {
    Put16(out, kVersionNeeded);
    Put16(out, kFlagUtf8Names);
    Put16(out, e.method);
    Put16(out, time);
    Put16(out, date);
    Put32(out, e.crc);
    Put32(out, e.packedSize);
    Put32(out, e.size);
    Put16(out, uint16_t(e.name.size()));
    Put16(out, 0);  // no extra field
}

void PutCentralHeader(std::string& out, const EntryFacts& e, uint16_t time, uint16_t date) {
    Put32(out, kCentralHeaderSignature);
    Put16(out, kVersionMadeBy);
    PutCommonFields(out, e, time, date);
    Put16(out, 0);  // comment length
    Put16(out, 0);  // disk number
    Put16(out, 0);  // internal attributes
    Put32(out, kDosArchiveAttribute);
    Put32(out, e.offset);
    out += e.name;
}

void PutEndRecord(std::string& out, size_t count, uint32_t directorySize,
                  uint32_t directoryOffset) {
    Put32(out, kEndSignature);
    Put16(out, 0);  // this disk
    Put16(out, 0);  // the disk the directory starts on
    Put16(out, uint16_t(count));
    Put16(out, uint16_t(count));
    Put32(out, directorySize);
    Put32(out, directoryOffset);
    Put16(out, 0);  // comment length
}

// Appends one entry's local header and data; false when it would not fit.
bool PutEntry(std::string& out, const ZipEntry& entry, EntryFacts& e, uint16_t time,
              uint16_t date) {
    if (entry.data.size() >= kLimit || out.size() >= kLimit) return false;
    e.name = ToUtf8(entry.name);
    if (e.name.size() > 0xFFFF) return false;
    e.size = uint32_t(entry.data.size());
    e.crc = Crc32(entry.data);
    e.offset = uint32_t(out.size());
    std::optional<std::string> packed = RawDeflate(entry.data);
    if (!packed) return false;
    const bool deflated = packed->size() < entry.data.size();
    const std::string_view body = deflated ? std::string_view(*packed) : entry.data;
    e.method = deflated ? kMethodDeflated : kMethodStored;
    e.packedSize = uint32_t(body.size());
    Put32(out, kLocalHeaderSignature);
    PutCommonFields(out, e, time, date);
    out += e.name;
    out += body;
    return true;
}

// The bytes go to a temporary name beside `path`, which one replacing move
// then puts in place. Unlike the phrase files, the archive stays the user's
// own: it is made with the default security.
bool WriteReplacing(const Text& path, const std::string& bytes) {
    auto& files = platform::Current().files;
    const Text temp = path + u".tmp";
    files.DeleteFile(temp);
    auto file = files.CreateNew(temp, platform::Security::Default);
    if (!file) return false;
    const bool written = file->Write(bytes.data(), bytes.size());
    file.reset();  // closed, or the move would meet a sharing violation
    if (written && files.Replace(temp, path)) return true;
    log::EventLog::Instance().WriteError(
        Format(u"Cannot write %s, code %d", {path, ToText(files.LastError())}));
    files.DeleteFile(temp);
    return false;
}

}  // namespace

std::optional<std::string> BuildZip(const std::vector<ZipEntry>& entries,
                                    const platform::LocalTime& time) {
    if (entries.size() > kMaxEntries) return std::nullopt;
    const uint16_t dosTime = DosTime(time), dosDate = DosDate(time);
    std::string out;
    std::vector<EntryFacts> facts(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        if (!PutEntry(out, entries[i], facts[i], dosTime, dosDate)) return std::nullopt;
    const size_t directoryOffset = out.size();
    for (const EntryFacts& e : facts) PutCentralHeader(out, e, dosTime, dosDate);
    if (out.size() >= kLimit) return std::nullopt;
    PutEndRecord(out, facts.size(), uint32_t(out.size() - directoryOffset),
                 uint32_t(directoryOffset));
    return out;
}

bool WriteZipFile(const Text& path, const std::vector<ZipEntry>& entries,
                  const platform::LocalTime& time) {
    std::optional<std::string> archive = BuildZip(entries, time);
    if (!archive) {
        log::EventLog::Instance().WriteError(u"Cannot build the archive " + path);
        return false;
    }
    return WriteReplacing(path, *archive);
}

}  // namespace wlk::info

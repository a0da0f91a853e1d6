#include "history/item_files.h"

#include <utility>

#include "history/bmp_file.h"
#include "history/clipboard_capture.h"
#include "history/history_time.h"
#include "history/info_file.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {

// Another instance may take a free name between our look and our create.
constexpr int kCreateAttempts = 16;

// What a data file holds; empty when there is nothing to write.
std::string FileBytes(const CCHItem& item) {
    if (item.Type() == CHT_BITMAP) {
        const auto dib = item.Bitmap() ? item.Bitmap()->GetDib() : std::nullopt;
        return dib ? EncodeBmp(*dib) : std::string();
    }
    if (!item.Data() || item.Size() == 0) return {};
    std::string bytes;
    if (item.Type() == CHT_TEXT_UNICODE) bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(item.Data()), item.Size());
    return bytes;
}

// Creates a new file of the pattern's first free name, never over an existing
// one; the name, or empty on failure.
Text WriteNewFile(const Text& folder, const NamePattern& pattern, const std::string& bytes,
                  NameAllocator& names) {
    auto& files = platform::Current().files;
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const Text name = names.Next(pattern);
        if (name.empty()) return {};
        auto file = files.CreateNew(folder + name, platform::Security::Default);
        if (!file) {
            if (files.Kind(folder + name) == platform::PathKind::Missing) return {};
            names.Taken(pattern);  // by another saver, or before this save: look again
            continue;
        }
        if (!file->Write(bytes.data(), bytes.size())) {
            file.reset();
            files.DeleteFile(folder + name);
            return {};
        }
        return name;
    }
    return {};
}

// Times and the read-only mark of a data file just written.
void FinishDataFile(const Text& path, const CCHItem& item) {
    auto& files = platform::Current().files;
    if (const uint64_t time = ToFileTime(item.time)) files.SetCreationTime(path, time);
    if (item.isProtected) files.SetReadOnly(path, true);
}

// Takes a new info file name with CREATE_NEW, so that two savers never share one.
Text ClaimInfoFile(const Text& folder, NameAllocator& names) {
    const Text name = WriteNewFile(folder, kInfoPattern, std::string(), names);
    return name.empty() ? Text() : folder + name;
}

// A text file ends with its terminating NUL; without it the file was cut short.
bool IsWhole(ChType type, const std::string& bytes) {
    if (bytes.empty()) return false;
    switch (type) {
        case CHT_TEXT_UNICODE:
            return bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes[bytes.size() - 1] == 0 &&
                   bytes[bytes.size() - 2] == 0;
        case CHT_TEXT_ANSI:
        case CHT_RTF:
        case CHT_HTML: return bytes.back() == 0;
        default: return true;
    }
}

// The info file of a saved item. One written before is replaced in one step
// by a file written whole beside it, so that a full disk leaves the earlier
// state loadable; a new one, claimed empty, is written in place.
bool WriteItemInfo(const CCHItem& item, const std::vector<Text>& names, bool rewrite) {
    if (!rewrite) return WriteInfo(item.infoPath, item.Type(), item.isProtected, names);
    auto& files = platform::Current().files;
    const Text temporary = item.infoPath + u".new";
    RemoveHistoryFile(temporary);  // left by a run that ended halfway
    if (WriteInfo(temporary, item.Type(), item.isProtected, names)) {
        files.SetReadOnly(item.infoPath, false);
        if (files.Replace(temporary, item.infoPath)) return true;
    }
    RemoveHistoryFile(temporary);
    return false;
}

void LogSkipped(const Text& what, const Text& why) {
    log::EventLog::Instance().Write(u"Clipboard history: skipped " + what + u": " + why);
}

// Far more than the longest info file this program writes; the profile
// functions read a whole file into memory.
constexpr uint64_t kMaxInfoBytes = 64 * 1024;

Text Bytes(uint64_t count) {
    return u"(" + ToText(static_cast<long long>(count)) + u" bytes)";
}

// Why `size` more bytes do not fit an item whose other files took `used`
// bytes; empty when they fit. No copy brought more than the capture limit.
Text Oversize(uint64_t size, uint64_t used) {
    if (size > kMaxItemFileBytes) return u"data file too large " + Bytes(size);
    if (used + size > kMaxItemFileBytes) return u"formats too large together " + Bytes(used + size);
    return {};
}

// An item of `type` from a data file's bytes; null when they are not one.
std::unique_ptr<CCHItem> ItemOf(ChType type, const std::string& bytes) {
    auto item = std::make_unique<CCHItem>(type);
    if (type == CHT_BITMAP) {
        const auto dib = DecodeBmp(bytes);
        auto bitmap = dib ? platform::Current().bitmaps.FromDib(*dib) : nullptr;
        if (!bitmap) return nullptr;
        item->SetBitmap(std::move(bitmap));
        return item;
    }
    // The byte order mark belongs to the file, not to the text: without it a
    // loaded text equals a new copy of the same text.
    const size_t skip = type == CHT_TEXT_UNICODE && bytes.starts_with("\xFF\xFE") ? 2 : 0;
    if (!item->SetData(bytes.data() + skip, bytes.size() - skip)) return nullptr;
    return item;
}

// One data file as an item, with the bytes it took, or why it is left out.
struct DataFile {
    std::unique_ptr<CCHItem> item;
    uint64_t bytes = 0;
    Text why;
};

DataFile LeftOut(Text why) {
    DataFile file;
    file.why = std::move(why);
    return file;
}

// The data file at `path`, weighed by `sizes` before it is read, for an item
// whose other files took `used` bytes.
DataFile ReadDataFile(const Text& path, const FileSizes& sizes, uint64_t used) {
    const Text name = FileNameOf(path);
    const auto size = sizes.find(ToLower(name));
    if (size == sizes.end()) return LeftOut(u"data file missing or unreadable");
    if (Text why = Oversize(size->second, used); !why.empty()) return LeftOut(why);
    auto& files = platform::Current().files;
    const auto bytes = files.ReadAll(path);
    if (!bytes) return LeftOut(u"data file missing or unreadable");
    // Grown since the folder was listed: the limit holds for what was read.
    if (Text why = Oversize(bytes->size(), used); !why.empty()) return LeftOut(why);
    const ChType type = TypeFromFileName(name);
    auto item = IsWhole(type, *bytes) ? ItemOf(type, *bytes) : nullptr;
    if (!item) {
        return LeftOut(type == CHT_BITMAP ? u"data file not a whole bitmap"
                                          : u"data file empty or cut short");
    }
    item->isProtected = files.IsReadOnly(path);
    if (const auto created = files.CreationTime(path); created && *created)
        item->time = FromFileTime(*created);
    item->dataPath = path;
    item->saved = SavedState::Loaded;
    return {std::move(item), bytes->size(), {}};
}

DataFile ReadNamedFile(const Text& folder, const Text& name, const FileSizes& sizes,
                       uint64_t used) {
    if (!IsPlainFileName(name)) return LeftOut(u"data file outside the folder");
    return ReadDataFile(folder + name, sizes, used);
}

FileSizes SizesOfFolder(const Text& folder, const Text& pattern) {
    return SizesOf(platform::Current().files.List(folder, pattern));
}

}  // namespace

bool SaveItem(const Text& folder, CCHItem& item) {
    NameAllocator names(folder);
    return SaveItem(folder, item, names);
}

bool SaveItem(const Text& folder, CCHItem& item, NameAllocator& names) {
    auto& files = platform::Current().files;
    const std::string primary = FileBytes(item);
    if (primary.empty()) return false;
    const Text primaryName = WriteNewFile(folder, DataFilePattern(item.Type()), primary, names);
    if (primaryName.empty()) return false;
    item.dataPath = folder + primaryName;
    FinishDataFile(item.dataPath, item);

    // A changed item written before keeps its info file.
    const bool rewrite =
        !item.infoPath.empty() && files.Kind(item.infoPath) == platform::PathKind::File;
    if (!rewrite) item.infoPath = ClaimInfoFile(folder, names);
    if (item.infoPath.empty()) {
        // A data file no info file names would never load: take it back and retry later.
        RemoveHistoryFile(item.dataPath);
        item.dataPath.clear();
        return false;
    }

    std::vector<Text> written{primaryName};
    std::vector<CCHItem*> writtenFormats;
    for (auto& format : item.formats) {
        if (!format) continue;
        const std::string bytes = FileBytes(*format);
        if (bytes.empty()) continue;
        const Text name = WriteNewFile(folder, DataFilePattern(format->Type()), bytes, names);
        if (name.empty()) continue;
        format->dataPath = folder + name;
        FinishDataFile(format->dataPath, item);
        written.push_back(name);
        writtenFormats.push_back(format.get());
    }
    if (!WriteItemInfo(item, written, rewrite)) {
        // Nothing of this state stays behind: it is tried again on the next save.
        RemoveHistoryFile(std::exchange(item.dataPath, Text()));
        for (CCHItem* format : writtenFormats)
            RemoveHistoryFile(std::exchange(format->dataPath, Text()));
        if (!rewrite) RemoveHistoryFile(std::exchange(item.infoPath, Text()));
        return false;
    }
    if (const uint64_t time = ToFileTime(item.time)) files.SetCreationTime(item.infoPath, time);
    // A new info file, or one just replaced, is writable.
    if (item.isProtected) files.SetReadOnly(item.infoPath, true);
    return true;
}

FileSizes SizesOf(const std::vector<platform::DirEntry>& entries) {
    FileSizes sizes;
    for (const auto& entry : entries)
        if (!entry.directory) sizes.emplace(ToLower(entry.name), entry.size);
    return sizes;
}

std::unique_ptr<CCHItem> LoadItemFile(const Text& path) {
    const Text name = FileNameOf(path);
    const Text folder = path.substr(0, path.size() - name.size());
    return ReadDataFile(path, SizesOfFolder(folder, name), 0).item;
}

std::unique_ptr<CCHItem> LoadInfoItem(const Text& folder, const Text& infoName) {
    return LoadInfoItem(folder, infoName, SizesOfFolder(folder, u"*"));
}

std::unique_ptr<CCHItem> LoadInfoItem(const Text& folder, const Text& infoName,
                                      const FileSizes& sizes) {
    const auto infoSize = sizes.find(ToLower(infoName));
    if (infoSize != sizes.end() && infoSize->second > kMaxInfoBytes) {
        LogSkipped(infoName, u"info file too large " + Bytes(infoSize->second));
        return nullptr;
    }
    const InfoContent info = ReadInfo(folder + infoName);
    if (info.files.empty()) {
        LogSkipped(infoName, u"no data file named");
        return nullptr;
    }
    DataFile primary = ReadNamedFile(folder, info.files[0], sizes, 0);
    if (!primary.item) {
        LogSkipped(infoName, primary.why + u": " + info.files[0]);
        return nullptr;
    }
    auto item = std::move(primary.item);
    item->infoPath = folder + infoName;
    uint64_t used = primary.bytes;
    for (size_t i = 1; i < info.files.size(); ++i) {
        DataFile format = ReadNamedFile(folder, info.files[i], sizes, used);
        if (!format.item) {
            LogSkipped(u"a format of " + infoName, format.why + u": " + info.files[i]);
            continue;
        }
        used += format.bytes;
        item->formats.push_back(std::move(format.item));
    }
    if (info.isProtected) item->isProtected = true;
    return item;
}

}  // namespace wlk::history

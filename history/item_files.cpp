#include "history/item_files.h"

#include <utility>

#include "history/bmp_file.h"
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

void LogSkipped(const Text& infoName, const Text& why) {
    log::EventLog::Instance().Write(u"Clipboard history: skipped " + infoName + u": " + why);
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

std::unique_ptr<CCHItem> LoadItemFile(const Text& path) {
    auto& files = platform::Current().files;
    const auto bytes = files.ReadAll(path);
    if (!bytes || bytes->empty()) return nullptr;
    const ChType type = TypeFromFileName(FileNameOf(path));
    if (!IsWhole(type, *bytes)) return nullptr;
    auto item = std::make_unique<CCHItem>(type);
    if (type == CHT_BITMAP) {
        const auto dib = DecodeBmp(*bytes);
        auto bitmap = dib ? platform::Current().bitmaps.FromDib(*dib) : nullptr;
        if (!bitmap) return nullptr;
        item->SetBitmap(std::move(bitmap));
    } else {
        // The byte order mark belongs to the file, not to the text: without
        // it a loaded text equals a new copy of the same text.
        const size_t skip = type == CHT_TEXT_UNICODE && bytes->starts_with("\xFF\xFE") ? 2 : 0;
        if (!item->SetData(bytes->data() + skip, bytes->size() - skip)) return nullptr;
    }
    item->isProtected = files.IsReadOnly(path);
    if (const auto created = files.CreationTime(path); created && *created)
        item->time = FromFileTime(*created);
    item->dataPath = path;
    item->saved = SavedState::Loaded;
    return item;
}

std::unique_ptr<CCHItem> LoadInfoItem(const Text& folder, const Text& infoName) {
    const InfoContent info = ReadInfo(folder + infoName);
    if (info.files.empty()) {
        LogSkipped(infoName, u"no data file named");
        return nullptr;
    }
    if (!IsPlainFileName(info.files[0])) {
        LogSkipped(infoName, u"data file outside the folder: " + info.files[0]);
        return nullptr;
    }
    auto item = LoadItemFile(folder + info.files[0]);
    if (!item) {
        LogSkipped(infoName, u"data file missing, empty or cut short: " + info.files[0]);
        return nullptr;
    }
    item->infoPath = folder + infoName;
    for (size_t i = 1; i < info.files.size(); ++i) {
        if (!IsPlainFileName(info.files[i])) continue;
        std::shared_ptr<CCHItem> format = LoadItemFile(folder + info.files[i]);
        if (format) item->formats.push_back(std::move(format));
    }
    if (info.isProtected) item->isProtected = true;
    return item;
}

}  // namespace wlk::history

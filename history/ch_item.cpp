#include "history/ch_item.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "history/history_folder.h"
#include "history/info_file.h"
#include "history/item_identity.h"
#include "history/rtf_text.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {

size_t AnsiLength(const uint8_t* data, size_t limit) {
    size_t length = 0;
    while (length < limit && data[length]) ++length;
    return length;
}

size_t UnicodeLength(const uint8_t* data, size_t limit) {
    size_t length = 0;
    while (2 * length + 1 < limit && (data[2 * length] || data[2 * length + 1])) ++length;
    return length;
}

// The files of the item's present state.
std::vector<Text> CurrentFiles(const CCHItem& item) {
    std::vector<Text> files;
    if (!item.dataPath.empty()) files.push_back(item.dataPath);
    if (!item.infoPath.empty()) files.push_back(item.infoPath);
    for (const auto& format : item.formats)
        if (format && !format->dataPath.empty()) files.push_back(format->dataPath);
    return files;
}

}  // namespace

CCHItem::CCHItem(ChType type)
    : key(NewUniqueKey()),
      id(NextItemId()),
      time(platform::Current().system.Now()),
      stamp(NextStamp()),
      type_(type) {}

CCHItem::~CCHItem() {
    FreeData();
}

bool CCHItem::SetData(const void* bytes, size_t size) {
    if (size > 0xFFFFFFF0u) return false;
    std::vector<uint8_t> block(size + 2, 0);
    if (size) std::memcpy(block.data(), bytes, size);
    data_ = std::move(block);
    size_ = uint32_t(size);
    MarkChanged();
    return true;
}

bool CCHItem::SetUnicodeText(std::u16string_view text) {
    std::vector<uint8_t> bytes((text.size() + 1) * 2, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = uint8_t(text[i] & 0xFF);
        bytes[2 * i + 1] = uint8_t(text[i] >> 8);
    }
    return SetData(bytes.data(), bytes.size());
}

bool CCHItem::SetAnsiText(std::string_view text) {
    std::string bytes(text);
    return SetData(bytes.c_str(), bytes.size() + 1);
}

void CCHItem::SetBitmap(std::unique_ptr<platform::Bitmap> bitmap, bool owns) {
    FreeData();
    bitmap_ = std::move(bitmap);
    ownsBitmap = owns;
    size_ = bitmap_ ? 4 : 0;
    MarkChanged();
}

void CCHItem::FreeData() {
    // A handle that belongs to someone else is forgotten, never deleted.
    if (!ownsBitmap) (void)bitmap_.release();
    bitmap_.reset();
    data_.clear();
    size_ = 0;
}

Text CCHItem::PlainText() const {
    if (data_.empty()) return {};
    if (type_ == CHT_TEXT_UNICODE) {
        Text text(UnicodeLength(data_.data(), data_.size()), u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = char16_t(data_[2 * i] | data_[2 * i + 1] << 8);
        return text;
    }
    if (type_ == CHT_TEXT_ANSI) {
        const size_t length = AnsiLength(data_.data(), data_.size());
        return FromLatin1(std::string_view(reinterpret_cast<const char*>(data_.data()), length));
    }
    return {};
}

CCHItem* CCHItem::GetFormat(ChType type) {
    if (type_ == type) return this;
    for (const auto& format : formats)
        if (format && format->type_ == type) return format.get();
    return nullptr;
}

bool CCHItem::HasHtml(bool allowPrimary) const {
    if (allowPrimary && type_ == CHT_HTML) return true;
    for (const auto& format : formats)
        if (format && format->type_ == CHT_HTML) return true;
    return false;
}

void CCHItem::MarkChanged() {
    // The info file keeps naming the old data until the new data is written.
    if (!dataPath.empty()) oldFiles.push_back(std::exchange(dataPath, Text()));
    for (auto& format : formats)
        if (format && !format->dataPath.empty())
            oldFiles.push_back(std::exchange(format->dataPath, Text()));
    saved = SavedState::NotOnDisk;
    menuCaption.clear();
    menuTooltip.clear();
    stamp = NextStamp();
}

void CCHItem::ResetSaved() {
    saved = SavedState::NotOnDisk;
    dataPath.clear();
    infoPath.clear();
    for (auto& format : formats)
        if (format) format->dataPath.clear();
    oldFiles.clear();
    stamp = NextStamp();
}

bool CCHItem::AdoptSaved(const CCHItem& copy) {
    if (copy.stamp != stamp) {
        KeepStale(copy);
        return false;
    }
    // An info file taken over from an earlier state's copy, if the save
    // chose another, names nothing of this state.
    if (!infoPath.empty() && !EqualsIgnoreCase(infoPath, copy.infoPath))
        oldFiles.push_back(infoPath);
    dataPath = copy.dataPath;
    infoPath = copy.infoPath;
    saved = SavedState::Written;
    // The writer worked on copies of the further formats; their files are
    // this item's too, so that dropping it deletes them.
    for (size_t i = 0; i < formats.size() && i < copy.formats.size(); ++i) {
        if (formats[i] && copy.formats[i] && formats[i]->type_ == copy.formats[i]->type_)
            formats[i]->dataPath = copy.formats[i]->dataPath;
    }
    RemoveOldFiles();
    return true;
}

void CCHItem::KeepStale(const CCHItem& copy) {
    auto& files = platform::Current().files;
    // Only what is still there: a name already deleted (by a Clear) may be
    // taken by another item's file before this item is saved.
    std::vector<Text> written = FilesOf(copy);
    std::erase_if(written, [&](const Text& path) {
        return path == copy.infoPath || files.Kind(path) != platform::PathKind::File;
    });
    const bool infoThere =
        !copy.infoPath.empty() && files.Kind(copy.infoPath) == platform::PathKind::File;
    const bool ownInfo = infoThere && (EqualsIgnoreCase(copy.infoPath, infoPath) ||
                                       (infoPath.empty() && saved == SavedState::NotOnDisk));
    if (!ownInfo) {
        // Another info file would load the older state as an item of its own.
        if (infoThere && !EqualsIgnoreCase(copy.infoPath, infoPath))
            written.push_back(copy.infoPath);
        RemoveFiles(written);
        return;
    }
    // The item's info file now names the older data: that stays until this
    // state is written over it.
    if (saved != SavedState::NotOnDisk) MarkChanged();
    infoPath = copy.infoPath;
    oldFiles.insert(oldFiles.end(), written.begin(), written.end());
}

void CCHItem::RemoveOldFiles() {
    const std::vector<Text> current = CurrentFiles(*this);
    // What cannot be deleted now is tried again after the next save.
    std::erase_if(oldFiles, [&](const Text& path) {
        const bool inUse = std::any_of(current.begin(), current.end(), [&](const Text& own) {
            return EqualsIgnoreCase(own, path);
        });
        return inUse || RemoveHistoryFile(path);
    });
}

void CCHItem::SetProtected(bool on) {
    if (isProtected == on) return;
    isProtected = on;
    if (saved == SavedState::NotOnDisk) return;
    auto& files = platform::Current().files;
    if (!dataPath.empty()) files.SetReadOnly(dataPath, on);
    if (!infoPath.empty()) {
        files.SetReadOnly(infoPath, false);
        WriteInfoProtected(infoPath, on);
    }
}

std::unique_ptr<CCHItem> CCHItem::Copy() const {
    auto copy = std::make_unique<CCHItem>(type_);
    if (!CopyDataTo(*copy)) return nullptr;
    copy->infoPath = infoPath;
    copy->key = key;
    copy->formats = formats;
    copy->isProtected = isProtected;
    copy->menuCaption = menuCaption;
    copy->menuTooltip = menuTooltip;
    copy->dataPath = dataPath;
    copy->id = id;
    copy->sourceUrl = sourceUrl;
    copy->saved = saved;
    copy->time = time;
    copy->locale = locale;
    copy->stamp = stamp;
    return copy;
}

bool CCHItem::CopyDataTo(CCHItem& copy) const {
    if (type_ == CHT_BITMAP) {
        if (!bitmap_) return true;
        auto bitmap = bitmap_->Copy();
        if (!bitmap) return false;
        copy.SetBitmap(std::move(bitmap));
    } else if (!data_.empty()) {
        size_t size = size_;
        if (size == 0) {
            // Data set without a size: measure it as the clipboard would.
            if (type_ == CHT_TEXT_ANSI || type_ == CHT_RTF)
                size = AnsiLength(data_.data(), data_.size());
            else if (type_ == CHT_TEXT_UNICODE)
                size = 2 * UnicodeLength(data_.data(), data_.size());
        }
        return copy.SetData(data_.data(), std::min(size, data_.size()));
    }
    return true;
}

std::unique_ptr<CCHItem> CCHItem::DetachedCopy() const {
    auto copy = Copy();
    if (!copy) return nullptr;
    for (auto& format : copy->formats) {
        if (!format) continue;
        std::shared_ptr<CCHItem> own = format->Copy();
        if (!own) return nullptr;
        format = std::move(own);
    }
    return copy;
}

Text CCHItem::Title(size_t maxChars, bool firstLine) const {
    Text text;
    switch (type_) {
        case CHT_TEXT_ANSI:
        case CHT_TEXT_UNICODE: text = PlainText(); break;
        case CHT_RTF:
            if (!data_.empty()) {
                const size_t length = AnsiLength(data_.data(), data_.size());
                text = PlainTextFromRtf(
                    std::string_view(reinterpret_cast<const char*>(data_.data()), length));
            }
            break;
        case CHT_QUIRENOTE: text = u"Quirenote Document Data"; break;
        case CHT_BITMAP: text = u"Bitmap"; break;
        default: return u"O-o-ops! Naxer!";
    }
    bool cut = false;
    if (firstLine) {
        const size_t start = text.find_first_not_of(u"\r\n\t");
        text.erase(0, start == Text::npos ? text.size() : start);
        const size_t end = text.find_first_of(u"\r\n\t");
        if (end != Text::npos && end >= 1) {
            text.resize(end);
            cut = true;
        }
    }
    if (maxChars != 0 && text.size() > maxChars) {
        text.resize(maxChars);
        cut = true;
    }
    if (cut) text += u'\u2026';
    return text;
}

std::vector<Text> FilesOf(const CCHItem& item) {
    std::vector<Text> files = CurrentFiles(item);
    files.insert(files.end(), item.oldFiles.begin(), item.oldFiles.end());
    return files;
}

void RemoveFiles(const std::vector<Text>& paths) {
    for (const Text& path : paths) {
        if (!RemoveHistoryFile(path))
            log::EventLog::Instance().Write(u"Cannot delete the: " + FileNameOf(path));
    }
}

bool RemoveHistoryFile(const Text& path) {
    auto& files = platform::Current().files;
    if (files.Kind(path) == platform::PathKind::Missing) return true;
    files.SetReadOnly(path, false);
    return files.DeleteFile(path);
}

}  // namespace wlk::history

// One clipboard history item: one copy made in any application, with every
// data format captured from it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace wlk::history {

// Stored on disk as these numbers.
enum ChType : int32_t {
    CHT_TEXT_ANSI = 0,
    CHT_TEXT_UNICODE = 1,
    CHT_RTF = 2,
    CHT_QUIRENOTE = 3,
    CHT_BITMAP = 4,
    CHT_HTML = 5,
};

enum class SavedState : int32_t {
    NotOnDisk = 0,  // new, or changed since it was written
    Loaded = 1,     // read from disk at start
    Written = 2,    // written during this run
};

class CCHItem {
public:
    // A new, empty item of `type`, with a fresh id and key and the local time.
    explicit CCHItem(ChType type);
    ~CCHItem();
    CCHItem(const CCHItem&) = delete;
    CCHItem& operator=(const CCHItem&) = delete;

    Text infoPath;
    Text key;
    // Further formats of the same copy, shared with the item's copies. Inner
    // items have none of their own.
    std::vector<std::shared_ptr<CCHItem>> formats;
    bool ownsBitmap = true;
    bool isProtected = false;
    Text menuCaption;
    Text menuTooltip;
    Text dataPath;
    uint32_t id = 0;
    Text sourceUrl;
    SavedState saved = SavedState::NotOnDisk;
    platform::LocalTime time;
    uint32_t locale = 0;
    // New with every change of the data and every loss of its files; copies
    // keep it, so a copy written on another thread shows whether the item is
    // still in the state it was written from.
    uint64_t stamp = 0;
    // Files of an earlier state still on disk: the info file may name them
    // until the current state is written, then they go. Never copied.
    std::vector<Text> oldFiles;

    ChType Type() const { return type_; }
    // Bytes of data, the terminating NUL of text included; 4 for a bitmap.
    uint32_t Size() const { return size_; }
    // The data followed by two zero bytes; null for a bitmap or an empty item.
    const uint8_t* Data() const { return data_.empty() ? nullptr : data_.data(); }
    uint8_t* MutableData() { return data_.empty() ? nullptr : data_.data(); }
    platform::Bitmap* Bitmap() const { return bitmap_.get(); }

    // Replaces the data with `size` bytes; the block always ends in two zero
    // bytes. Like every data change, it marks the item changed.
    bool SetData(const void* bytes, size_t size);
    bool SetUnicodeText(std::u16string_view text);  // with its terminating NUL
    bool SetAnsiText(std::string_view text);        // with its terminating NUL
    void SetBitmap(std::unique_ptr<platform::Bitmap> bitmap, bool owns = true);
    void FreeData();

    // The text of a UTF-16 or 8-bit text item (8-bit read as Latin-1).
    Text PlainText() const;

    // The item when its primary type is `type`, else its first further format
    // of that type, else null.
    CCHItem* GetFormat(ChType type);
    bool HasHtml(bool allowPrimary) const;

    // The data changed (the setters call it; whoever changes the data in
    // place calls it too): written anew under the same info file on the next
    // save, and the old data files go once that is done.
    void MarkChanged();
    // Not on disk any more (its files are gone or go): written anew, under a
    // new info file, on the next save.
    void ResetSaved();
    // Takes the paths of a copy that was just written, and deletes the files
    // of earlier states. A copy written from an earlier state is not taken:
    // its files stay only while the item's info file names them. True when
    // the item is now saved.
    bool AdoptSaved(const CCHItem& saved);
    // Marks the files on disk read-only or not and rewrites the info file.
    void SetProtected(bool on);

    // An independent copy with the same id, key, paths and state; further
    // formats shared.
    std::unique_ptr<CCHItem> Copy() const;
    // As Copy, but with copies of the further formats too, for another thread
    // to write paths into while this item stays in use here.
    std::unique_ptr<CCHItem> DetachedCopy() const;

    // The text shown for the item: at most `maxChars` characters (0: all),
    // with `firstLine` only the first non-empty line.
    Text Title(size_t maxChars, bool firstLine) const;

private:
    bool CopyDataTo(CCHItem& copy) const;
    void KeepStale(const CCHItem& copy);
    void RemoveOldFiles();

    ChType type_;
    std::vector<uint8_t> data_;
    uint32_t size_ = 0;
    std::unique_ptr<platform::Bitmap> bitmap_;
};

// Every file of an item on disk: its data file, info file, the data files
// of its further formats and the files of its earlier states.
std::vector<Text> FilesOf(const CCHItem& item);
// Deletes them; a file that cannot be deleted is logged.
void RemoveFiles(const std::vector<Text>& paths);

// Deletes a file, clearing its read-only attribute first; true when it is gone.
bool RemoveHistoryFile(const Text& path);

}  // namespace wlk::history

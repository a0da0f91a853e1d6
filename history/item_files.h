// One item on disk: a data file per format and the item's ".info" file.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "history/ch_item.h"
#include "history/clipboard_capture.h"
#include "history/history_folder.h"
#include "platform/files.h"
#include "platform/types.h"

namespace wlk::history {

// Writes `item` with its further formats into `folder` (ending with a
// backslash) and records the paths in the item and its formats. False when
// the primary data file or the info file could not be written whole; the
// item then stays unsaved and nothing of this attempt stays on disk.
bool SaveItem(const Text& folder, CCHItem& item, NameAllocator& names);
bool SaveItem(const Text& folder, CCHItem& item);

// Sizes of a folder's files by lower-case name, from its listing: anyone can
// put a file of any size there, so each one is weighed before it is read.
using FileSizes = std::unordered_map<Text, uint64_t>;
FileSizes SizesOf(const std::vector<platform::DirEntry>& entries);

// The most a load reads for one item: what a copy may bring (kMaxCaptureBytes)
// and its files' framing: a byte-order mark, a BMP's headers and colour table.
inline constexpr uint64_t kMaxItemFileBytes = kMaxCaptureBytes + 2048;

// A new item read from one data file, typed by its name; null when the file
// is missing, empty, shorter than it was written, not of its type, or larger
// than kMaxItemFileBytes.
std::unique_ptr<CCHItem> LoadItemFile(const Text& path);

// The item an info file in `folder` describes, with those of its further
// formats that load and fit together with it into kMaxItemFileBytes; null
// when the primary one does not. A log line names each file left out.
std::unique_ptr<CCHItem> LoadInfoItem(const Text& folder, const Text& infoName,
                                      const FileSizes& sizes);
std::unique_ptr<CCHItem> LoadInfoItem(const Text& folder, const Text& infoName);

}  // namespace wlk::history

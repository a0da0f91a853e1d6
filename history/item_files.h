// One item on disk: a data file per format and the item's ".info" file.
#pragma once

#include <memory>

#include "history/ch_item.h"
#include "history/history_folder.h"
#include "platform/types.h"

namespace wlk::history {

// Writes `item` with its further formats into `folder` (ending with a
// backslash) and records the paths in the item and its formats. False when
// the primary data file or the info file could not be written whole; the
// item then stays unsaved and nothing of this attempt stays on disk.
bool SaveItem(const Text& folder, CCHItem& item, NameAllocator& names);
bool SaveItem(const Text& folder, CCHItem& item);

// A new item read from one data file, typed by its name; null when the file
// is missing, empty, or shorter than it was written.
std::unique_ptr<CCHItem> LoadItemFile(const Text& path);

// The item an info file in `folder` describes, with its further formats;
// null (and a log line) when the info file names no loadable data file.
std::unique_ptr<CCHItem> LoadInfoItem(const Text& folder, const Text& infoName);

}  // namespace wlk::history

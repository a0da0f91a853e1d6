// Opening a clipboard-history item in a program, through a temporary file.
#pragma once

#include <cstddef>
#include <optional>

#include "history/ch_item.h"
#include "history/ch_queue.h"

namespace wlk::bridge {

// The extension of an item's temporary file; nothing for data no program opens.
std::optional<Text> TemporaryExtension(history::ChType type);

// A new name in the user's temporary folder whose file part warns the user
// that the file is temporary; empty when the system gives no name.
Text TemporaryFileName(const Text& extension);

// The item's bytes as its file holds them; nothing when it has none to write.
std::optional<std::string> TemporaryFileBytes(const history::CCHItem& item);

// Writes the item's file as Save… does (a protected item's file read-only);
// false when the item has nothing to write or the file cannot be written.
bool SaveItemFile(const history::CCHItem& item, const Text& path);

// Saves the item at `position` (from the newest) to a temporary file and opens
// it in its associated program, or else in the program the user picks. A
// Quirenote item succeeds without doing anything. The file stays afterwards:
// the program may still be reading it.
bool OpenHistoryItem(const history::CCHQueue& queue, size_t position, platform::WindowId owner,
                     bool associated);

}  // namespace wlk::bridge

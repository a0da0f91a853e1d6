// A history item back on the clipboard with every format it was captured
// with, so that a paste anywhere gets what the first copy gave.
#pragma once

#include "history/ch_item.h"

namespace wlk::history {

// Replaces the clipboard's content with the item's primary and further
// formats (a bitmap among them as CF_BITMAP); true when any was accepted.
// Marking the write as the program's own is the caller's part.
bool PutItemOnClipboard(const CCHItem& item);

}  // namespace wlk::history

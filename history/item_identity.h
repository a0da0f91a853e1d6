// Who an item is: a number for messages between windows, and a key that
// copies of the item keep.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::history {

// The next id of the process-wide counter. Items are made on the main thread
// and on the loader thread at the same time, so the counter is atomic.
uint32_t NextItemId();

// A number no other state of any item had: taken when an item is made and
// whenever its data or its place on disk is given up, so that a copy written
// on another thread can tell whether the item is still as it was copied.
uint64_t NextStamp();

// A new UUID as 32 hexadecimal digits, without "-", "{" and "}".
Text NewUniqueKey();

}  // namespace wlk::history

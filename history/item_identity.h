// Who an item is: a number for messages between windows, and a key that
// copies of the item keep.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::history {

// The next id of the process-wide counter. Items are made on the main thread
// and on the loader thread at the same time, so the counter is atomic.
uint32_t NextItemId();

// A new UUID as 32 hexadecimal digits, without "-", "{" and "}".
Text NewUniqueKey();

}  // namespace wlk::history

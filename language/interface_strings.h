// The program's user-visible texts, looked up by their number.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::language {

// The built-in English text of string `id`; empty when there is none.
Text GetString(uint32_t id);

}  // namespace wlk::language

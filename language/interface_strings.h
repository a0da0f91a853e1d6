// The program's user-visible texts, looked up by their number.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace wlk::language {

// The built-in English text of string `id`; nothing when the program has none.
std::optional<Text> EnglishString(uint32_t id);

// String `id` in the interface language: the active language file's
// translation, else the English text (which is then also listed for
// translators). Empty when the program has no string `id`.
Text GetString(uint32_t id);

}  // namespace wlk::language

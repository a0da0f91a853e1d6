// FILETIME values (100 ns ticks since 1601-01-01) and calendar dates.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace wlk::settings {

uint64_t ToFileTime(const platform::LocalTime& time);
// Fails, as FileTimeToSystemTime does, for values of 2^63 and above.
std::optional<platform::LocalTime> FromFileTime(uint64_t fileTime);

}  // namespace wlk::settings

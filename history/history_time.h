// Item times on disk: the local time written as a file time as it is, with no
// time-zone conversion in either direction.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::history {

// SystemTimeToFileTime; 0 for a time it refuses.
uint64_t ToFileTime(const platform::LocalTime& time);
// FileTimeToSystemTime, with the day of the week.
platform::LocalTime FromFileTime(uint64_t fileTime);
// Earlier by date and time of day; the day of the week plays no part.
bool Earlier(const platform::LocalTime& a, const platform::LocalTime& b);

}  // namespace wlk::history

// When the next automatic update check is due.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::web {

struct AutoCheckDelay {
    uint32_t ms;         // how long the check waits from now
    uint64_t nextCheck;  // FILETIME (UTC): the last check plus the days
    Text waitLine;       // the two lines the log gets
    Text nextLine;
};

// The next check is due the days after the last one (0 means there was none:
// 1 January 2013); when that has passed, it comes 600 seconds from now.
// Days are taken as 1 to 30.
AutoCheckDelay ComputeAutoCheckDelay(uint64_t lastCheckFileTime, int days, uint64_t nowFileTime);

}  // namespace wlk::web

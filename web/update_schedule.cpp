#include "web/update_schedule.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"
#include "settings/file_time.h"

namespace wlk::web {

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr uint64_t kTicksPerDay = 86'400 * kTicksPerSecond;
constexpr uint64_t kOverdueDelaySeconds = 600;
// A wait takes its time in a DWORD of milliseconds, and 0xFFFFFFFF means
// forever; a longer delay (only a last check dated in the future gives one:
// 30 days fit) waits as long as a wait can.
constexpr uint64_t kLongestWaitMs = 0xFFFFFFFE;

int NormalisedDays(int days) {
    return days < 1 ? 1 : std::min(days, 30);
}

// The last check plus the days, held at the largest FILETIME.
uint64_t NextCheck(uint64_t lastCheck, int days) {
    if (lastCheck == 0) lastCheck = settings::ToFileTime({.year = 2013, .month = 1, .day = 1});
    const uint64_t span = uint64_t(NormalisedDays(days)) * kTicksPerDay;
    const uint64_t most = std::numeric_limits<uint64_t>::max();
    return lastCheck > most - span ? most : lastCheck + span;
}

// Like "%.<width>d": at least `width` digits.
Text Padded(int value, size_t width) {
    Text digits = ToText(value);
    return Text(digits.size() < width ? width - digits.size() : 0, u'0') + digits;
}

Text WaitLine(uint64_t ms) {
    const uint64_t seconds = ms / 1000, minutes = seconds / 60, hours = minutes / 60;
    return Format(
        u"wait for checkupdates ms=%d sec=%d minutes=%d hour=%d days=%d",
        {ToText(ms), ToText(seconds), ToText(minutes), ToText(hours), ToText(hours / 24)});
}

Text NextLine(uint64_t nextCheck) {
    const auto t = settings::FromFileTime(nextCheck);
    if (!t) return u"Next update date: Cannot convert variant_time to system_time";
    return u"Next update date: " + Padded(t->day, 2) + u"-" + Padded(t->month, 2) + u"-" +
           Padded(t->year, 4) + u" " + Padded(t->hour, 2) + u":" + Padded(t->minute, 2) + u":" +
           Padded(t->second, 2);
}

}  // namespace

AutoCheckDelay ComputeAutoCheckDelay(uint64_t lastCheckFileTime, int days, uint64_t nowFileTime) {
    const uint64_t next = NextCheck(lastCheckFileTime, days);
    const uint64_t seconds =
        next >= nowFileTime ? (next - nowFileTime) / kTicksPerSecond : kOverdueDelaySeconds;
    const uint64_t ms = std::min(seconds * 1000, kLongestWaitMs);
    return {uint32_t(ms), next, WaitLine(ms), NextLine(next)};
}

}  // namespace wlk::web

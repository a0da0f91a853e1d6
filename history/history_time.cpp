#include "history/history_time.h"

#include <chrono>
#include <tuple>

namespace wlk::history {

namespace {

constexpr uint64_t kTicksPerMs = 10'000;
constexpr uint64_t kTicksPerDay = 86'400'000ull * kTicksPerMs;
// Days from 1601-01-01 (the file-time epoch) to 1970-01-01.
constexpr int64_t kEpochDays = 134'774;

auto Key(const platform::LocalTime& t) {
    return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds);
}

}  // namespace

uint64_t ToFileTime(const platform::LocalTime& t) {
    using namespace std::chrono;
    const year_month_day date{year(t.year), month(t.month), day(t.day)};
    if (!date.ok() || t.year < 1601 || t.year > 30827 || t.hour > 23 || t.minute > 59 ||
        t.second > 59 || t.milliseconds > 999)
        return 0;
    const int64_t days = sys_days(date).time_since_epoch().count() + kEpochDays;
    const uint64_t ms =
        ((uint64_t(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
    return uint64_t(days) * kTicksPerDay + ms * kTicksPerMs;
}

platform::LocalTime FromFileTime(uint64_t fileTime) {
    using namespace std::chrono;
    const int64_t days = int64_t(fileTime / kTicksPerDay);
    uint64_t ms = fileTime % kTicksPerDay / kTicksPerMs;
    const sys_days point{std::chrono::days(days - kEpochDays)};
    const year_month_day date{point};
    platform::LocalTime t;
    t.year = uint16_t(int(date.year()));
    t.month = uint16_t(unsigned(date.month()));
    t.day = uint16_t(unsigned(date.day()));
    t.dayOfWeek = uint16_t(weekday(point).c_encoding());
    t.milliseconds = uint16_t(ms % 1000);
    ms /= 1000;
    t.second = uint16_t(ms % 60);
    ms /= 60;
    t.minute = uint16_t(ms % 60);
    t.hour = uint16_t(ms / 60);
    return t;
}

bool Earlier(const platform::LocalTime& a, const platform::LocalTime& b) {
    return Key(a) < Key(b);
}

}  // namespace wlk::history

#include "settings/file_time.h"

namespace wlk::settings {

namespace {
constexpr uint64_t kTicksPerMs = 10'000;
constexpr uint64_t kTicksPerDay = 86'400'000ULL * kTicksPerMs;

// Days since 1601-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t daysSince1970 = era * 146097 + int64_t(doe) - 719468;
    return daysSince1970 + 134774;  // 1601-01-01 lies 134774 days before 1970-01-01
}
}  // namespace

uint64_t ToFileTime(const platform::LocalTime& t) {
    int64_t days = DaysFromCivil(t.year, t.month, t.day);
    uint64_t ms = ((uint64_t(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
    return uint64_t(days) * kTicksPerDay + ms * kTicksPerMs;
}

std::optional<platform::LocalTime> FromFileTime(uint64_t fileTime) {
    if (fileTime >= 0x8000000000000000ULL) return std::nullopt;
    int64_t days = int64_t(fileTime / kTicksPerDay);
    uint64_t msOfDay = (fileTime % kTicksPerDay) / kTicksPerMs;
    // Civil date from days since 1970-01-01.
    int64_t z = days - 134774 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    platform::LocalTime t;
    t.day = uint16_t(doy - (153 * mp + 2) / 5 + 1);
    t.month = uint16_t(mp < 10 ? mp + 3 : mp - 9);
    t.year = uint16_t(int64_t(yoe) + era * 400 + (t.month <= 2));
    t.dayOfWeek = uint16_t((days + 1) % 7);  // 1601-01-01 was a Monday
    t.hour = uint16_t(msOfDay / 3'600'000);
    t.minute = uint16_t(msOfDay / 60'000 % 60);
    t.second = uint16_t(msOfDay / 1000 % 60);
    t.milliseconds = uint16_t(msOfDay % 1000);
    return t;
}

}  // namespace wlk::settings

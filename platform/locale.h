// Locale-dependent formatting: what the macros of a phrase need to write
// dates, names and case in the target's language.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace wlk::platform {

// GetLocaleInfoW items, with the values Windows gives them. The day, month and
// abbreviated forms run on from the first one (Monday is day 1, Sunday day 7).
inline constexpr uint32_t kLocaleDayName1 = 0x2A;
inline constexpr uint32_t kLocaleAbbrevDayName1 = 0x31;
inline constexpr uint32_t kLocaleMonthName1 = 0x38;
inline constexpr uint32_t kLocaleAbbrevMonthName1 = 0x44;
inline constexpr uint32_t kLocaleIso639LangName = 0x59;

class Locale {
public:
    virtual ~Locale() = default;
    // GetDateFormatW with DATE_LONGDATE; empty on failure.
    virtual Text LongDate(uint32_t lcid, const LocalTime& time) = 0;
    // GetTimeFormatW with TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT; empty on failure.
    virtual Text Time24(uint32_t lcid, const LocalTime& time) = 0;
    // GetLocaleInfoW into at most `maxChars` characters; empty on failure.
    virtual Text Info(uint32_t lcid, uint32_t item, size_t maxChars) = 0;
    // GetUserDefaultLCID.
    virtual uint32_t UserDefaultLcid() = 0;
    // CharUpperBuffW / CharLowerBuffW: case in every script the system knows.
    virtual Text Upper(const Text& text) = 0;
    virtual Text Lower(const Text& text) = 0;
};

}  // namespace wlk::platform

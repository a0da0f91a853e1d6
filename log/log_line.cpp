#include "log/log_line.h"

#include <cstdio>

#include "platform/text.h"

namespace wlk::log {

namespace {
Text TwoDigitTriple(unsigned a, unsigned b, unsigned c, char separator) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02u%c%02u%c%02u", a % 100, separator, b % 100, separator,
                  c % 100);
    return T(buffer);
}
}  // namespace

Text ShortDate(const platform::LocalTime& t) {
    return TwoDigitTriple(t.month, t.day, t.year, '/');
}

Text ShortTime(const platform::LocalTime& t) {
    return TwoDigitTriple(t.hour, t.minute, t.second, ':');
}

Text BuildLine(const Text& tag, const Text& message, const platform::LocalTime& time) {
    Text date = ShortDate(time);
    Text clock = ShortTime(time);
    constexpr size_t kLongestStampedLine = 0x18FFF;
    if (tag.size() + message.size() + date.size() + clock.size() + 11 >= kLongestStampedLine)
        return message;
    return tag + u": [" + date + u" " + clock + u"] " + message;
}

Text BuildBatchLine(const Text& message, const platform::LocalTime& time) {
    return Text(kDefaultSourceTag) + u" [" + ShortDate(time) + u" " + ShortTime(time) + u"] " +
           message;
}

}  // namespace wlk::log

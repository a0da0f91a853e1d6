#include "phrases/macro_values.h"

#include <array>
#include <map>
#include <optional>

#include "phrases/number_words.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::phrases {

namespace {

// Names are read into buffers of 260 characters.
constexpr size_t kNameChars = 260;

platform::LocalTime Now() {
    return platform::Current().system.Now();
}

Text Padded(unsigned value, size_t digits) {
    Text text = ToText(value);
    if (text.size() < digits) text.insert(0, digits - text.size(), u'0');
    return text;
}

Text LastTwo(const Text& text) {
    return text.substr(text.size() - 2);
}

Text LongDateNoWeekDay(uint32_t lcid, const platform::LocalTime& now) {
    auto& locale = platform::Current().locale;
    Text date = locale.LongDate(lcid, now);
    for (uint32_t day = 0; day < 7; ++day) {
        const Text name = locale.Info(lcid, platform::kLocaleDayName1 + day, kNameChars);
        if (name.empty()) continue;
        for (size_t at = date.find(name); at != Text::npos; at = date.find(name, at))
            date.erase(at, name.size());
    }
    const auto trimmed = [](char16_t c) { return c == u' ' || c == u','; };
    size_t begin = 0, end = date.size();
    while (begin < end && trimmed(date[begin])) ++begin;
    while (end > begin && trimmed(date[end - 1])) --end;
    return date.substr(begin, end - begin);
}

// Sunday is the seventh of the locale's day names, Monday the first.
uint32_t DayItem(uint32_t first, const platform::LocalTime& now) {
    return first + (now.dayOfWeek + 6u) % 7u;
}

Text LocaleName(uint32_t lcid, uint32_t item) {
    return platform::Current().locale.Info(lcid, item, kNameChars);
}

Text Source(const std::function<Text()>& source) {
    return source ? source() : Text();
}

Text FileVersion(int which) {
    auto& source = CurrentMacroSources().fileVersion;
    return source ? source(which) : Text();
}

// What a value may be made of.
struct In {
    const Text& selected;
    const Text& clipboard;
    uint32_t lcid;
};
using ValueFn = Text (*)(const In&);

Text DateTime(DateTimeMode mode, const In& in) {
    return FormatLocalDateTime(mode, in.lcid);
}

Text Name(uint32_t item, const In& in) {
    return LocaleName(in.lcid, item);
}

const std::map<std::u16string_view, ValueFn>& Values() {
    using platform::kLocaleAbbrevDayName1;
    using platform::kLocaleAbbrevMonthName1;
    using platform::kLocaleDayName1;
    using platform::kLocaleMonthName1;
    static const std::map<std::u16string_view, ValueFn> values = {
        {u"%CLIPBOARD_TEXT%", [](const In& in) { return in.clipboard; }},
        {u"%DATE%", [](const In& in) { return DateTime(DateTimeMode::Date, in); }},
        {u"%DATETIME%", [](const In& in) { return DateTime(DateTimeMode::DateAndTime, in); }},
        {u"%DATETIME_EX_WD%",
         [](const In& in) { return DateTime(DateTimeMode::DateAndTimeNoWeekDay, in); }},
        {u"%DATE_EX_WD%", [](const In& in) { return DateTime(DateTimeMode::DateNoWeekDay, in); }},
        {u"%DAY%", [](const In&) { return ToText(Now().day); }},
        {u"%DAY2%", [](const In&) { return Padded(Now().day, 2); }},
        {u"%KEYPRESS_ENTER%", [](const In&) { return Text(u"\r"); }},
        {u"%KEYPRESS_TAB%", [](const In&) { return Text(u"\t"); }},
        {u"%LOWER_SELTEXT%",
         [](const In& in) { return platform::Current().locale.Lower(in.selected); }},
        {u"%MONTHNAME%",
         [](const In& in) { return Name(kLocaleMonthName1 + Now().month - 1, in); }},
        {u"%MONTHNAME_ABBR%",
         [](const In& in) { return Name(kLocaleAbbrevMonthName1 + Now().month - 1, in); }},
        {u"%MONTHNUMBER%", [](const In&) { return ToText(Now().month); }},
        {u"%MONTHNUMBER2%", [](const In&) { return Padded(Now().month, 2); }},
        {u"%NUMBERCHARS_CLIPBOARD%", [](const In& in) { return NumbersToWords(in.clipboard); }},
        {u"%NUMBERCHARS_SELTEXT%", [](const In& in) { return NumbersToWords(in.selected); }},
        {u"%PROMPT_TEXT={}%", [](const In&) { return Text(); }},
        {u"%SELECTED_TEXT%", [](const In& in) { return in.selected; }},
        {u"%TEXT_AFTER_URL%", [](const In& in) { return ExtractUrl(in.selected, UrlPart::Rest); }},
        {u"%TIME%", [](const In& in) { return DateTime(DateTimeMode::Time, in); }},
        {u"%WLK_VERSION%", [](const In&) { return FileVersion(0); }},
        {u"%WLK_VERSION_DLL%", [](const In&) { return FileVersion(2); }},
        {u"%WLK_VERSION_EDITOR%", [](const In&) { return FileVersion(1); }},
        {u"%UPPER_SELTEXT%",
         [](const In& in) { return platform::Current().locale.Upper(in.selected); }},
        {u"%URL_FROM_CLIPBOARD%",
         [](const In& in) { return ExtractUrl(in.clipboard, UrlPart::Url); }},
        {u"%URL_FROM_SELECTED_TEXT%",
         [](const In& in) { return ExtractUrl(in.selected, UrlPart::Url); }},
        {u"%WEEKDAYNAME%", [](const In& in) { return Name(DayItem(kLocaleDayName1, Now()), in); }},
        {u"%WEEKDAYNAME_ABBR%",
         [](const In& in) { return Name(DayItem(kLocaleAbbrevDayName1, Now()), in); }},
        {u"%WINDOWS_USERNAME%",
         [](const In&) { return Source(CurrentMacroSources().userName).substr(0, 256); }},
        {u"%WINDOWS_VERSION%",
         [](const In&) { return Source(CurrentMacroSources().windowsVersion); }},
        {u"%YEAR%", [](const In&) { return Padded(Now().year, 4); }},
        {u"%YEAR2%", [](const In&) { return LastTwo(Padded(Now().year, 4)); }},
    };
    return values;
}

bool IsSeparator(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

}  // namespace

MacroSources& CurrentMacroSources() {
    static MacroSources sources;
    return sources;
}

namespace {

Text FormatDateTime(DateTimeMode mode, uint32_t lcid, const platform::LocalTime& now) {
    auto& locale = platform::Current().locale;
    switch (mode) {
        case DateTimeMode::DateAndTime:
            return locale.LongDate(lcid, now) + u" " + locale.Time24(lcid, now);
        case DateTimeMode::Date: return locale.LongDate(lcid, now);
        case DateTimeMode::Time: return locale.Time24(lcid, now);
        case DateTimeMode::DateAndTimeNoWeekDay:
            return LongDateNoWeekDay(lcid, now) + u" " + locale.Time24(lcid, now);
        case DateTimeMode::DateNoWeekDay: return LongDateNoWeekDay(lcid, now);
    }
    return Text();
}

bool SameSecond(const platform::LocalTime& a, const platform::LocalTime& b) {
    return a.second == b.second && a.minute == b.minute && a.hour == b.hour && a.day == b.day &&
           a.month == b.month && a.year == b.year;
}

}  // namespace

// A menu previews every phrase's date at once: the system's formatting is
// asked once per value, locale and second.
Text FormatLocalDateTime(DateTimeMode mode, uint32_t lcid) {
    struct Last {
        DateTimeMode mode;
        uint32_t lcid = 0;
        platform::LocalTime time;
        Text value;
    };
    thread_local std::optional<Last> last;
    const platform::LocalTime now = Now();
    if (!last || last->mode != mode || last->lcid != lcid || !SameSecond(last->time, now))
        last = Last{mode, lcid, now, FormatDateTime(mode, lcid, now)};
    return last->value;
}

Text ExtractUrl(const Text& text, UrlPart part) {
    size_t begin = 0;
    while (begin < text.size() && IsSeparator(text[begin])) ++begin;
    const Text trimmed = text.substr(begin);
    size_t prefix = 0;
    for (std::u16string_view scheme : {u"http://", u"https://", u"ftp://"}) {
        if (scheme.size() < trimmed.size() && StartsWithIgnoreCase(trimmed, scheme)) {
            prefix = scheme.size();
            break;
        }
    }
    if (prefix == 0) return part == UrlPart::Url ? Text() : trimmed;
    size_t end = prefix;
    while (end < trimmed.size() && !IsSeparator(trimmed[end])) ++end;
    return part == UrlPart::Url ? trimmed.substr(0, end) : trimmed.substr(end);
}

Text MacroValue(std::u16string_view name, const Text& selected, const Text& clipboard,
                uint32_t lcid) {
    const auto& values = Values();
    const auto it = values.find(name);
    return it == values.end() ? Text() : it->second(In{selected, clipboard, lcid});
}

const Text& MacroValues::Get(std::u16string_view name) {
    if (name == u"%SELECTED_TEXT%") return selected_;
    if (name == u"%CLIPBOARD_TEXT%") return clipboard_;
    for (const auto& [madeName, value] : made_)
        if (madeName == name) return value;
    return made_.emplace_back(name, MacroValue(name, selected_, clipboard_, lcid_)).second;
}

}  // namespace wlk::phrases

#include "platform/sim/sim_locale.h"

#include <array>

#include "platform/text.h"

namespace wlk::platform::sim {

namespace {

struct LocaleNames {
    uint32_t lcid;
    const char16_t* iso639;
    std::array<const char16_t*, 7> days;  // Monday first, as the locale items run
    std::array<const char16_t*, 7> daysAbbrev;
    std::array<const char16_t*, 12> months;
    std::array<const char16_t*, 12> monthsAbbrev;
    std::array<const char16_t*, 12> monthsInDate;  // Russian dates take the genitive
};

const LocaleNames kLocales[] = {
    {kLcidEnglish,
     u"en",
     {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"},
     {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"},
     {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August",
      u"September", u"October", u"November", u"December"},
     {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov",
      u"Dec"},
     {}},
    {kLcidGerman,
     u"de",
     {u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag"},
     {u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"},
     {u"Januar", u"Februar", u"März", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September",
      u"Oktober", u"November", u"Dezember"},
     {u"Jan", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov",
      u"Dez"},
     {}},
    {kLcidRussian,
     u"ru",
     {u"понедельник", u"вторник", u"среда", u"четверг", u"пятница", u"суббота", u"воскресенье"},
     {u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб", u"Вс"},
     {u"Январь", u"Февраль", u"Март", u"Апрель", u"Май", u"Июнь", u"Июль", u"Август", u"Сентябрь",
      u"Октябрь", u"Ноябрь", u"Декабрь"},
     {u"янв", u"фев", u"мар", u"апр", u"май", u"июн", u"июл", u"авг", u"сен", u"окт", u"ноя",
      u"дек"},
     {u"января", u"февраля", u"марта", u"апреля", u"мая", u"июня", u"июля", u"августа", u"сентября",
      u"октября", u"ноября", u"декабря"}},
};

const LocaleNames* Find(uint32_t lcid) {
    for (const auto& names : kLocales)
        if (names.lcid == lcid) return &names;
    return nullptr;
}

bool Valid(const LocalTime& t) {
    return t.month >= 1 && t.month <= 12 && t.dayOfWeek <= 6 && t.day >= 1 && t.day <= 31;
}

// Monday is 0 in the name arrays, Sunday 6; SYSTEMTIME counts from Sunday = 0.
size_t DayIndex(const LocalTime& t) {
    return (t.dayOfWeek + 6u) % 7u;
}

Text TwoDigits(unsigned value) {
    return (value < 10 ? u"0" : u"") + ToText(value);
}

// Walks the item ranges in the order Windows numbers them.
const char16_t* Name(const LocaleNames& names, uint32_t item) {
    if (item == kLocaleIso639LangName) return names.iso639;
    if (item >= kLocaleDayName1 && item < kLocaleDayName1 + 7)
        return names.days[item - kLocaleDayName1];
    if (item >= kLocaleAbbrevDayName1 && item < kLocaleAbbrevDayName1 + 7)
        return names.daysAbbrev[item - kLocaleAbbrevDayName1];
    if (item >= kLocaleMonthName1 && item < kLocaleMonthName1 + 12)
        return names.months[item - kLocaleMonthName1];
    if (item >= kLocaleAbbrevMonthName1 && item < kLocaleAbbrevMonthName1 + 12)
        return names.monthsAbbrev[item - kLocaleAbbrevMonthName1];
    return nullptr;
}

}  // namespace

Text SimLocale::LongDate(uint32_t lcid, const LocalTime& t) {
    const LocaleNames* names = Find(lcid);
    if (!names || !Valid(t)) return Text();
    const Text day = ToText(t.day);
    const Text year = ToText(t.year);
    const Text weekDay = names->days[DayIndex(t)];
    switch (lcid) {
        case kLcidEnglish:
            return weekDay + u", " + names->months[t.month - 1] + u" " + day + u", " + year;
        case kLcidGerman:
            return weekDay + u", " + day + u". " + names->months[t.month - 1] + u" " + year;
        default: return day + u" " + names->monthsInDate[t.month - 1] + u" " + year + u" г.";
    }
}

Text SimLocale::Time24(uint32_t lcid, const LocalTime& t) {
    if (!Find(lcid)) return Text();
    // German writes the hour with two digits, the others without a leading zero.
    const Text hour = lcid == kLcidGerman ? TwoDigits(t.hour) : ToText(t.hour);
    return hour + u":" + TwoDigits(t.minute) + u":" + TwoDigits(t.second);
}

Text SimLocale::Info(uint32_t lcid, uint32_t item, size_t maxChars) {
    const LocaleNames* names = Find(lcid);
    const char16_t* name = names ? Name(*names, item) : nullptr;
    if (!name) return Text();
    Text text = name;
    return text.size() < maxChars ? text : Text();  // too small a buffer fails the call
}

Text SimLocale::Upper(const Text& text) {
    Text out = ToUpper(text);
    for (auto& c : out) {
        if (c >= 0x0430 && c <= 0x044F)
            c -= 0x20;
        else if (c >= 0x0450 && c <= 0x045F)
            c -= 0x50;
    }
    return out;
}

Text SimLocale::Lower(const Text& text) {
    Text out = ToLower(text);
    for (auto& c : out) {
        if (c >= 0x0410 && c <= 0x042F)
            c += 0x20;
        else if (c >= 0x0400 && c <= 0x040F)
            c += 0x50;
    }
    return out;
}

}  // namespace wlk::platform::sim

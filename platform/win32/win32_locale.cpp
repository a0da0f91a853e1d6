#include "platform/win32/win32_locale.h"

#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

// The formats are read into buffers of 100 characters, as the phrases have
// always been given them.
constexpr int kFormatChars = 100;

// Both the format calls return the length with the terminator, or 0 on failure.
Text FromFormatted(const wchar_t* buffer, int length) {
    return length > 0 ? FromWide(buffer, static_cast<size_t>(length - 1)) : Text();
}

}  // namespace

Text Win32Locale::LongDate(uint32_t lcid, const LocalTime& time) {
    const SYSTEMTIME st = ToSystemTime(time);
    wchar_t buffer[kFormatChars];
    return FromFormatted(buffer,
                         GetDateFormatW(lcid, DATE_LONGDATE, &st, nullptr, buffer, kFormatChars));
}

Text Win32Locale::Time24(uint32_t lcid, const LocalTime& time) {
    const SYSTEMTIME st = ToSystemTime(time);
    wchar_t buffer[kFormatChars];
    const DWORD flags = TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT;
    return FromFormatted(buffer, GetTimeFormatW(lcid, flags, &st, nullptr, buffer, kFormatChars));
}

Text Win32Locale::Info(uint32_t lcid, uint32_t item, size_t maxChars) {
    if (maxChars == 0) return Text();
    std::vector<wchar_t> buffer(maxChars);
    return FromFormatted(buffer.data(),
                         GetLocaleInfoW(lcid, item, buffer.data(), static_cast<int>(maxChars)));
}

uint32_t Win32Locale::UserDefaultLcid() {
    return GetUserDefaultLCID();
}

Text Win32Locale::Upper(const Text& text) {
    Text out = text;
    if (!out.empty())
        CharUpperBuffW(reinterpret_cast<wchar_t*>(out.data()), static_cast<DWORD>(out.size()));
    return out;
}

Text Win32Locale::Lower(const Text& text) {
    Text out = text;
    if (!out.empty())
        CharLowerBuffW(reinterpret_cast<wchar_t*>(out.data()), static_cast<DWORD>(out.size()));
    return out;
}

}  // namespace wlk::platform::win32

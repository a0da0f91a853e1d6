// The value of each fixed macro, and the helpers behind them: dates in the
// target's locale and the leading URL of a text.
#pragma once

#include <cstdint>
#include <functional>
#include <deque>
#include <string_view>
#include <utility>

#include "platform/types.h"

namespace wlk::phrases {

// Facts the portable core cannot learn itself; the program fills them at start.
// One left empty gives empty text.
struct MacroSources {
    std::function<Text()> userName;        // GetUserNameW
    std::function<Text()> windowsVersion;  // "Windows 10 64x build 19045 ..."
    // File versions: 0 this program, 1 the phrase editor, 2 the hook library.
    std::function<Text(int which)> fileVersion;
};

// The process-wide sources.
MacroSources& CurrentMacroSources();

enum class DateTimeMode {
    DateAndTime = 0,
    Date = 1,
    Time = 2,
    DateAndTimeNoWeekDay = 3,
    DateNoWeekDay = 4,
};

// The current local time in the locale's long date and 24-hour time.
Text FormatLocalDateTime(DateTimeMode mode, uint32_t lcid);

enum class UrlPart { Url, Rest };

// The leading http, https or ftp address of a text, or what follows it.
Text ExtractUrl(const Text& text, UrlPart part);

// A fixed macro's value; an unknown name (or a layout macro) gives empty text.
Text MacroValue(std::u16string_view name, const Text& selected, const Text& clipboard,
                uint32_t lcid);

// The fixed macros' values at one moment, for one selection, clipboard and
// locale: each is made when a body first asks for it and kept, so that a menu
// of thousands of phrases reads the clock and the locale once a press. The
// selection and the clipboard are referred to, not copied: they must outlive it.
class MacroValues {
public:
    MacroValues(const Text& selected, const Text& clipboard, uint32_t lcid)
        : selected_(selected), clipboard_(clipboard), lcid_(lcid) {}
    const Text& Get(std::u16string_view name);
    const Text& Selected() const { return selected_; }
    const Text& Clipboard() const { return clipboard_; }
    uint32_t Lcid() const { return lcid_; }

private:
    const Text& selected_;
    const Text& clipboard_;
    uint32_t lcid_;
    // A deque: the values handed out stay where they are as more are made.
    std::deque<std::pair<std::u16string_view, Text>> made_;
};

}  // namespace wlk::phrases

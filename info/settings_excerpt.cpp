#include "info/settings_excerpt.h"

#include <string>

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::info {

namespace {

// The settings file holds no phrase text and no copied data. "DirectoryForSave"
// is the one value it keeps from the user's own work: the folder they last
// saved a history item to, which may name a client or a project. It is left
// out; the phrases folder is in the report anyway.
constexpr const char16_t* kLeftOutKeys[] = {u"DirectoryForSave"};

Text Decode(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        Text text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        return text;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
    return platform::Current().files.AnsiText(bytes);
}

bool IsLeftOut(std::u16string_view line) {
    const size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return false;
    const Text key = Trim(line.substr(0, equals));
    for (const char16_t* leftOut : kLeftOutKeys)
        if (EqualsIgnoreCase(key, leftOut)) return true;
    return false;
}

}  // namespace

Text SettingsExcerpt(std::string_view bytes) {
    const Text text = Decode(bytes);
    Text out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == Text::npos) end = text.size();
        std::u16string_view line(text.data() + start, end - start);
        if (line.ends_with(u'\r')) line.remove_suffix(1);
        if (!IsLeftOut(line)) (out += line) += u"\r\n";
        start = end + 1;
    }
    return out;
}

}  // namespace wlk::info

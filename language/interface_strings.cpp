#include "language/interface_strings.h"

#include <algorithm>
#include <iterator>

namespace wlk::language {

namespace {
struct BuiltInString {
    uint32_t id;
    const char16_t* text;
};

constexpr BuiltInString kEnglish[] = {
#define WLK_STRING(id, text) {id, u"" text},
#include "language/english_strings.inc"
#undef WLK_STRING
};
}  // namespace

Text GetString(uint32_t id) {
    auto it = std::find_if(std::begin(kEnglish), std::end(kEnglish),
                           [id](const BuiltInString& s) { return s.id == id; });
    return it == std::end(kEnglish) ? Text() : Text(it->text);
}

}  // namespace wlk::language

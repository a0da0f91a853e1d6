#include "language/escaping.h"

namespace wlk::language {

Text Escape(std::u16string_view text) {
    Text out;
    out.reserve(text.size());
    for (char16_t c : text) {
        switch (c) {
            case u'\r': out += u"\\r"; break;
            case u'\n': out += u"\\n"; break;
            case u'\t': out += u"\\t"; break;
            default: out += c;
        }
    }
    return out;
}

Text Unescape(std::u16string_view text) {
    Text out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
        if (text[i] == u'\\' && (next == u'r' || next == u'n' || next == u't')) {
            out += next == u'r' ? u'\r' : next == u'n' ? u'\n' : u'\t';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace wlk::language

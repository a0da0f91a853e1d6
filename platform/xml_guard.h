// Guards for handing untrusted text to TinyXML, shared by every reader of
// outside XML (phrase files, queries from the interchange area).
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace wlk {

// The blanks TinyXML skips between tokens.
bool IsXmlSpace(char c);

// Well-formed UTF-8 (RFC 3629).
bool IsUtf8(std::string_view bytes);

// The text without its leading "<?xml ...?>" declaration. The declaration is
// ignored on reading; taking it out spares following TinyXML through its
// lenient reading of the declaration's attributes.
std::string WithoutDeclaration(std::string_view text);

// TinyXML parses nested elements recursively, so a text nested deeply enough
// would exhaust a thread's stack (1 MB on Windows). Texts deeper than this
// are refused; the program's own documents are nested a few levels.
inline constexpr size_t kMaxXmlNesting = 256;

// TinyXML looks each new attribute of an element up among the earlier ones,
// so their number costs its square: 200,000 attributes take minutes. No
// document of the product's gives an element more than a few dozen.
inline constexpr size_t kMaxXmlAttributes = 1024;

// How deep the elements of a document nest (a leading declaration is taken
// out first), or nothing when the document cannot be followed token by token
// as TinyXML reads it, or an element has more than kMaxXmlAttributes
// attributes; such a text is refused.
std::optional<size_t> XmlNestingDepth(std::string_view text);

// TinyXML keeps its white-space switch in one process-wide flag, while phrase
// files (blanks kept) and queries (blanks condensed) are parsed on different
// threads. Each parse holds the switch at its own value for its duration.
class TinyXmlWhiteSpace {
public:
    explicit TinyXmlWhiteSpace(bool condensed);
    ~TinyXmlWhiteSpace();
    TinyXmlWhiteSpace(const TinyXmlWhiteSpace&) = delete;
    TinyXmlWhiteSpace& operator=(const TinyXmlWhiteSpace&) = delete;

private:
    static std::mutex& Mutex();
    std::lock_guard<std::mutex> lock_;
    bool before_;
};

}  // namespace wlk

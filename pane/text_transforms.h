// UPPERCASE, Lowercase, Trim and Join on the history pane's selected items.
// Text items change here; RTF items change inside a rich-edit control, which
// the Windows side provides, so that their formatting stays.
#pragma once

#include <cstddef>
#include <vector>

#include "history/ch_queue.h"
#include "platform/types.h"

namespace wlk::pane {

enum class CaseChange { Upper, Lower };

// The rich-edit side. RTF is held as 8-bit bytes, one to a 16-bit unit.
class RtfEditor {
public:
    virtual ~RtfEditor() = default;
    // Each returns false, with `rtf` untouched, when the control cannot take it.
    virtual bool ChangeCase(Text& rtf, CaseChange change) = 0;
    // Removes blanks, CR and LF at both ends; `removed` gets how many.
    virtual bool Trim(Text& rtf, size_t& removed) = 0;
    // Replaces every "\r\n", "\n" and "\r" by a blank; `replaced` gets how many.
    virtual bool Join(Text& rtf, size_t& replaced) = 0;
};

// What a transform did: the positions of the items that changed, and the
// characters removed (Trim) or lines joined (Join).
struct TransformResult {
    std::vector<size_t> changed;
    size_t count = 0;
};

// Case of UTF-16 text through the locale's case functions, of 8-bit text
// byte by byte in the system's code page. Every changed item is marked
// changed, so that the history writes it again.
TransformResult ChangeCase(history::CCHQueue& queue, const std::vector<size_t>& positions,
                           CaseChange change, RtfEditor& rtf);
// Blanks, tabs and LF at both ends of text items (a CR stays).
TransformResult Trim(history::CCHQueue& queue, const std::vector<size_t>& positions,
                     RtfEditor& rtf);
// "\r\n" and "\n\r" become blanks in text items, which are then trimmed.
TransformResult Join(history::CCHQueue& queue, const std::vector<size_t>& positions,
                     RtfEditor& rtf);

// Whether the command applies to an item of `type`: 8-bit text, UTF-16 text, RTF.
bool Transformable(history::ChType type);

}  // namespace wlk::pane

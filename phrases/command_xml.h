// The ".wordlark" document: one phrase, or a group's "FOLDER_SELF.wordlark"
// descriptor, as UTF-8 XML. Reading and printing only; files are elsewhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "phrases/command.h"

namespace wlk::phrases {

enum class ReadOutcome {
    Phrase,      // all taken
    Unreadable,  // the file could not be opened or read
    Empty,
    TooDeep,  // nested deeply enough to exhaust the parser's stack
    NotUtf8,  // the reader was handed text that is not UTF-8
    NotXml,
    NoRoot,      // no "WLKCommand"
    NoMenuName,  // attributes taken, but no title: a descriptor, or not a phrase
};

// Why a file was not taken as a phrase, for the log.
Text DescribeReadOutcome(ReadOutcome outcome);

// Applies a UTF-8 document to `node`. The root's attributes are applied whenever the
// root is found, even when the title is missing: that is how a group takes its
// descriptor.
ReadOutcome ParseCommandXml(std::string_view bytes, CWLKCommand& node);

// The printed document, "\r\n" line breaks and four blanks a level, or nothing
// when it could not be built.
std::optional<std::string> BuildCommandXml(const CWLKCommand& node);

// The texts that an editor escaped once more than needed ("&amp;lt;") come out of
// the XML reader as "&lt;"; they are meant as the plain characters.
Text UnescapeLeftovers(Text text);

}  // namespace wlk::phrases

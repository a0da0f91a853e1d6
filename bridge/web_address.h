// Copied text never runs a program: a history item's or a selection's text is
// handed to the shell only when it is a web address.
#pragma once

#include <optional>

#include "platform/types.h"

namespace wlk::bridge {

// The address a copied text stands for, without the blanks and line breaks
// around it: http, https or ftp with a host, or mailto with a recipient, and
// no blank or control character inside. Nothing for any other text (a file,
// a folder, a program, a share, another scheme).
std::optional<Text> WebAddressOf(const Text& text);

// Opens a copied text as an address when it is one; anything else is refused
// with a line in the log and a beep.
bool OpenTextAsUrl(const Text& text, platform::WindowId owner);

}  // namespace wlk::bridge

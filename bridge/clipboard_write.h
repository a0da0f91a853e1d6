// Writing the clipboard: one text, one block of any format, a set of formats
// at once, or a bitmap. Marking the writes as the program's own is the
// caller's part: it holds the own-copy counter around the whole insertion or
// copy command, which outlasts the change notifications of these writes.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace wlk::bridge {

// Format number to a borrowed block, written in ascending format order.
using ClipboardFormats = std::map<uint32_t, std::span<const uint8_t>>;

// A locale id as the CF_LOCALE block holds it.
std::array<uint8_t, 4> LocaleBlock(uint32_t locale);

// Replaces the clipboard's content with the text (CF_UNICODETEXT, with its
// terminator) and the thread's locale (CF_LOCALE). True when the text was
// accepted.
bool SetClipboardText(const Text& text);
// The same with any format's block in place of the text.
bool SetClipboardBlock(uint32_t format, std::span<const uint8_t> data);
// Replaces the content with every block of the list; true when at least one
// was accepted. False for an empty list or a clipboard that cannot be opened.
bool SetClipboardFormats(const ClipboardFormats& formats);
// Adds a copy of the bitmap as CF_BITMAP, without emptying the clipboard.
// False for a bitmap without a size, or when the clipboard cannot be opened.
bool SetClipboardBitmap(const platform::Bitmap& bitmap);

}  // namespace wlk::bridge

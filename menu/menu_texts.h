// Fitting texts into a menu item: a title cut to its first line, and a
// shortened text that keeps both its start and its end visible.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/types.h"

namespace wlk::menu {

inline constexpr char16_t kEllipsis = u'\u2026';
// A tooltip shows this much of a text: the tip stays on the screen.
inline constexpr size_t kTooltipTextChars = 2000;

// Each occurrence of `from` replaced, left to right in one pass: the inserted
// text is not searched again. Linear, so a body of megabytes costs one copy.
Text Replaced(const Text& text, std::u16string_view from, std::u16string_view to);

// The first line of `text`, trimmed, cut to `n` characters with "…" after it
// when longer. At most n + 1 characters.
Text CutTitle(const Text& text, size_t n);

// A text of more than `n` characters on one line, its blank runs condensed,
// and when still too long its head and tail around "…", cut at word
// separators where there are any. At most n + 1 characters; a text of `n`
// characters or fewer is returned as it is.
Text ShortenText(Text text, size_t n);

// The text cut to kTooltipTextChars, with "…" when it was longer.
Text TooltipText(Text text);

}  // namespace wlk::menu

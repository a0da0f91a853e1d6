// Looking a text up with a web search engine.
#pragma once

#include <optional>

#include "platform/types.h"

namespace wlk::bridge {

// The engines by the numbers the menu and pane commands use.
enum class SearchEngine { Google = 4, Yandex = 5, Msdn = 6, Wikipedia = 7 };

// The engine's address for a text: its line breaks become blanks, and the
// query is encoded as UTF-8 so that it reaches the engine as typed. Nothing
// for an unknown engine number.
std::optional<Text> SearchAddress(const Text& text, int engine);

// Opens the search in the user's browser, failures reported in a box owned by
// `owner` (the tray window). An unknown engine number does nothing.
void WebSearch(const Text& text, int engine, platform::WindowId owner);

}  // namespace wlk::bridge

// Reading a query that the hook component left in the interchange area. The
// area can be written by any process, so the text is treated as untrusted.
#pragma once

#include <string>
#include <string_view>

#include "bridge/target_context.h"

namespace wlk::bridge {

// Fills `context` from an "LKQuery" text; false when the text is empty or has
// no "LKQuery" element. Once that element is found, whatever else is missing
// keeps its default and the query counts as read.
bool ParseQuery(std::string_view text, TargetContext& context);

// The text at the start of the named area, up to its zero byte; false (with a
// log line) when the area cannot be opened or holds no zero byte.
bool ReadQueryText(const Text& areaName, std::string& text);

// Both of the above.
bool ReadQuery(const Text& areaName, TargetContext& context);

}  // namespace wlk::bridge

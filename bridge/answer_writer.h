// Writing an answer back into the interchange area for the hook component.
#pragma once

#include <string>

#include "bridge/query_answer.h"

namespace wlk::bridge {

// The "LKAnswer" text of an answer; empty when the answer has no items.
std::string PrintAnswer(const QueryAnswer& answer);

// Copies `text` with its zero byte to the start of the named area; false when
// the text is empty or does not fit.
bool StoreAnswer(const std::string& text, const Text& areaName);

// Both of the above. The caller logs a failure: an empty answer is not one.
bool WriteAnswer(const QueryAnswer& answer, const Text& areaName);

}  // namespace wlk::bridge

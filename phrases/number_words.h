// Numbers written out in Russian words, for the macros that spell the numbers
// of the selection or the clipboard.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::phrases {

// 0 gives "ноль"; 21 gives "двадцать один", 1002 "одна тысяча два".
Text NumberToWords(uint32_t n);
// The text with each run of decimal digits replaced by its words. A run above
// 2147483647 is not a number the phrases spell and stays as it is.
Text NumbersToWords(const Text& text);

}  // namespace wlk::phrases

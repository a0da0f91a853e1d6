// Names of the Windows exception codes, for fault reports.
#pragma once

#include <cstdint>

namespace wlk::log {

// The SDK name of `code` ("EXCEPTION_ACCESS_VIOLATION", ...), or "Not found".
const char16_t* ExceptionName(uint32_t code);

}  // namespace wlk::log

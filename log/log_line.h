// How one line of the event log is put together.
#pragma once

#include "platform/types.h"

namespace wlk::log {

// The tag used when no source tag is set.
inline constexpr char16_t kDefaultSourceTag[] = u"EXE_Agent";

// The C runtime's short date "MM/DD/YY" and time "HH:MM:SS".
Text ShortDate(const platform::LocalTime& time);
Text ShortTime(const platform::LocalTime& time);

// tag + ": [" + date + " " + time + "] " + message; the message alone when the
// whole line would reach 0x18FFF characters.
Text BuildLine(const Text& tag, const Text& message, const platform::LocalTime& time);

// A line of a batch: "EXE_Agent [" + date + " " + time + "] " + message.
Text BuildBatchLine(const Text& message, const platform::LocalTime& time);

}  // namespace wlk::log

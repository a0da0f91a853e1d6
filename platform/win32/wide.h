// UTF-16 text to and from the system: char16_t and wchar_t have the same size and encoding on
// Windows.
#pragma once

#include <cstddef>
#include <cwchar>

#include "platform/types.h"

namespace wlk::platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// Text handed to a Win32 call.
inline const wchar_t* AsWide(const Text& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline Text FromWide(const wchar_t* text, size_t length) {
    return Text(reinterpret_cast<const char16_t*>(text), length);
}

inline Text FromWide(const wchar_t* text) {
    return FromWide(text, std::wcslen(text));
}

}  // namespace wlk::platform::win32

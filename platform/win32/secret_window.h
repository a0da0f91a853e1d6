// Windows whose text the program never reads, neither through the hook
// component nor by a simulated copy: password boxes, and windows that ask for
// it with the property "Wordlark_Secret" on themselves or their top-level window.
#pragma once

#include <windows.h>

namespace wlk::platform::win32 {

inline constexpr wchar_t kSecretWindowProperty[] = L"Wordlark_Secret";

bool HoldsSecret(HWND window);

}  // namespace wlk::platform::win32

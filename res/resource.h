// Numbers of the resources in wordlark.rc that the program loads by number.
#pragma once

// The tray and window icon, and the one shown while the hotkey is off.
#define IDI_WORDLARK 128
#define IDI_WORDLARK_ALT 201

// Numbers of the resources in wordlark.rc that the program loads by number.
#pragma once

// The tray and window icon, and the one shown while the hotkey is off.
#define IDI_WORDLARK 128
#define IDI_WORDLARK_ALT 201

// The phrase menu's item icons: RTF phrases, command lines, and searches.
#define IDI_ITEM_RTF 223
#define IDI_ITEM_PROGRAM 204
#define IDI_ITEM_GOOGLE 230
#define IDI_ITEM_YANDEX 231

// The tray menu; its first popup is what a click on the tray icon shows.
#define IDR_TRAY_MENU 128
// The clipboard history pane's context menu; its toolbar is named from it.
#define IDR_PANE_MENU 205

// The prompt dialog: the answer to a phrase's prompt, typed over its text.
#define IDD_PROMPT 220
#define IDC_PROMPT_TEXT 1013

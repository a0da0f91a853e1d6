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

// The update window: what a check for a new version found.
#define IDD_UPDATE 219
#define IDC_UPDATE_HEADLINE 1100
#define IDC_UPDATE_OWN_LABEL 1101
#define IDC_UPDATE_OWN 1102
#define IDC_UPDATE_WEB_LABEL 1103
#define IDC_UPDATE_WEB 1104
#define IDC_UPDATE_STATUS 1105
#define IDC_UPDATE_LAST_LABEL 1106
#define IDC_UPDATE_LAST 1107
#define IDC_UPDATE_NEXT_LABEL 1108
#define IDC_UPDATE_NEXT 1109
#define IDC_UPDATE_AUTO 1110
#define IDC_UPDATE_DAYS 1111
#define IDC_UPDATE_DOWNLOAD 1112
#define IDC_UPDATE_PORTABLE 1113
#define IDC_UPDATE_WHATS_NEW 1114
#define IDC_UPDATE_SKIP 1115
#define IDC_UPDATE_DAYS_LABEL 1116

// The About window (221).
#define IDD_ABOUT 221
#define IDC_ABOUT_NAME 1120
#define IDC_ABOUT_HOOK_LABEL 1121
#define IDC_ABOUT_HOOK 1122
#define IDC_ABOUT_EDITOR_LABEL 1123
#define IDC_ABOUT_EDITOR 1124
#define IDC_ABOUT_SETTINGS_LABEL 1125
#define IDC_ABOUT_SETTINGS 1126
#define IDC_ABOUT_PHRASES_LABEL 1127
#define IDC_ABOUT_PHRASES 1128
#define IDC_ABOUT_COPY 1129
#define IDC_ABOUT_SAVE 1130
#define IDC_ABOUT_NOTE 1131
#define IDC_ABOUT_STATUS 1132

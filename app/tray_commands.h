// Command ids of the tray menu and the tray window's private messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace wlk::app {

enum TrayCommand : uint32_t {
    kCmdEnableMenuOfPhrases = 32770,
    kCmdEditPhrases = 32772,
    kCmdStartWithWindows = 32774,
    kCmdRereadPhrases = 32775,
    kCmdHowToLocalize = 32776,
    kCmdVisitWebSite = 32781,
    kCmdVisitForum = 32782,
    kCmdEmailToUs = 32783,
    kCmdSupport = 32784,
    kCmdSavePhraseFromClipboard = 32785,
    kCmdKeepHistory = 32786,
    kCmdClearHistory = 32789,
    kCmdRssFeed = 32790,
    kCmdCheckForUpdates = 32791,
    kCmdHistoryPane = 32792,
    kCmdSaveHistoryOnExit = 32809,
    kCmdWriteLog = 32815,
    kCmdMenuOnMouseEvent = 32816,
    kCmdSounds = 32817,
    kCmdVideo = 32818,
    kCmdReKeepHistory = 32819,
    kCmdVisitQuickStart = 32823,
    kCmdVisitFaq = 32825,
    kCmdHistoryPaneOnStart = 32827,
    kCmdRunAsAdministrator = 32829,
    kCmdOpenSettingsFile = 32830,
    kCmdFacebookGroup = 32831,
    kCmdWelcome = 32832,
    kCmdShowTrayMenuAtCursor = 32833,
    kCmdRequestMenuFromPane = 32844,
    kCmdFirstLanguage = 33000,
    kCmdLastLanguage = 33049,
    kCmdFirstHistoryEntry = 34000,
    kCmdLastHistoryEntry = 34099,
    kCmdAbout = 57664,
    kCmdExit = 57665,
};

// The tray menu lists at most this many history entries, one per id of its range.
inline constexpr size_t kTrayHistoryEntries = kCmdLastHistoryEntry - kCmdFirstHistoryEntry + 1;

// The page of the product's web site that a Help or Language command opens,
// relative to the site's address; nothing for every other command.
std::optional<Text> WebPageOf(uint32_t commandId);

// One-shot timers of the tray window.
enum TrayTimer : uint32_t {
    kTimerPanePreview = 1244,
    kTimerBalloon = 1245,
    kTimerMenuFromPane = 1247,
    // While an exit waits for the open menus and dialogs to close.
    kTimerExitWait = 1249,
};

inline constexpr uint32_t kWmApp = 0x8000;
// WM_COMMAND, for the threads that send the window a menu command.
inline constexpr uint32_t kWmCommand = 0x0111;

enum TrayMessage : uint32_t {
    kMsgAddTrayIcon = kWmApp + 1,
    kMsgTrayIcon = kWmApp + 2,
    kMsgDataNeeded = kWmApp + 3,
    kMsgEditorState = kWmApp + 4,
    kMsgUpdateResult = kWmApp + 5,
    kMsgEditorEnded = kWmApp + 6,
    kMsgCaption = kWmApp + 7,
    kMsgShowHistoryPane = kWmApp + 8,
    kMsgDelayedHistory = kWmApp + 10,
    kMsgMenuHandler = kWmApp + 11,
    kMsgCommandFromSelf = kWmApp + 12,
    kMsgNoMenuOpen = kWmApp + 13,
    kMsgRefreshIcon = kWmApp + 14,
    kMsgClipboardHandler = kWmApp + 15,
    kMsgHideBalloon = kWmApp + 16,
    kMsgHideMenuTooltip = kWmApp + 17,
    kMsgQueryFailed = kWmApp + 18,
    kMsgShowTrayMenu = kWmApp + 20,
    kMsgHistoryEntryCommand = kWmApp + 21,
    kMsgLanguageChanged = kWmApp + 22,
};

}  // namespace wlk::app

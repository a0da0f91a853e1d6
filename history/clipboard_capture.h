// Reading the system clipboard into a new history item: which format becomes
// the primary one, which further formats come along, the page address of a
// web copy, and the copies that must never be recorded.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "history/ch_item.h"
#include "platform/types.h"

namespace wlk::history {

inline constexpr char16_t kRtfFormatName[] = u"Rich Text Format";
inline constexpr char16_t kHtmlFormatName[] = u"HTML Format";
inline constexpr char16_t kQuirenoteFormatName[] = u"Quirenote Format";
// Formats by which password managers and the like mark a private copy.
inline constexpr char16_t kExcludeFormatName[] = u"ExcludeClipboardContentFromMonitorProcessing";
inline constexpr char16_t kViewerIgnoreFormatName[] = u"Clipboard Viewer Ignore";
inline constexpr char16_t kCanIncludeFormatName[] = u"CanIncludeInClipboardHistory";

// A block above this size is not recorded.
inline constexpr size_t kMaxCaptureBytes = 16 * 1024 * 1024;
// Another program may hold the clipboard open for a moment: Open is retried
// this often, this far apart, and never more than the budget in one capture,
// so that the main thread is not held up for more than about 50 ms.
inline constexpr int kOpenRetries = 5;
inline constexpr uint32_t kOpenRetryDelayMs = 5;
inline constexpr int kOpenRetryBudget = 10;

// The "ClipboardFormats%d" switches; index: text 0, RTF 1, bitmap 2,
// Quirenote 3, HTML 4.
struct FormatSwitches {
    std::array<bool, 5> on{true, true, true, true, true};
    // The five settings as they are now.
    static FormatSwitches FromSettings();
    bool Allows(ChType type) const;
};

// The switch index of a primary type; text types (8-bit and UTF-16) share 0.
int FormatSwitchIndex(ChType type);

// The page address of an "HTML Format" block: the text after "SourceURL:"
// up to the first CR, LF or NUL, as UTF-8; empty when there is none.
Text SourceUrlOf(std::span<const uint8_t> html);

// The numbers of the registered formats a capture looks for. Registering is
// a round trip to the system, so a handler registers them once.
struct CaptureFormats {
    uint32_t rtf, html, quirenote, exclude, viewerIgnore, canInclude;
    static CaptureFormats Register();
};

// The clipboard's content as a new item whose primary format is the first one
// offered that is switched on and readable (a switched-off one gives way to
// the next, with a log line); null when there is none, the content is marked
// private, the primary block is too large, or the clipboard stayed held by
// another program. The clipboard is opened with `owner` once per format read.
std::unique_ptr<CCHItem> CaptureClipboard(platform::WindowId owner, const CaptureFormats& formats,
                                          const FormatSwitches& switches);

}  // namespace wlk::history

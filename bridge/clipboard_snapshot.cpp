#include "bridge/clipboard_snapshot.h"

#include <algorithm>
#include <limits>

#include "platform/clipboard.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

// Formats up to this one are the system's own and have no names.
constexpr uint32_t kLastUnnamedFormat = 14;

// Windows numbers of the formats whose data is a GDI handle.
constexpr uint32_t kGdiHandleFormats[] = {
    platform::kCfBitmap,
    3,     // CF_METAFILEPICT: global memory, but holding a metafile handle
    9,     // CF_PALETTE
    14,    // CF_ENHMETAFILE
    0x82,  // CF_DSPBITMAP
    0x83,  // CF_DSPMETAFILEPICT
    0x8E,  // CF_DSPENHMETAFILE
};
constexpr uint32_t kFirstGdiObjectFormat = 0x300;  // CF_GDIOBJFIRST
constexpr uint32_t kLastGdiObjectFormat = 0x3FF;   // CF_GDIOBJLAST

// A GDI handle is not global memory: its bytes cannot be copied, and a copy
// of the handle would dangle once the clipboard is emptied. Such formats are
// left out of the snapshot. A bitmap is not lost with them: the clipboard
// also offers it as CF_DIB, which is saved as bytes, and the system makes
// CF_BITMAP from CF_DIB again once it is put back. Any other format whose
// block cannot be locked is left out the same way.
bool HoldsGdiHandle(uint32_t format) {
    return std::find(std::begin(kGdiHandleFormats), std::end(kGdiHandleFormats), format) !=
               std::end(kGdiHandleFormats) ||
           (format >= kFirstGdiObjectFormat && format <= kLastGdiObjectFormat);
}

// Another program (a clipboard tool, the system's own synchronisation) may
// hold the clipboard for a moment right after a copy; the snapshot waits for
// it a little rather than lose the user's content.
constexpr int kOpenTries = 10;
constexpr uint32_t kOpenRetryDelayMs = 10;

bool OpenPatiently(platform::Clipboard& clipboard) {
    for (int attempt = 1;; ++attempt) {
        if (clipboard.Open(0)) return true;
        if (attempt == kOpenTries) return false;
        platform::Current().threads.Sleep(kOpenRetryDelayMs);
    }
}

}  // namespace

bool ClipboardSnapshot::Take() {
    formats_.clear();
    restorePending_ = true;
    auto& clipboard = platform::Current().clipboard;
    if (!OpenPatiently(clipboard)) return false;
    for (uint32_t number : clipboard.EnumFormats()) {
        if (HoldsGdiHandle(number)) continue;
        auto block = clipboard.GetData(number, std::numeric_limits<size_t>::max());
        if (!block) continue;
        Format format{number, Text(), std::move(block->bytes)};
        if (number > kLastUnnamedFormat) format.name = clipboard.FormatName(number);
        formats_.push_back(std::move(format));
    }
    clipboard.Close();
    return true;
}

bool ClipboardSnapshot::PutBack() {
    if (!restorePending_ || formats_.empty()) return false;
    auto& clipboard = platform::Current().clipboard;
    if (!OpenPatiently(clipboard)) return false;
    clipboard.Empty();
    for (const Format& format : formats_) {
        uint32_t number = format.number;
        if (!format.name.empty()) {
            // The name's number may differ from the one it had (another
            // session registered it); the data belongs to the name.
            if (const uint32_t now = clipboard.RegisterFormat(format.name)) number = now;
        }
        clipboard.SetData(number, format.bytes);
    }
    clipboard.Close();
    return true;
}

}  // namespace wlk::bridge

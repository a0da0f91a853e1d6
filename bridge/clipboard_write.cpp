#include "bridge/clipboard_write.h"

#include <array>

#include "platform/clipboard.h"
#include "platform/platform.h"

namespace wlk::bridge {

std::array<uint8_t, 4> LocaleBlock(uint32_t locale) {
    return {uint8_t(locale), uint8_t(locale >> 8), uint8_t(locale >> 16), uint8_t(locale >> 24)};
}

bool SetClipboardBlock(uint32_t format, std::span<const uint8_t> data) {
    auto& p = platform::Current();
    if (!p.clipboard.Open(0)) return false;
    p.clipboard.Empty();
    const bool accepted = p.clipboard.SetData(format, data);
    // Tells readers in which locale the text was written, for the ANSI form
    // the system makes from it.
    p.clipboard.SetData(platform::kCfLocale, LocaleBlock(p.keyboard.ThreadLocale()));
    p.clipboard.Close();
    return accepted;
}

bool SetClipboardText(const Text& text) {
    // c_str's terminator belongs to the block.
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.c_str());
    return SetClipboardBlock(platform::kCfUnicodeText,
                             std::span(bytes, (text.size() + 1) * sizeof(char16_t)));
}

bool SetClipboardFormats(const ClipboardFormats& formats) {
    auto& clipboard = platform::Current().clipboard;
    if (formats.empty() || !clipboard.Open(0)) return false;
    clipboard.Empty();
    bool anyAccepted = false;
    for (const auto& [format, block] : formats) anyAccepted |= clipboard.SetData(format, block);
    clipboard.Close();
    return anyAccepted;
}

bool SetClipboardBitmap(const platform::Bitmap& bitmap) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return false;
    auto& p = platform::Current();
    if (!p.clipboard.Open(p.keyboard.DesktopWindow())) return false;
    const bool accepted = p.clipboard.SetBitmap(bitmap);
    p.clipboard.Close();
    return accepted;
}

}  // namespace wlk::bridge

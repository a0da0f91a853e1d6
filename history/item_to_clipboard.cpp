#include "history/item_to_clipboard.h"

#include "bridge/clipboard_write.h"
#include "history/clipboard_capture.h"
#include "history/rtf_text.h"
#include "platform/clipboard.h"
#include "platform/platform.h"

namespace wlk::history {

namespace {

// The clipboard format a stored type came from; 0 for a bitmap.
uint32_t FormatOf(ChType type, platform::Clipboard& clipboard) {
    switch (type) {
        case CHT_TEXT_ANSI: return platform::kCfText;
        case CHT_TEXT_UNICODE: return platform::kCfUnicodeText;
        case CHT_RTF: return clipboard.RegisterFormat(kRtfFormatName);
        case CHT_QUIRENOTE: return clipboard.RegisterFormat(kQuirenoteFormatName);
        case CHT_HTML: return clipboard.RegisterFormat(kHtmlFormatName);
        case CHT_BITMAP: return 0;
    }
    return 0;
}

// The plain text of RTF with CR LF line ends, as editors paste it.
Text PlainText(const CCHItem& rtf) {
    const auto* bytes = reinterpret_cast<const char*>(rtf.Data());
    Text text;
    for (char16_t c : PlainTextFromRtf(bytes ? bytes : "")) {
        text += c;
        if (c == u'\r') text += u'\n';
    }
    return text;
}

// A picture alone replaces the content too, though the bitmap write adds to it.
bool EmptyClipboard(platform::Clipboard& clipboard) {
    if (!clipboard.Open(0)) return false;
    const bool emptied = clipboard.Empty();
    clipboard.Close();
    return emptied;
}

}  // namespace

bool PutItemOnClipboard(const CCHItem& item) {
    auto& clipboard = platform::Current().clipboard;
    bridge::ClipboardFormats formats;
    const platform::Bitmap* bitmap = nullptr;
    const CCHItem* rtf = nullptr;
    auto add = [&](const CCHItem& part) {
        if (part.Type() == CHT_BITMAP && !bitmap) bitmap = part.Bitmap();
        if (part.Type() == CHT_RTF && !rtf) rtf = &part;
        const uint32_t format = FormatOf(part.Type(), clipboard);
        if (format && part.Data() && part.Size())
            formats.emplace(format, std::span(part.Data(), part.Size()));
    };
    add(item);
    for (const auto& format : item.formats)
        if (format) add(*format);
    // The capture keeps no text beside RTF; without it plain editors could not paste.
    const Text plain = rtf && !formats.count(platform::kCfUnicodeText) ? PlainText(*rtf) : Text();
    const auto* plainBytes = reinterpret_cast<const uint8_t*>(plain.c_str());
    if (!plain.empty())
        formats.emplace(platform::kCfUnicodeText, std::span(plainBytes, (plain.size() + 1) * 2));
    // The locale CF_TEXT was converted in, for the 8-bit form readers may ask for.
    const auto locale = bridge::LocaleBlock(item.locale);
    if (item.locale && !formats.empty()) formats.emplace(platform::kCfLocale, locale);

    const bool blocks = formats.empty() ? bitmap && EmptyClipboard(clipboard)
                                        : bridge::SetClipboardFormats(formats);
    const bool picture = bitmap && blocks && bridge::SetClipboardBitmap(*bitmap);
    return formats.empty() ? picture : blocks;
}

}  // namespace wlk::history

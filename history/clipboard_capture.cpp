#include "history/clipboard_capture.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace wlk::history {

namespace {

using platform::ClipboardBlock;

// Blocks that only carry a flag or a locale are tiny.
constexpr size_t kSmallBlockBytes = 64;
constexpr char kSourceUrlTag[] = "SourceURL:";

log::EventLog& Log() {
    return log::EventLog::Instance();
}

// Reads one format at a time, opening and closing the clipboard around each,
// and gives up for the whole capture once the clipboard stays held.
// The bytes of a picture's rows as its BMP file holds them.
size_t PixelBytes(const platform::Bitmap& bitmap) {
    const size_t stride = (size_t(bitmap.Width()) * size_t(bitmap.BitsPerPixel()) + 31) / 32 * 4;
    return stride * size_t(std::abs(bitmap.Height()));
}

class Reader {
public:
    Reader(platform::Clipboard& clipboard, platform::WindowId owner)
        : clipboard_(clipboard), owner_(owner), listed_(clipboard.UpdatedFormats()) {}

    // The system makes no registered format up from others, so one listing
    // answers for all of them: each question would be a round trip to the
    // system while the next copy may already be on its way.
    bool Available(uint32_t format) {
        if (format == 0) return false;
        if (listed_ && format >= platform::kFirstRegisteredFormat)
            return std::find(listed_->begin(), listed_->end(), format) != listed_->end();
        return clipboard_.IsFormatAvailable(format);
    }
    // Stop reading: the clipboard is held, or the primary block was too large.
    bool Stopped() const { return stopped_; }

    // The block, or nothing when it is missing, unreadable or above `maxBytes`
    // (then TooLarge() gives its size).
    std::optional<ClipboardBlock> Block(uint32_t format, size_t maxBytes) {
        tooLarge_ = 0;
        if (!Open()) return std::nullopt;
        auto block = clipboard_.GetData(format, maxBytes);
        clipboard_.Close();
        if (block && block->size > maxBytes) {
            tooLarge_ = block->size;
            return std::nullopt;
        }
        return block;
    }
    size_t TooLarge() const { return tooLarge_; }

    // A primary block: one above the cap ends the capture.
    std::optional<ClipboardBlock> Primary(uint32_t format) {
        auto block = Block(format, kMaxCaptureBytes);
        if (tooLarge_) {
            Log().Write(Format(u"Clipboard data too large to record: %u bytes",
                               {ToText((long long)tooLarge_)}));
            stopped_ = true;
        }
        return block;
    }

    // A further format: one above the cap is only left out.
    std::optional<ClipboardBlock> Further(uint32_t format) {
        auto block = Block(format, kMaxCaptureBytes);
        if (tooLarge_)
            Log().Write(
                Format(u"Clipboard format left out of the history item, too large: %u bytes",
                       {ToText((long long)tooLarge_)}));
        return block;
    }

    // A picture whose file would be above the cap is not recorded: the
    // history folder's load would refuse it.
    std::unique_ptr<platform::Bitmap> Bitmap() {
        if (!Open()) return nullptr;
        auto bitmap = clipboard_.GetBitmap();
        clipboard_.Close();
        if (bitmap && PixelBytes(*bitmap) > kMaxCaptureBytes) {
            Log().Write(Format(u"Clipboard data too large to record: %u bytes",
                               {ToText((long long)PixelBytes(*bitmap))}));
            return nullptr;
        }
        return bitmap;
    }

private:
    bool Open() {
        if (stopped_) return false;
        if (clipboard_.Open(owner_)) return true;
        auto& threads = platform::Current().threads;
        for (int retry = 0; retry < kOpenRetries && budget_ > 0; ++retry, --budget_) {
            threads.Sleep(kOpenRetryDelayMs);
            if (clipboard_.Open(owner_)) return true;
        }
        Log().Write(
            Format(u"Cannot open the clipboard, another program holds it: the copy is not "
                   u"recorded (error %u)",
                   {ToText(clipboard_.LastError())}));
        stopped_ = true;
        return false;
    }

    platform::Clipboard& clipboard_;
    platform::WindowId owner_;
    std::optional<std::vector<uint32_t>> listed_;
    int budget_ = kOpenRetryBudget;
    bool stopped_ = false;
    size_t tooLarge_ = 0;
};

// The string before the first NUL; nothing without a NUL or when it is empty.
std::optional<std::string_view> AnsiString(const ClipboardBlock& block) {
    const auto* bytes = reinterpret_cast<const char*>(block.bytes.data());
    const std::string_view all(bytes, block.bytes.size());
    const size_t end = all.find('\0');
    if (end == std::string_view::npos || end == 0) return std::nullopt;
    return all.substr(0, end);
}

std::optional<std::u16string> UnicodeString(const ClipboardBlock& block) {
    std::u16string text;
    for (size_t i = 0; i + 1 < block.bytes.size(); i += 2) {
        const char16_t unit = char16_t(block.bytes[i] | (block.bytes[i + 1] << 8));
        if (unit == 0) {
            if (text.empty()) break;
            return text;
        }
        text += unit;
    }
    return std::nullopt;
}

std::unique_ptr<CCHItem> AnsiItem(ChType type, const std::optional<ClipboardBlock>& block) {
    auto text = block ? AnsiString(*block) : std::nullopt;
    if (!text) return nullptr;
    auto item = std::make_unique<CCHItem>(type);
    if (!item->SetAnsiText(*text)) return nullptr;
    return item;
}

bool IsPrivate(Reader& reader, const CaptureFormats& formats) {
    if (reader.Available(formats.exclude) || reader.Available(formats.viewerIgnore)) return true;
    if (!reader.Available(formats.canInclude)) return false;
    auto block = reader.Block(formats.canInclude, kSmallBlockBytes);
    return block && block->bytes.size() >= 4 &&
           std::all_of(block->bytes.begin(), block->bytes.begin() + 4,
                       [](uint8_t b) { return b == 0; });
}

// CF_TEXT converted to UTF-16, keeping the CF_LOCALE it was converted in.
std::unique_ptr<CCHItem> ConvertedText(Reader& reader, platform::Clipboard& clipboard) {
    auto block = reader.Primary(platform::kCfText);
    auto text = block ? AnsiString(*block) : std::nullopt;
    if (!text) return nullptr;
    uint32_t locale = 0;
    if (reader.Available(platform::kCfLocale)) {
        auto value = reader.Block(platform::kCfLocale, kSmallBlockBytes);
        if (value && value->bytes.size() >= 4)
            locale = uint32_t(value->bytes[0]) | uint32_t(value->bytes[1]) << 8 |
                     uint32_t(value->bytes[2]) << 16 | uint32_t(value->bytes[3]) << 24;
    }
    const Text converted = clipboard.AnsiToText(*text, locale);
    if (converted.empty()) return nullptr;
    auto item = std::make_unique<CCHItem>(CHT_TEXT_UNICODE);
    if (!item->SetUnicodeText(converted)) return nullptr;
    item->locale = locale;
    return item;
}

// Names of the types for the log, as the user knows the switches.
const char16_t* SwitchName(ChType type) {
    switch (type) {
        case CHT_QUIRENOTE: return u"Quirenote";
        case CHT_BITMAP: return u"Bitmap";
        case CHT_RTF: return u"RTF";
        case CHT_HTML: return u"HTML";
        default: return u"Text";
    }
}

const char16_t* KeptName(ChType type) {
    switch (type) {
        case CHT_QUIRENOTE: return u"Quirenote data";
        case CHT_BITMAP: return u"bitmap";
        case CHT_RTF: return u"RTF";
        case CHT_HTML: return u"HTML";
        default: return u"text";
    }
}

// Whether a primary format is offered and switched on. The first one offered
// but switched off is remembered: the copy is then kept as the next one that
// is on (spreadsheet cells offer a bitmap beside their text, and bitmaps are
// off by default).
class PrimaryChoice {
public:
    PrimaryChoice(Reader& reader, const FormatSwitches& switches)
        : reader_(reader), switches_(switches) {}
    bool Offered(uint32_t format, ChType type) {
        if (!reader_.Available(format)) return false;
        if (switches_.Allows(type)) return true;
        if (!skipped_) skipped_ = type;
        return false;
    }
    // The log line of a copy whose first format was switched off.
    void Report(const CCHItem* kept) const {
        if (!skipped_) return;
        const Text what = kept ? Text(u"kept as its ") + KeptName(kept->Type()) : u"not recorded";
        Log().Write(Text(SwitchName(*skipped_)) + u" capture is off: the copy is " + what);
    }

private:
    Reader& reader_;
    const FormatSwitches& switches_;
    std::optional<ChType> skipped_;
};

// The first primary format that is on the clipboard, switched on and readable.
std::unique_ptr<CCHItem> ReadPrimary(Reader& reader, platform::Clipboard& clipboard,
                                     const CaptureFormats& formats, PrimaryChoice& choice) {
    if (choice.Offered(formats.quirenote, CHT_QUIRENOTE)) {
        auto block = reader.Primary(formats.quirenote);
        if (reader.Stopped()) return nullptr;
        if (block && !block->bytes.empty()) {
            auto item = std::make_unique<CCHItem>(CHT_QUIRENOTE);
            if (item->SetData(block->bytes.data(), block->bytes.size())) return item;
        }
    }
    if (choice.Offered(platform::kCfBitmap, CHT_BITMAP)) {
        // A bitmap that cannot be copied is not replaced by a lesser format.
        auto bitmap = reader.Bitmap();
        if (!bitmap) return nullptr;
        auto item = std::make_unique<CCHItem>(CHT_BITMAP);
        item->SetBitmap(std::move(bitmap));
        return item;
    }
    if (choice.Offered(formats.rtf, CHT_RTF)) {
        auto item = AnsiItem(CHT_RTF, reader.Primary(formats.rtf));
        if (item || reader.Stopped()) return item;
    }
    if (choice.Offered(platform::kCfUnicodeText, CHT_TEXT_UNICODE)) {
        auto block = reader.Primary(platform::kCfUnicodeText);
        if (reader.Stopped()) return nullptr;
        if (auto text = block ? UnicodeString(*block) : std::nullopt) {
            auto item = std::make_unique<CCHItem>(CHT_TEXT_UNICODE);
            if (item->SetUnicodeText(*text)) return item;
        }
    }
    if (choice.Offered(platform::kCfText, CHT_TEXT_UNICODE)) {
        auto item = ConvertedText(reader, clipboard);
        if (item || reader.Stopped()) return item;
    }
    // A copy that offers nothing else is kept as HTML rather than lost.
    if (choice.Offered(formats.html, CHT_HTML))
        return AnsiItem(CHT_HTML, reader.Primary(formats.html));
    return nullptr;
}

void AddFurtherFormats(CCHItem& item, Reader& reader, const CaptureFormats& formats,
                       const FormatSwitches& switches) {
    const ChType type = item.Type();
    if (reader.Available(formats.html)) {
        // Read once for both the page address and the further format.
        auto html = reader.Further(formats.html);
        if (html && type != CHT_QUIRENOTE) item.sourceUrl = SourceUrlOf(html->bytes);
        if (type != CHT_HTML && switches.on[FormatSwitchIndex(CHT_HTML)])
            if (auto inner = AnsiItem(CHT_HTML, html)) item.formats.push_back(std::move(inner));
    }
    if (type != CHT_RTF && reader.Available(formats.rtf))
        if (auto inner = AnsiItem(CHT_RTF, reader.Further(formats.rtf)))
            item.formats.insert(item.formats.begin(), std::move(inner));
}

}  // namespace

FormatSwitches FormatSwitches::FromSettings() {
    const auto& settings = settings::Settings::Instance();
    FormatSwitches switches;
    for (size_t i = 0; i < switches.on.size(); ++i) {
        const auto key = settings::IntSetting(size_t(settings::IntSetting::ClipboardFormats0) + i);
        switches.on[i] = settings.Get(key) != 0;
    }
    return switches;
}

bool FormatSwitches::Allows(ChType type) const {
    const int index = FormatSwitchIndex(type);
    return index >= 0 && on[size_t(index)];
}

int FormatSwitchIndex(ChType type) {
    switch (type) {
        case CHT_TEXT_ANSI:
        case CHT_TEXT_UNICODE: return 0;
        case CHT_RTF: return 1;
        case CHT_BITMAP: return 2;
        case CHT_QUIRENOTE: return 3;
        case CHT_HTML: return 4;
    }
    return -1;
}

Text SourceUrlOf(std::span<const uint8_t> html) {
    const std::string_view text(reinterpret_cast<const char*>(html.data()), html.size());
    const size_t tag = text.find(kSourceUrlTag);
    if (tag == std::string_view::npos) return {};
    const size_t begin = tag + std::char_traits<char>::length(kSourceUrlTag);
    const size_t end = text.find_first_of(std::string_view("\r\n\0", 3), begin);
    return FromUtf8(text.substr(begin, end == std::string_view::npos ? end : end - begin));
}

CaptureFormats CaptureFormats::Register() {
    auto& clipboard = platform::Current().clipboard;
    return {clipboard.RegisterFormat(kRtfFormatName),
            clipboard.RegisterFormat(kHtmlFormatName),
            clipboard.RegisterFormat(kQuirenoteFormatName),
            clipboard.RegisterFormat(kExcludeFormatName),
            clipboard.RegisterFormat(kViewerIgnoreFormatName),
            clipboard.RegisterFormat(kCanIncludeFormatName)};
}

std::unique_ptr<CCHItem> CaptureClipboard(platform::WindowId owner, const CaptureFormats& formats,
                                          const FormatSwitches& switches) {
    auto& clipboard = platform::Current().clipboard;
    Reader reader(clipboard, owner);
    if (IsPrivate(reader, formats)) {
        Log().Write(u"Clipboard content marked private by its owner: not recorded");
        return nullptr;
    }
    PrimaryChoice choice(reader, switches);
    auto item = ReadPrimary(reader, clipboard, formats, choice);
    if (reader.Stopped()) return nullptr;
    choice.Report(item.get());
    if (!item) return nullptr;
    AddFurtherFormats(*item, reader, formats, switches);
    return item;
}

}  // namespace wlk::history

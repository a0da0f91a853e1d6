// The system clipboard: its formats and data, its change counter, and the two
// ways a window can be told of changes (the format listener and the viewer
// chain).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace wlk::platform {

// Standard clipboard formats, by their Windows numbers.
inline constexpr uint32_t kCfText = 1;
inline constexpr uint32_t kCfBitmap = 2;
inline constexpr uint32_t kCfUnicodeText = 13;
inline constexpr uint32_t kCfLocale = 16;
// RegisterFormat gives numbers from here on.
inline constexpr uint32_t kFirstRegisteredFormat = 0xC000;
// The longest format name FormatName gives.
inline constexpr size_t kMaxFormatName = 100;

// One format's block as GetClipboardData + GlobalSize + GlobalLock give it.
struct ClipboardBlock {
    size_t size = 0;             // GlobalSize of the block
    std::vector<uint8_t> bytes;  // the whole block; empty when it was larger than asked
};

class Clipboard {
public:
    virtual ~Clipboard() = default;

    // GetClipboardSequenceNumber.
    virtual uint32_t SequenceNumber() = 0;
    // GetClipboardOwner.
    virtual WindowId Owner() = 0;
    // RegisterClipboardFormatW; 0 on failure.
    virtual uint32_t RegisterFormat(const Text& name) = 0;
    // GetClipboardFormatNameW of a registered format, at most
    // kMaxFormatName characters; empty for a standard or unknown format.
    virtual Text FormatName(uint32_t format) = 0;
    // IsClipboardFormatAvailable; needs no open clipboard.
    virtual bool IsFormatAvailable(uint32_t format) = 0;
    // GetUpdatedClipboardFormats: every format on the clipboard in one call,
    // without opening it; nothing where the system lacks the call. Whether it
    // lists the formats the system converts to is not promised.
    virtual std::optional<std::vector<uint32_t>> UpdatedFormats() = 0;

    // OpenClipboard with `owner`; false while another window holds it open.
    virtual bool Open(WindowId owner) = 0;
    // CloseClipboard.
    virtual void Close() = 0;
    // EnumClipboardFormats of the open clipboard: every format present, in
    // the clipboard's own order (formats the system can convert to included).
    virtual std::vector<uint32_t> EnumFormats() = 0;
    // The block of `format` of the open clipboard; nothing when the format is
    // missing or its block cannot be locked. A block above `maxBytes` comes
    // back with its size and no bytes.
    virtual std::optional<ClipboardBlock> GetData(uint32_t format, size_t maxBytes) = 0;
    // A private copy (CopyImage) of CF_BITMAP of the open clipboard; null
    // when it is missing or cannot be copied.
    virtual std::unique_ptr<Bitmap> GetBitmap() = 0;
    // EmptyClipboard of the open clipboard: the opener becomes the owner.
    virtual bool Empty() = 0;
    // SetClipboardData of a new movable block holding `bytes`.
    virtual bool SetData(uint32_t format, std::span<const uint8_t> bytes) = 0;
    // SetClipboardData(CF_BITMAP) of a copy of `bitmap`.
    virtual bool SetBitmap(const Bitmap& bitmap) = 0;

    // CF_TEXT bytes as UTF-16: in the ANSI code page of `locale` (a CF_LOCALE
    // value), or in the system's ANSI code page when it is 0.
    virtual Text AnsiToText(std::string_view bytes, uint32_t locale) = 0;

    // Whether AddClipboardFormatListener exists in "user32.dll" (looked up at
    // run time).
    virtual bool HasFormatListener() = 0;
    virtual bool AddFormatListener(WindowId window) = 0;
    virtual bool RemoveFormatListener(WindowId window) = 0;
    // GetClipboardViewer.
    virtual WindowId Viewer() = 0;
    // SetClipboardViewer: the next viewer of the chain, 0 when there is none
    // or on failure (then LastError() is not 0).
    virtual WindowId SetViewer(WindowId window) = 0;
    // ChangeClipboardChain.
    virtual bool ChangeChain(WindowId remove, WindowId next) = 0;
    // GetLastError of the calling thread after the last call above.
    virtual uint32_t LastError() = 0;
};

}  // namespace wlk::platform

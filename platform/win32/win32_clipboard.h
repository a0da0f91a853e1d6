// The system clipboard through user32.
#pragma once

#include "platform/clipboard.h"

namespace wlk::platform::win32 {

class Win32Clipboard final : public Clipboard {
public:
    uint32_t SequenceNumber() override;
    WindowId Owner() override;
    uint32_t RegisterFormat(const Text& name) override;
    Text FormatName(uint32_t format) override;
    bool IsFormatAvailable(uint32_t format) override;
    std::optional<std::vector<uint32_t>> UpdatedFormats() override;
    bool Open(WindowId owner) override;
    void Close() override;
    std::vector<uint32_t> EnumFormats() override;
    std::optional<ClipboardBlock> GetData(uint32_t format, size_t maxBytes) override;
    std::unique_ptr<Bitmap> GetBitmap() override;
    bool Empty() override;
    bool SetData(uint32_t format, std::span<const uint8_t> bytes) override;
    bool SetBitmap(const Bitmap& bitmap) override;
    Text AnsiToText(std::string_view bytes, uint32_t locale) override;
    bool HasFormatListener() override;
    bool AddFormatListener(WindowId window) override;
    bool RemoveFormatListener(WindowId window) override;
    WindowId Viewer() override;
    WindowId SetViewer(WindowId window) override;
    bool ChangeChain(WindowId remove, WindowId next) override;
    uint32_t LastError() override;
};

}  // namespace wlk::platform::win32

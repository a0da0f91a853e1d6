// A clipboard in memory: formats with their blocks, a sequence number that
// counts every change, the listener and viewer registrations, and knobs that
// make calls fail as a busy or broken system would.
#pragma once

#include <map>
#include <mutex>
#include <set>

#include "platform/clipboard.h"

namespace wlk::platform::sim {

class SimClipboard : public Clipboard {
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
    bool HasFormatListener() override { return listenerExists; }
    bool AddFormatListener(WindowId window) override;
    bool RemoveFormatListener(WindowId window) override;
    WindowId Viewer() override;
    WindowId SetViewer(WindowId window) override;
    bool ChangeChain(WindowId remove, WindowId next) override;
    uint32_t LastError() override;

    // Another program's copy: replaces the whole content in one change.
    // `bitmap` is shared, so that a test can keep a view of it.
    void Put(WindowId owner, std::map<uint32_t, std::vector<uint8_t>> formats,
             std::shared_ptr<Bitmap> bitmap = nullptr);
    // Another program's copy of one text: CF_UNICODETEXT with its NUL.
    void PutText(WindowId owner, std::u16string_view text);
    // A change that no notification announces, as a lost message would be.
    void BumpSequence();
    // The id RegisterFormat gave a name, or 0.
    uint32_t FormatId(const Text& name);
    // The registrations are forgotten, as when the session that made them
    // ended: names registered again get new numbers. Old numbers keep their
    // names, as an application that still holds one would see them.
    void ForgetRegistrations();
    bool IsOpen();
    // The formats on the clipboard, bitmap included.
    std::set<uint32_t> Formats();
    std::set<WindowId> Listeners();
    // The viewer chain, first viewer first.
    std::vector<WindowId> ViewerChain();
    // The open and close calls so far.
    int opens = 0;
    int closes = 0;

    // Knobs.
    bool listenerExists = true;
    bool failAddListener = false;
    bool failSetViewer = false;
    // A window of another program holds the clipboard open: Open fails.
    WindowId heldBy = 0;
    // The next Open calls that fail, counted down.
    int openFailures = 0;
    // Formats whose block cannot be locked.
    std::set<uint32_t> unlockable;
    bool failBitmapCopy = false;

private:
    bool Change(WindowId owner);
    void Place(uint32_t format);

    std::mutex mutex_;
    std::map<uint32_t, std::vector<uint8_t>> formats_;
    // The formats in the order they were set, the bitmap among them.
    std::vector<uint32_t> order_;
    std::shared_ptr<Bitmap> bitmap_;
    std::map<Text, uint32_t> registered_;
    std::map<uint32_t, Text> names_;
    uint32_t nextRegistered_ = kFirstRegisteredFormat;
    uint32_t sequence_ = 1;
    WindowId owner_ = 0;
    WindowId openedBy_ = 0;
    bool open_ = false;
    std::set<WindowId> listeners_;
    std::vector<WindowId> chain_;
    uint32_t lastError_ = 0;
};

}  // namespace wlk::platform::sim

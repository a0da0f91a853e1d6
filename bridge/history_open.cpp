#include "bridge/history_open.h"

#include "bridge/shell_actions.h"
#include "history/bmp_file.h"
#include "language/interface_strings.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

constexpr uint32_t kTemporaryFileWarning = 272;

// Text blocks end with one NUL of their own unit, which the file leaves out.
std::string WithoutTerminator(const history::CCHItem& item, size_t unit) {
    const size_t size = item.Size() >= unit ? item.Size() - unit : 0;
    return std::string(reinterpret_cast<const char*>(item.Data()), size);
}

Text FolderOf(const Text& path) {
    return path.substr(0, path.rfind(u'\\') + 1);
}

}  // namespace

bool SaveItemFile(const history::CCHItem& item, const Text& path) {
    auto bytes = TemporaryFileBytes(item);
    if (!bytes) return false;
    auto& files = platform::Current().files;
    auto file = files.CreateAlways(path, platform::Security::Default);
    if (!file || !file->Write(bytes->data(), bytes->size())) return false;
    file.reset();
    return !item.isProtected || files.SetReadOnly(path, true);
}

std::optional<Text> TemporaryExtension(history::ChType type) {
    switch (type) {
        case history::CHT_TEXT_ANSI:
        case history::CHT_TEXT_UNICODE: return Text(u".txt");
        case history::CHT_RTF: return Text(u".rtf");
        case history::CHT_BITMAP: return Text(u".bmp");
        case history::CHT_HTML: return Text();
        case history::CHT_QUIRENOTE: break;
    }
    return std::nullopt;
}

Text TemporaryFileName(const Text& extension) {
    auto& system = platform::Current().system;
    const Text name = system.TempFileName(system.TempFolder(), u"abcd", system.TickCount());
    if (name.empty()) return name;
    const size_t filePart = name.rfind(u'\\') + 1;
    return name.substr(0, filePart) + language::GetString(kTemporaryFileWarning) +
           u" ==Wordlark==" + name.substr(filePart) + extension;
}

std::optional<std::string> TemporaryFileBytes(const history::CCHItem& item) {
    switch (item.Type()) {
        case history::CHT_TEXT_ANSI:
        case history::CHT_RTF:
            if (!item.Data()) return std::nullopt;
            return WithoutTerminator(item, 1);
        case history::CHT_TEXT_UNICODE:
            if (!item.Data()) return std::nullopt;
            return "\xFF\xFE" + WithoutTerminator(item, 2);
        case history::CHT_HTML:
            if (!item.Data()) return std::nullopt;
            return std::string(reinterpret_cast<const char*>(item.Data()), item.Size());
        case history::CHT_BITMAP: {
            auto dib = item.Bitmap() ? item.Bitmap()->GetDib() : std::nullopt;
            if (!dib) return std::nullopt;
            return history::EncodeBmp(*dib);
        }
        case history::CHT_QUIRENOTE: break;
    }
    return std::nullopt;
}

bool OpenHistoryItem(const history::CCHQueue& queue, size_t position, platform::WindowId owner,
                     bool associated) {
    const history::CCHItem* item = queue.Newest(position);
    if (!item) return false;
    if (item->Type() == history::CHT_QUIRENOTE) return true;
    const Text path = TemporaryFileName(TemporaryExtension(item->Type()).value_or(Text()));
    if (path.empty() || !SaveItemFile(*item, path)) return false;
    if (!associated) return OpenWith(owner, path);
    // Here a result of exactly 32 still counts as opened, as the callers have always taken it.
    return platform::Current().ui.ShellExecute(owner, u"open", path, Text(), FolderOf(path)) >= 32;
}

}  // namespace wlk::bridge

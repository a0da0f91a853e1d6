// Arbitrary bytes as the data files of one history item, loaded through a
// sound ".info" file: anything another program or a damaged disk leaves there
// loads as an item of its file's type or not at all, and no read takes more
// than the capture limit.
//
// Input: one byte of choices, then the primary data file and the bitmap file
// beside it, separated by "\n--\n". The choices: bits 0-2 the primary's file
// type, bits 3-4 the size of a file declared without its bytes (none, just
// below the limit, just above it, 1 GiB), bit 5 whether that file is the
// primary rather than a third format.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "history/clipboard_capture.h"
#include "history/history_folder.h"
#include "history/item_files.h"
#include "platform/text.h"

namespace wlk::fuzz {

using history::CCHItem;

const Text kFolder = u"C:\\Wordlark\\ClipboardHistory\\";
constexpr std::string_view kSeparator = "\n--\n";
constexpr const char16_t* kPrimaries[] = {
    u"Unicode_clipboard_history1.txt", u"clipboard_history1.txt", u"clipboard_history1.rtf",
    u"clipboard_history1.qnd",         u"clipboard_history1.bmp", u"clipboard_history1.html"};
const std::string kRtf("{\\rtf1 x}", 10);
constexpr uint64_t kLargeSizes[] = {0, history::kMaxItemFileBytes - 1,
                                    history::kMaxItemFileBytes + 1, 1ull << 30};

// The file's bytes as the item holds them: the text without its byte order mark.
void RequireContent(const CCHItem& item, std::string_view file) {
    if (item.Type() == history::CHT_BITMAP) {
        const auto dib = item.Bitmap() ? item.Bitmap()->GetDib() : std::nullopt;
        Require(dib && platform::dib::Check(*dib));
        return;
    }
    if (item.Type() == history::CHT_TEXT_UNICODE && file.starts_with("\xFF\xFE"))
        file.remove_prefix(2);
    Require(item.Data() && item.Size() == file.size() &&
            std::memcmp(item.Data(), file.data(), file.size()) == 0);
}

void FuzzOne(const std::string& bytes) {
    if (bytes.empty()) return;
    const uint8_t choices = bytes[0];
    const std::string_view rest = std::string_view(bytes).substr(1);
    const size_t split = rest.find(kSeparator);
    const std::string_view data = rest.substr(0, split);
    const std::string_view bitmap = split == std::string_view::npos
                                        ? std::string_view()
                                        : rest.substr(split + kSeparator.size());
    const Text primary = kPrimaries[(choices & 7) % std::size(kPrimaries)];
    const uint64_t large = kLargeSizes[(choices >> 3) & 3];
    const Text largeName = choices & 0x20 ? primary : u"clipboard_history3.rtf";

    auto& files = Sim().files;
    files.Put(kFolder + u"wordlark_cb1.info", "[Files]\r\nFile0=" + ToUtf8(primary) +
                                                  "\r\nFile1=clipboard_history2.bmp\r\n"
                                                  "File2=clipboard_history3.rtf\r\n");
    files.Put(kFolder + primary, std::string(data));
    files.Put(kFolder + u"clipboard_history2.bmp", std::string(bitmap));
    files.Put(kFolder + u"clipboard_history3.rtf", kRtf);
    if (large) files.PutLarge(kFolder + largeName, large);
    files.largestRead = 0;

    auto item = history::LoadInfoItem(kFolder, u"wordlark_cb1.info");
    Require(files.largestRead <= history::kMaxItemFileBytes);
    if (!item) return;
    Require(!(large && largeName == primary));
    Require(item->Type() == history::TypeFromFileName(primary));
    RequireContent(*item, data);
    Require(item->formats.size() <= 2);
    for (const auto& format : item->formats) {
        const bool isBitmap = format->Type() == history::CHT_BITMAP;
        Require(isBitmap || !large);
        RequireContent(*format, isBitmap ? bitmap : kRtf);
    }
}

}  // namespace wlk::fuzz

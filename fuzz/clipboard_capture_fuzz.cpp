// Arbitrary clipboard blocks (any program can put anything on the clipboard)
// for the text, RTF, HTML, locale and Quirenote formats, read through the
// capture, the "SourceURL:" scan included, through the text reading of the
// simulated copy, and saved and put back by a clipboard snapshot.
//
// Input: one byte choosing the formats present (one bit each, in the order of
// kFormats below), then their blocks in that order, separated by "\n--\n".
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "bridge/clipboard_snapshot.h"
#include "bridge/selection_extract.h"
#include "fuzz/fuzz_support.h"
#include "history/clipboard_capture.h"

namespace wlk::fuzz {

constexpr std::string_view kSeparator = "\n--\n";

std::vector<uint32_t> Formats() {
    auto& clipboard = Sim().clipboard;
    return {platform::kCfText,
            platform::kCfUnicodeText,
            clipboard.RegisterFormat(history::kRtfFormatName),
            clipboard.RegisterFormat(history::kHtmlFormatName),
            platform::kCfLocale,
            clipboard.RegisterFormat(history::kQuirenoteFormatName),
            clipboard.RegisterFormat(history::kCanIncludeFormatName)};
}

bool Terminated(const history::CCHItem& item) {
    const uint8_t* data = item.Data();
    return data && item.Size() > 0 && data[item.Size()] == 0 && data[item.Size() + 1] == 0;
}

// The text never runs past a NUL, and the snapshot puts every block back
// as it was.
void CheckSnapshotAndText(const std::map<uint32_t, std::vector<uint8_t>>& blocks) {
    Require(bridge::ReadClipboardText().find(u'\0') == Text::npos);
    bridge::ClipboardSnapshot snapshot;
    snapshot.Take();
    Sim().clipboard.PutText(0x4242, u"meanwhile");
    Require(snapshot.PutBack() == !blocks.empty());
    Require(Sim().clipboard.Open(0));
    for (const auto& [format, bytes] : blocks)
        Require(Sim().clipboard.GetData(format, bytes.size())->bytes == bytes);
    Require(Sim().clipboard.EnumFormats().size() == blocks.size() || blocks.empty());
    Sim().clipboard.Close();
    Sim().clipboard.Put(0x4242, blocks);
}

void FuzzOne(const std::string& bytes) {
    static const std::vector<uint32_t> formats = Formats();
    if (bytes.empty()) return;
    const uint8_t present = bytes[0];
    std::string_view rest = std::string_view(bytes).substr(1);
    std::map<uint32_t, std::vector<uint8_t>> blocks;
    for (size_t i = 0; i < formats.size(); ++i) {
        if (!(present & (1u << i))) continue;
        const size_t end = rest.find(kSeparator);
        const std::string_view block = rest.substr(0, end);
        blocks[formats[i]].assign(block.begin(), block.end());
        rest = end == std::string_view::npos ? std::string_view()
                                             : rest.substr(end + kSeparator.size());
    }
    Sim().clipboard.Put(0x4242, blocks);
    CheckSnapshotAndText(blocks);

    history::FormatSwitches switches;
    switches.on[4] = !(present & 0x80);
    auto item = history::CaptureClipboard(0x1333, history::CaptureFormats::Register(), switches);
    Require(!Sim().clipboard.IsOpen());
    if (!item) return;
    Require(item->Type() != history::CHT_BITMAP && item->Type() != history::CHT_TEXT_ANSI);
    Require(switches.Allows(item->Type()));
    Require(item->Type() == history::CHT_QUIRENOTE || Terminated(*item));
    Require(item->Size() <= history::kMaxCaptureBytes + 2);
    Require(item->sourceUrl.find_first_of(u"\r\n") == Text::npos);
    for (const auto& inner : item->formats) {
        Require(inner && inner->formats.empty() && Terminated(*inner));
        Require(inner->Type() != item->Type());
    }
}

}  // namespace wlk::fuzz

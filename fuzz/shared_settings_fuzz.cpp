// Arbitrary bytes as the shared settings area, which any process may write:
// reading the selected text must neither crash nor read past the area, reading
// the bytes and reading the area must agree, and what was read, published
// again by the program, must read back the same.
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "settings/shared_settings_area.h"

namespace wlk::fuzz {

using settings::kSharedSettingsAreaSize;

// The bytes up to the area's first zero byte: all that the reader may look at.
std::string_view Readable(std::string_view bytes) {
    bytes = bytes.substr(0, kSharedSettingsAreaSize);
    return bytes.substr(0, bytes.find('\0'));
}

// The area as the program leaves it filled: the bytes, zeros after them.
void CheckThroughTheArea(const std::string& bytes, const std::optional<Text>& read) {
    static auto area = Sim().platform.shared.Create(
        settings::kSharedSettingsAreaName, kSharedSettingsAreaSize, platform::Security::Everyone);
    Require(area != nullptr);
    std::string filled = bytes.substr(0, kSharedSettingsAreaSize);
    filled.resize(kSharedSettingsAreaSize, '\0');
    Require(Sim().shared.PutBytes(settings::kSharedSettingsAreaName, filled));
    const std::optional<Text> fromArea = settings::ReadSharedSelectedText();
    Require(fromArea == settings::ParseSharedSelectedText(filled));
    // Past the first zero byte or the area's end, nothing changes what is read.
    if (bytes.size() >= kSharedSettingsAreaSize || bytes.find('\0') != std::string::npos)
        Require(fromArea == read);
}

void CheckPublishedAgain(const Text& read) {
    const std::string again = settings::SharedSettingsXml(13, 3, false, read) + '\0';
    if (again.size() > kSharedSettingsAreaSize) return;
    const std::optional<Text> reread = settings::ParseSharedSelectedText(again);
    // An empty selection is published without its element.
    Require(read.empty() ? !reread : reread == read);
}

void FuzzOne(const std::string& bytes) {
    const std::optional<Text> read = settings::ParseSharedSelectedText(bytes);
    const std::string_view readable = Readable(bytes);
    if (read) {
        Require(readable.size() < bytes.size() && readable.size() < kSharedSettingsAreaSize);
        Require(readable.find("<WordlarkSettings") != std::string_view::npos);
        Require(readable.find("SelText") != std::string_view::npos);
        Require(read->size() <= readable.size());
        CheckPublishedAgain(*read);
    }
    CheckThroughTheArea(bytes, read);
}

}  // namespace wlk::fuzz

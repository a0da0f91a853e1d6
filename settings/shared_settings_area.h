// The small shared memory area through which the product's other processes
// learn the hotkey. It stays open for the life of the process.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/shared_memory.h"
#include "platform/types.h"

namespace wlk::settings {

inline constexpr char16_t kSharedSettingsAreaName[] = u"Local\\$WORDLARK_SETTING_AREA$";
inline constexpr size_t kSharedSettingsAreaSize = 1024;

// The XML text of the area, e.g. <WordlarkSettings HotKey_Key="13" HotKey_Mod="3" Double="0" />.
std::string SharedSettingsXml(int key, int modifiers, bool doubled, const Text& selText);

// The selected text the program hands the editor in the area: what "SelText"
// holds, read no further than the area's first zero byte. Any process can
// write the area, so nothing comes back unless the bytes before that zero are
// a document of this root; an empty element gives an empty text.
std::optional<Text> ParseSharedSelectedText(std::string_view area);
// The same from the area itself; nothing when no process holds it open.
std::optional<Text> ReadSharedSelectedText();

class SharedSettingsArea {
public:
    static SharedSettingsArea& Instance();
    // Creates the area on first use and rewrites it; false when it cannot be
    // created or the text does not fit.
    bool Publish(int key, int modifiers, bool doubled, const Text& selText);
    // Closes the area (for a clean test teardown).
    void Close() { area_.reset(); }

private:
    std::unique_ptr<platform::SharedArea> area_;
};

}  // namespace wlk::settings

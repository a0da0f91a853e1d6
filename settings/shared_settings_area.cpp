#include "settings/shared_settings_area.h"

#include <tinyxml.h>

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::settings {

std::string SharedSettingsXml(int key, int modifiers, bool doubled, const Text& selText) {
    TiXmlElement root("WordlarkSettings");
    root.SetAttribute("HotKey_Key", key);
    root.SetAttribute("HotKey_Mod", modifiers);
    root.SetAttribute("Double", doubled ? 1 : 0);
    if (!selText.empty()) {
        TiXmlElement child("SelText");
        child.InsertEndChild(TiXmlText(ToUtf8(selText)));
        root.InsertEndChild(child);
    }
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\r\n");
    root.Accept(&printer);
    return printer.Str();
}

SharedSettingsArea& SharedSettingsArea::Instance() {
    // Never destroyed: worker threads may still use it while the process ends.
    static SharedSettingsArea& area = *new SharedSettingsArea;
    return area;
}

bool SharedSettingsArea::Publish(int key, int modifiers, bool doubled, const Text& selText) {
    if (!area_) {
        area_ = platform::Current().shared.Create(kSharedSettingsAreaName, kSharedSettingsAreaSize,
                                                  platform::Security::Everyone);
    }
    return area_ && area_->WriteText(SharedSettingsXml(key, modifiers, doubled, selText));
}

}  // namespace wlk::settings

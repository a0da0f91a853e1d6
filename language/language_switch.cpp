#include "language/language_switch.h"

#include <memory>

#include "language/active_language.h"
#include "language/language_list.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace wlk::language {

namespace {

std::unique_ptr<platform::Menu> FindLanguageMenu(platform::Menu& menu) {
    const int count = menu.Count();
    for (int position = 0; position < count; ++position) {
        auto submenu = menu.Submenu(position);
        if (!submenu) continue;
        const auto first = submenu->Item(0);
        if (first && first->id == kLocalizeHelpCommand) return submenu;
        if (auto found = FindLanguageMenu(*submenu)) return found;
    }
    return nullptr;
}

// The example file stands for the built-in English: it only collects texts.
bool IsCurrent(const LanguageEntry& entry, const Text& activePath) {
    const Text activeName = FileNameOf(activePath);
    if (entry.fileName.empty())
        return activeName.empty() || EqualsIgnoreCase(activeName, kExampleFileName);
    return EqualsIgnoreCase(entry.path, activePath);
}

}  // namespace

void LoadStartupLanguage(const settings::Settings& settings) {
    LoadLanguage(LanguageFilePathFromSetting(settings.Language()), true, Text());
}

void ReloadLanguage(settings::Settings& settings) {
    // Reads the setting back from the file another program may have written.
    settings.GetLanguageFilePath();
    const Text& language = settings.Language();
    LoadLanguage(language.empty() ? Text() : LanguageFolder() + language, false, Text());
}

bool RebuildLanguageMenu(platform::Menu& trayMenu) {
    auto menu = FindLanguageMenu(trayMenu);
    if (!menu) return false;
    menu->RemoveFrom(1);
    menu->AppendSeparator();
    const Text activePath = CurrentLanguage().path;
    const auto languages = ListLanguages();
    for (size_t i = 0; i < languages.size() && i < kMaxLanguageItems; ++i) {
        const LanguageEntry& entry = languages[i];
        Text text = GetLanguageName(entry.path);
        if (text.empty()) text = entry.fileName.substr(0, entry.fileName.rfind(u'.'));
        menu->Append(kFirstLanguageCommand + uint32_t(i), text);
        if (IsCurrent(entry, activePath)) {
            const int position = menu->Count() - 1;
            menu->SetDefault(position);
            menu->SetChecked(position, true);
        }
    }
    return true;
}

bool SwitchLanguage(uint32_t commandId, settings::Settings& settings) {
    if (!IsLanguageCommand(commandId)) return false;
    const auto languages = ListLanguages();
    const size_t index = commandId - kFirstLanguageCommand;
    if (index >= languages.size()) return false;
    settings.WriteLanguage(languages[index].fileName);
    // As after every change made from the tray menu: the other programs of the
    // product reread the settings.
    settings.Save();
    settings.NotifyOptionsChanged();
    ReloadLanguage(settings);
    return true;
}

}  // namespace wlk::language

// Arbitrary bytes as the settings files: loading must neither crash nor hand out
// a value outside its rules, and what is saved must load as the same settings.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "settings/settings_files.h"

namespace wlk::fuzz {

using settings::IntSetting;

void CheckNormalised(const settings::Settings& s) {
    const int days = s.Get(IntSetting::DaysCheckForUpdates);
    Require(days != 0 && days <= 30);
    const int lastUsed = s.Get(IntSetting::AddLastUsedMenuToBeginCount);
    Require(lastUsed != 0 && lastUsed < 6);
    Require(s.Get(IntSetting::DelayAutoLoadSeconds) <= 600);
    Require(s.Get(IntSetting::MaxHistoryItemsInMenu) >= 0);
    const int method = s.Get(IntSetting::TextPasteMethod);
    Require(method >= 0 && method <= 2);
    const int printLimit = s.Get(IntSetting::PrintLTChars);
    Require(printLimit != 0 && printLimit <= 1000);
    const int gesture = s.Get(IntSetting::GestureType);
    Require(gesture == 0 || gesture == 1);
    const Text folder = s.GetPhrasesFolder();
    Require(!folder.empty() && folder.back() == u'\\');
}

// The keys read straight from the write file, each with its own rules.
void ReadDirectKeys(settings::Settings& s) {
    const int delay = s.ReadDelayInsert();
    Require(s.ReadDelayInsert() == delay);
    s.ReadLastCheck();
    s.ReadSkippedVersions();
    settings::Point point;
    s.ReadPoint(u"FloatPaneRect_TOPLEFT", point);
    s.GetLanguageFilePath();
}

void FuzzOne(const std::string& bytes) {
    auto& sim = Sim();
    // The same bytes as both files: a key the program file lacks comes from the user file.
    sim.files.Put(settings::ProgramSettingsPath(), bytes);
    sim.files.Put(settings::UserSettingsPath(false), bytes);

    settings::Settings loaded;
    loaded.Load();
    CheckNormalised(loaded);
    ReadDirectKeys(loaded);

    loaded.Save();
    settings::Settings reloaded;
    reloaded.Load();
    for (size_t i = 0; i < settings::kIntSettingCount; ++i)
        Require(reloaded.Get(IntSetting(i)) == loaded.Get(IntSetting(i)));
    Require(reloaded.Font() == loaded.Font());
    // Saved relative to the program folder, which may differ in letter case.
    Require(EqualsIgnoreCase(reloaded.GetPhrasesFolder(), loaded.GetPhrasesFolder()));
}

}  // namespace wlk::fuzz

#include "settings/settings.h"

#include "platform/platform.h"
#include "platform/text.h"
#include "settings/file_time.h"
#include "settings/options_changed.h"
#include "settings/program_location.h"
#include "settings/registry_entries.h"
#include "settings/settings_files.h"
#include "settings/shared_settings_area.h"

namespace wlk::settings {

namespace {

constexpr char16_t kVersionMark[] = u"WLK_150";
constexpr size_t kPathBufferChars = 260;
constexpr size_t kValueBufferChars = 1024;
constexpr size_t kExpandMaxChars = 999;
constexpr char16_t kFontKey[] = u"FontForMenu";
constexpr int kDefaultDelayInsertMs = 400;

platform::Profile& Ini() {
    return platform::Current().profile;
}

Text ReadText(const Text& file, const Text& key, size_t bufferChars = kValueBufferChars) {
    return Ini().GetString(file, kSettingsSection, key, Text(), bufferChars);
}

bool WriteInt(const Text& file, const Text& section, const Text& key, int value) {
    return Ini().WriteString(file, section, key, ToText(value));
}

// Replaces each "%NAME%" part by its expansion, when the expansion succeeds.
Text ExpandPercentParts(const Text& text) {
    Text out;
    size_t i = 0;
    while (i < text.size()) {
        size_t open = text.find(u'%', i);
        size_t close = open == Text::npos ? Text::npos : text.find(u'%', open + 1);
        if (close == Text::npos) break;
        out += text.substr(i, open - i);
        Text part = text.substr(open, close - open + 1);
        auto expanded = platform::Current().system.ExpandEnvironment(part, kExpandMaxChars);
        out += expanded ? *expanded : part;
        i = close + 1;
    }
    return out + text.substr(std::min(i, text.size()));
}

// The phrases folder as saving and reading it again give it back. A folder's
// name holds neither double quotes nor control characters, and Windows drops
// its trailing blanks; the file keeps neither blanks at the ends nor a pair of
// quotes around the value, and the folder is saved without its last
// backslashes, which reading gives back as one. Left as read, a value cut at a
// NUL after a blank or a quote would change on saving.
Text FolderAsSaved(Text value) {
    std::erase_if(value, [](char16_t c) { return c == u'"' || c < u' '; });
    for (Text before; before != value;) {
        before = value;
        while (!value.empty() && (value.back() == u' ' || value.back() == u'\\')) value.pop_back();
        value = Trim(value);
        if (value.size() > 1 && value.front() == u'\'' && value.back() == u'\'')
            value = value.substr(1, value.size() - 2);
    }
    return value;
}

Text WithoutBackslash(Text path) {
    while (!path.empty() && path.back() == u'\\') path.pop_back();
    return path;
}

uint64_t DefaultLastCheck() {
    return ToFileTime({2013, 1, 2, 1, 0, 0, 0, 0});
}

}  // namespace

Settings& Settings::Instance() {
    static Settings* settings = [] {
        auto* s = new Settings();  // lives until the process ends
        s->Load();
        return s;
    }();
    return *settings;
}

Settings::Settings() {
    for (size_t i = 0; i < kIntSettingCount; ++i) ints_[i] = DefaultOf(IntSetting(i));
    font_ = platform::Current().system.MenuFont();
    lastCheck_ = DefaultLastCheck();
}

int Settings::DefaultOf(IntSetting setting) {
    if (setting == IntSetting::InsertEncodeCommandIntoMenu)
        return platform::Current().system.KeyboardLayoutCount() > 1;
    return Info(setting).defaultValue;
}

void Settings::Set(IntSetting setting, int value) {
    ints_[size_t(setting)] = Normalize(setting, value, Get(setting));
}

Text Settings::GetSettingsPath() const {
    return WriteSettingsPath();
}
Text Settings::GetProgramSettingsPath() const {
    return ProgramSettingsPath();
}
Text Settings::GetUserSettingsPath(bool create) const {
    return UserSettingsPath(create);
}

void Settings::Load() {
    KeySources sources;
    LoadFirstRun();
    LoadInts(sources);
    LoadPhrasesFolder();
    LoadLanguage();
    if (!ReadFontFrom(sources)) font_ = platform::Current().system.MenuFont();
}

void Settings::LoadFirstRun() {
    auto& files = platform::Current().files;
    Text program = ProgramSettingsPath();
    Text user = UserSettingsPath(false);
    bool anyFile = files.Kind(program) == platform::PathKind::File ||
                   files.Kind(user) == platform::PathKind::File;
    Text mark = ReadText(program, u"WLKVersion");
    if (mark.empty()) mark = ReadText(user, u"WLKVersion");
    firstRun_ = !anyFile || !EqualsIgnoreCase(mark, kVersionMark);
}

void Settings::LoadInts(const KeySources& sources) {
    Text writeFile = WriteSettingsPath();
    for (size_t i = 0; i < kIntSettingCount; ++i) {
        const auto setting = IntSetting(i);
        const auto& info = Info(setting);
        const Text& file = info.writeFileOnly ? writeFile : sources.FileFor(info.key);
        // A key removed from the file since the last load is back at its default.
        Set(setting, Ini().GetInt(file, kSettingsSection, info.key, DefaultOf(setting)));
    }
}

void Settings::LoadPhrasesFolder() {
    auto usable = [](const Text& value) { return value.size() < kPathBufferChars; };
    Text value = ReadText(ProgramSettingsPath(), u"PhrasesDirectory");
    if (value.empty() || !usable(value))
        value = ReadText(UserSettingsPath(false), u"PhrasesDirectory");
    if (!usable(value)) value.clear();
    phrasesFolder_ = FolderAsSaved(value);
    if (EqualsIgnoreCase(WithBackslash(GetPhrasesFolder()), GetDefaultPhrasesFolder()) &&
        !value.empty()) {
        phrasesFolder_.clear();
    }
}

void Settings::LoadLanguage() {
    language_ = ReadText(WriteSettingsPath(), u"Language");
    if (language_.empty()) language_ = ReadText(ProgramSettingsPath(), u"Language");
    if (language_.empty()) language_ = ReadText(UserSettingsPath(false), u"Language");
}

bool Settings::Save() {
    auto& system = platform::Current().system;
    Text file = WriteSettingsPath();
    // Every key is tried, so that one refused write does not lose the others.
    bool written = Ini().WriteString(file, u"A_SETTINGS", u"WRITED_TO", file);
    written &= Ini().WriteString(file, u"A_SETTINGS", u"WRITED_WHO", system.ProgramPath());
    written &= Ini().WriteString(file, u"A_SETTINGS", u"WRITED_WHEN",
                                 system.FormatUserDateTime(system.Now()));
    written &= Ini().WriteString(file, kSettingsSection, u"WLKVersion", Text(kVersionMark));
    written &=
        Ini().WriteString(file, kSettingsSection, u"PhrasesDirectory", StoredPhrasesFolder());
    written &= Ini().WriteString(file, kSettingsSection, u"Language", language_);
    const size_t fontFollows = size_t(IntSetting::ExtMenuCommandEditSetting);
    for (size_t i = 0; i < kIntSettingCount; ++i) {
        if (i == fontFollows) written &= WriteFont();
        written &= WriteInt(file, kSettingsSection, Info(IntSetting(i)).key, ints_[i]);
    }
    return written;
}

Text Settings::GetDefaultPhrasesFolder() const {
    return ProgramFolder() + u"UserPhrases\\";
}

Text Settings::GetPhrasesFolder() const {
    if (phrasesFolder_.empty()) return GetDefaultPhrasesFolder();
    // Expanded first, so that a value such as "%USERPROFILE%\Phrases" counts as absolute.
    Text folder = ExpandPercentParts(phrasesFolder_);
    if (folder.find(u':') == Text::npos) folder = ProgramFolder() + folder;
    return WithBackslash(folder);
}

void Settings::SetPhrasesFolder(const Text& folder) {
    phrasesFolder_ = folder;
}

Text Settings::StoredPhrasesFolder() const {
    // A folder given through environment variables keeps its variables.
    if (phrasesFolder_.empty() || phrasesFolder_.find(u'%') != Text::npos)
        return WithoutBackslash(phrasesFolder_);
    Text folder = GetPhrasesFolder();
    if (EqualsIgnoreCase(folder, GetDefaultPhrasesFolder())) return Text();
    Text programFolder = ProgramFolder();
    if (StartsWithIgnoreCase(folder, programFolder)) folder = folder.substr(programFolder.size());
    return WithoutBackslash(folder);
}

Text Settings::GetLanguageFilePath() {
    Text writeFile = WriteSettingsPath();
    if (platform::Current().files.Kind(writeFile) == platform::PathKind::File) {
        Text current = ReadText(writeFile, u"Language");
        if (current != language_) language_ = current;
    }
    return language_.empty() ? Text() : ProgramFolder() + language_;
}

void Settings::WriteLanguage(const Text& name) {
    language_ = name;
    Ini().WriteString(WriteSettingsPath(), kSettingsSection, u"Language", name);
}

bool Settings::ReadWriteLog() const {
    return Ini().GetInt(WriteSettingsPath(), kSettingsSection, u"WriteLog", 0) != 0;
}

void Settings::WriteWriteLog(bool on) const {
    WriteInt(WriteSettingsPath(), kSettingsSection, u"WriteLog", on ? 1 : 0);
}

int Settings::ReadDelayInsert() const {
    constexpr char16_t kKey[] = u"DelayInsertMilliseconds_v141";
    Text file = WriteSettingsPath();
    if (ReadText(file, kKey).empty()) {
        WriteInt(file, kSettingsSection, kKey, kDefaultDelayInsertMs);
        return kDefaultDelayInsertMs;
    }
    return Ini().GetInt(file, kSettingsSection, kKey, kDefaultDelayInsertMs);
}

bool Settings::ReadWelcomeStarted() const {
    return Ini().GetInt(WriteSettingsPath(), kSettingsSection, u"Welcome_Already_Started_V2_60",
                        0) != 0;
}

void Settings::WriteWelcomeStarted() const {
    WriteInt(WriteSettingsPath(), kSettingsSection, u"Welcome_Already_Started_V2_60", 1);
}

uint64_t Settings::ReadLastCheck() {
    Text file = WriteSettingsPath();
    uint32_t low = uint32_t(Ini().GetInt(file, kSettingsSection, u"LastCheckForUpdates_V2Low",
                                         int(uint32_t(lastCheck_))));
    uint32_t high = uint32_t(Ini().GetInt(file, kSettingsSection, u"LastCheckForUpdates_V2Hi",
                                          int(uint32_t(lastCheck_ >> 32))));
    uint64_t value = (uint64_t(high) << 32) | low;
    if (!FromFileTime(value)) {
        value = DefaultLastCheck();
        WriteLastCheck(value);
    }
    lastCheck_ = value;
    return value;
}

void Settings::WriteLastCheck(uint64_t fileTime) {
    lastCheck_ = fileTime;
    Text file = WriteSettingsPath();
    WriteInt(file, kSettingsSection, u"LastCheckForUpdates_V2Low", int(uint32_t(fileTime)));
    WriteInt(file, kSettingsSection, u"LastCheckForUpdates_V2Hi", int(uint32_t(fileTime >> 32)));
}

std::vector<int> Settings::ReadSkippedVersions() const {
    std::vector<int> versions;
    Text text = ReadText(WriteSettingsPath(), u"SkippedVersion_OnCheckUpdates");
    if (text.empty()) return versions;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(u',', start);
        versions.push_back(int(ParseInt(text.substr(start, comma - start)).value_or(0)));
        if (comma == Text::npos) break;
        start = comma + 1;
    }
    return versions;
}

void Settings::WriteSkippedVersions(const std::vector<int>& versions) const {
    if (versions.empty()) return;
    Text text;
    for (size_t i = 0; i < versions.size(); ++i) text += (i ? u"," : u"") + ToText(versions[i]);
    Ini().WriteString(WriteSettingsPath(), kSettingsSection, u"SkippedVersion_OnCheckUpdates",
                      text);
}

Text Settings::ReadUpdateServer() const {
    return ReadText(WriteSettingsPath(), u"UpdateServerURL");
}

bool Settings::HasUpdateTestMarker() const {
    return Ini().GetInt(WriteSettingsPath(), u"UpdateVersion_Test", u"UpdateVersion_Test", 0) != 0;
}

Text Settings::ReadSaveFolder() const {
    return ReadText(WriteSettingsPath(), u"DirectoryForSave", kPathBufferChars);
}

void Settings::WriteSaveFolder(const Text& folder) const {
    Ini().WriteString(WriteSettingsPath(), kSettingsSection, u"DirectoryForSave", folder);
}

bool Settings::ReadPoint(const Text& name, Point& point) const {
    constexpr int kMissing = -999999;
    Text file = WriteSettingsPath();
    int x = Ini().GetInt(file, u"Settings_Agent", name + u"_x", kMissing);
    int y = Ini().GetInt(file, u"Settings_Agent", name + u"_y", kMissing);
    if (x == kMissing || y == kMissing) return false;
    point = {x, y};
    return true;
}

void Settings::WritePoint(const Text& name, const Point& point) const {
    Text file = WriteSettingsPath();
    WriteInt(file, u"Settings_Agent", name + u"_x", point.x);
    WriteInt(file, u"Settings_Agent", name + u"_y", point.y);
}

bool Settings::ReadFont() {
    return ReadFontFrom(KeySources());
}

bool Settings::ReadFontFrom(const KeySources& sources) {
    platform::LogFontBytes font{};
    if (!Ini().GetStruct(sources.FileFor(kFontKey), kSettingsSection, kFontKey, font.data(),
                         font.size()))
        return false;
    font_ = font;
    return true;
}

bool Settings::WriteFont() const {
    return Ini().WriteStruct(WriteSettingsPath(), kSettingsSection, kFontKey, font_.data(),
                             font_.size());
}

bool Settings::IsFromInstaller() const {
    return settings::IsFromInstaller();
}
bool Settings::IsStartWithWindows() const {
    return settings::IsStartWithWindows();
}
bool Settings::SetStartWithWindows(bool on) const {
    return settings::SetStartWithWindows(on);
}

bool Settings::PublishHotkey(int key, int modifiers, bool doubled, const Text& selText) {
    return SharedSettingsArea::Instance().Publish(key, modifiers, doubled, selText);
}

void Settings::NotifyOptionsChanged() const {
    OptionsChangedEvent::Instance().Notify();
}

}  // namespace wlk::settings

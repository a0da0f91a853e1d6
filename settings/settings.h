// The process-wide settings: every key of "Settings.ini" with its default and
// normalisation, loaded once and written back when the user changes something.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/system.h"
#include "platform/types.h"
#include "settings/setting_keys.h"

namespace wlk::settings {

class KeySources;

struct Point {
    int x = 0;
    int y = 0;
};

class Settings {
public:
    // The program's settings object, loaded on first use.
    static Settings& Instance();

    // Defaults only; Load() reads the files.
    Settings();
    virtual ~Settings() = default;
    virtual bool IsFirstRun() const { return firstRun_; }

    void Load();
    // False when a key could not be written.
    bool Save();

    int Get(IntSetting setting) const { return ints_[static_cast<size_t>(setting)]; }
    void Set(IntSetting setting, int value);

    Text GetSettingsPath() const;
    Text GetProgramSettingsPath() const;
    Text GetUserSettingsPath(bool create) const;

    // The phrases folder, absolute, environment variables expanded, with a
    // trailing backslash.
    Text GetPhrasesFolder() const;
    void SetPhrasesFolder(const Text& folder);
    Text GetDefaultPhrasesFolder() const;

    const Text& Language() const { return language_; }
    // The language file in use; empty for the built-in English.
    Text GetLanguageFilePath();
    void WriteLanguage(const Text& name);

    // Keys read and written directly in the write file.
    bool ReadWriteLog() const;
    void WriteWriteLog(bool on) const;
    int ReadDelayInsert() const;
    bool ReadWelcomeStarted() const;
    void WriteWelcomeStarted() const;
    // The time of the last update check as a FILETIME.
    uint64_t ReadLastCheck();
    void WriteLastCheck(uint64_t fileTime);
    std::vector<int> ReadSkippedVersions() const;
    void WriteSkippedVersions(const std::vector<int>& versions) const;
    // "UpdateServerURL": a mirror's scheme, host and port for the update
    // check; empty for the product's own server.
    Text ReadUpdateServer() const;
    // The testers' marker: the update check reads the version under test.
    bool HasUpdateTestMarker() const;
    // "DirectoryForSave": the folder the history pane's save dialog opens in.
    Text ReadSaveFolder() const;
    void WriteSaveFolder(const Text& folder) const;
    bool ReadPoint(const Text& name, Point& point) const;
    void WritePoint(const Text& name, const Point& point) const;

    const platform::LogFontBytes& Font() const { return font_; }
    void SetFont(const platform::LogFontBytes& font) { font_ = font; }
    // Reads "FontForMenu"; keeps the current font when the stored one is unreadable
    // (Load() then takes the system menu font).
    bool ReadFont();
    bool WriteFont() const;

    bool IsFromInstaller() const;
    bool IsStartWithWindows() const;
    bool SetStartWithWindows(bool on) const;

    // Rewrites the shared settings area that the product's other processes read.
    bool PublishHotkey(int key, int modifiers, bool doubled, const Text& selText);
    // Tells the product's other processes that the settings changed.
    void NotifyOptionsChanged() const;

private:
    static int DefaultOf(IntSetting setting);
    void LoadInts(const KeySources& sources);
    bool ReadFontFrom(const KeySources& sources);
    void LoadPhrasesFolder();
    void LoadLanguage();
    void LoadFirstRun();
    Text StoredPhrasesFolder() const;

    std::array<int, kIntSettingCount> ints_{};
    Text phrasesFolder_;  // as stored: empty, relative to the program folder, or absolute
    Text language_;
    platform::LogFontBytes font_{};
    uint64_t lastCheck_ = 0;
    bool firstRun_ = true;
};

}  // namespace wlk::settings

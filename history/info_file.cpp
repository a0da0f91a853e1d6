#include "history/info_file.h"

#include <optional>
#include <utility>

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {

constexpr char16_t kSection[] = u"Files";
// Longer values are not names this program wrote (MAX_PATH).
constexpr size_t kMaxName = 260;
// Room for far more formats than an item has.
constexpr size_t kSectionChars = 4096;

Text FileKey(size_t index) {
    return u"File" + ToText(static_cast<long long>(index));
}

}  // namespace

namespace {

// The file's text, in either encoding the profile functions write.
Text TextOnDisk(const Text& path) {
    auto& files = platform::Current().files;
    const auto bytes = files.ReadAll(path);
    if (!bytes) return {};
    if (bytes->size() < 2 || (*bytes)[0] != '\xFF' || (*bytes)[1] != '\xFE')
        return files.AnsiText(*bytes);
    Text text;
    for (size_t i = 2; i + 1 < bytes->size(); i += 2)
        text += char16_t(uint8_t((*bytes)[i]) | uint8_t((*bytes)[i + 1]) << 8);
    return text;
}

}  // namespace

bool WriteInfo(const Text& infoPath, ChType type, bool isProtected,
               const std::vector<Text>& names) {
    // One write of the file: a key written alone costs the system a rewrite of it each.
    std::vector<Text> lines{u"DataType=" + ToText(type),
                            isProtected ? Text(u"Protected=1") : Text(u"Protected=0")};
    for (size_t i = 0; i < names.size(); ++i) lines.push_back(FileKey(i) + u"=" + names[i]);
    if (!platform::Current().profile.WriteSection(infoPath, kSection, lines)) return false;
    // The profile functions do not all report a write the disk refused (Wine's
    // leave WriteFile's answer unread), so the file is read back: a write cut
    // short lacks the last lines.
    const Text text = TextOnDisk(infoPath);
    for (const Text& line : lines)
        if (text.find(line + u"\r\n") == Text::npos) return false;
    return true;
}

void WriteInfoProtected(const Text& infoPath, bool isProtected) {
    platform::Current().profile.WriteString(infoPath, kSection, u"Protected",
                                            isProtected ? u"1" : u"0");
}

namespace {

// The whole section in one call: a look-up of a key costs the system nearly
// as much as reading the file. Plain "key=value" lines as this program writes
// them give the same answers as the key-by-key reads; for anything else
// (quotes, a number other than 0 or 1, a line without "=", a key twice, a
// section too long for the buffer) the caller takes the key-by-key way.
std::optional<InfoContent> ReadInfoAtOnce(const Text& infoPath) {
    const auto lines = platform::Current().profile.GetSection(infoPath, kSection, kSectionChars);
    std::vector<std::pair<Text, Text>> entries;
    size_t used = 2;
    for (const Text& line : lines) {
        used += line.size() + 1;
        const size_t equals = line.find(u'=');
        if (equals == Text::npos) return std::nullopt;
        Text key = Trim(std::u16string_view(line).substr(0, equals));
        Text value = Trim(std::u16string_view(line).substr(equals + 1));
        if (!value.empty() && (value.front() == u'"' || value.front() == u'\''))
            return std::nullopt;
        for (const auto& entry : entries)
            if (EqualsIgnoreCase(entry.first, key)) return std::nullopt;
        entries.emplace_back(std::move(key), std::move(value));
    }
    if (used + 1 >= kSectionChars) return std::nullopt;
    auto find = [&entries](const Text& key) -> const Text* {
        for (const auto& entry : entries)
            if (EqualsIgnoreCase(entry.first, key)) return &entry.second;
        return nullptr;
    };
    InfoContent info;
    if (const Text* flag = find(u"Protected")) {
        if (*flag != u"0" && *flag != u"1") return std::nullopt;
        info.isProtected = *flag == u"1";
    }
    for (size_t i = 0;; ++i) {
        const Text* name = find(FileKey(i));
        if (!name || name->empty() || name->size() > kMaxName) break;
        info.files.push_back(*name);
    }
    return info;
}

}  // namespace

InfoContent ReadInfo(const Text& infoPath) {
    if (auto info = ReadInfoAtOnce(infoPath)) return std::move(*info);
    auto& profile = platform::Current().profile;
    InfoContent info;
    info.isProtected = profile.GetInt(infoPath, kSection, u"Protected", 0) != 0;
    for (size_t i = 0;; ++i) {
        Text name = profile.GetString(infoPath, kSection, FileKey(i), Text(), kMaxName + 2);
        if (name.empty() || name.size() > kMaxName) break;
        info.files.push_back(std::move(name));
    }
    return info;
}

bool IsPlainFileName(const Text& name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    return name.find_first_of(u"\\/:") == Text::npos && Trim(name) == name;
}

}  // namespace wlk::history

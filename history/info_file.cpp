#include "history/info_file.h"

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {

constexpr char16_t kSection[] = u"Files";
// Longer values are not names this program wrote (MAX_PATH).
constexpr size_t kMaxName = 260;

Text FileKey(size_t index) {
    return u"File" + ToText(static_cast<long long>(index));
}

}  // namespace

void WriteInfoHeader(const Text& infoPath, ChType type, bool isProtected) {
    auto& profile = platform::Current().profile;
    profile.WriteString(infoPath, kSection, u"DataType", ToText(type));
    profile.WriteString(infoPath, kSection, u"Protected", isProtected ? u"1" : u"0");
}

void WriteInfoProtected(const Text& infoPath, bool isProtected) {
    platform::Current().profile.WriteString(infoPath, kSection, u"Protected",
                                            isProtected ? u"1" : u"0");
}

void WriteInfoFiles(const Text& infoPath, const std::vector<Text>& names) {
    auto& profile = platform::Current().profile;
    for (size_t i = 0; i < names.size(); ++i)
        profile.WriteString(infoPath, kSection, FileKey(i), names[i]);
    // A rewritten item may have had more formats before; the loader must not
    // pick up their names.
    for (size_t i = names.size();; ++i) {
        if (profile.GetString(infoPath, kSection, FileKey(i), Text(), 2).empty()) break;
        profile.WriteString(infoPath, kSection, FileKey(i), std::nullopt);
    }
}

InfoContent ReadInfo(const Text& infoPath) {
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

#include "platform/sim/sim_profile.h"

namespace wlk::platform::sim {

std::optional<ini::Document> SimProfile::Load(const Text& file) {
    const auto bytes = files_.ReadAll(file);
    if (!bytes) return std::nullopt;
    return ini::Parse(*bytes);
}

std::optional<Text> SimProfile::Find(const Text& file, const Text& section, const Text& key) {
    const auto doc = Load(file);
    if (!doc) return std::nullopt;
    const ini::Section* found = ini::FindSection(*doc, section);
    const ini::Entry* entry = found ? ini::FindEntry(*found, key) : nullptr;
    // The first entry of that name answers, even when it has no '='.
    if (!entry) return std::nullopt;
    return entry->value;
}

Text SimProfile::GetString(const Text& file, const Text& section, const Text& key, const Text& def,
                           size_t bufferChars) {
    const auto value = Find(file, section, key);
    return value ? ini::CopyValue(*value, bufferChars) : ini::CopyDefault(def, bufferChars);
}

int SimProfile::GetInt(const Text& file, const Text& section, const Text& key, int def) {
    const Text value = GetString(file, section, key, Text(), ini::kIntBufferChars);
    return ini::ParseInt(value).value_or(def);
}

std::vector<Text> SimProfile::GetSection(const Text& file, const Text& section,
                                         size_t bufferChars) {
    const auto doc = Load(file);
    const ini::Section* found = doc ? ini::FindSection(*doc, section, ini::Name::AsGiven) : nullptr;
    if (!found) return {};
    return ini::SectionLines(*found, bufferChars);
}

bool SimProfile::WriteString(const Text& file, const Text& section, const Text& key,
                             const std::optional<Text>& value) {
    ini::Document doc = Load(file).value_or(ini::Document{});
    // Removing what is not there leaves the file as it was, or absent.
    if (!ini::SetValue(doc, section, key, value)) return true;
    const std::string bytes = ini::Serialize(doc);
    auto out = files_.CreateAlways(file, Security::Default);
    return out && out->Write(bytes.data(), bytes.size());
}

bool SimProfile::WriteSection(const Text& file, const Text& section,
                              const std::vector<Text>& lines) {
    ini::Document doc = Load(file).value_or(ini::Document{});
    // As Wine does it: every key of the section goes, then each line is set in turn.
    if (const ini::Section* found = ini::FindSection(doc, section))
        doc.sections[size_t(found - doc.sections.data())].entries.clear();
    for (const Text& line : lines) {
        const size_t equals = line.find(u'=');
        if (equals == Text::npos) continue;
        ini::SetValue(doc, section, line.substr(0, equals), line.substr(equals + 1));
    }
    const std::string bytes = ini::Serialize(doc);
    auto out = files_.CreateAlways(file, Security::Default);
    return out && out->Write(bytes.data(), bytes.size());
}

bool SimProfile::GetStruct(const Text& file, const Text& section, const Text& key, void* data,
                           size_t size) {
    // The stored text as it is: quotes around it are not removed.
    const auto hex = Find(file, section, key);
    return hex && ini::HexToStruct(*hex, static_cast<uint8_t*>(data), size);
}

bool SimProfile::WriteStruct(const Text& file, const Text& section, const Text& key,
                             const void* data, size_t size) {
    if (!data) return WriteString(file, section, key, std::nullopt);
    return WriteString(file, section, key,
                       ini::StructToHex(static_cast<const uint8_t*>(data), size));
}

}  // namespace wlk::platform::sim

#include "platform/sim/sim_profile.h"

namespace wlk::platform::sim {

namespace {
// The profile whose lock this thread holds: its own file calls find its held
// writes where it expects them.
thread_local const SimProfile* t_inside = nullptr;
}  // namespace

class SimProfile::Lock {
public:
    explicit Lock(SimProfile& profile) : lock_(profile.mutex_), outer_(t_inside) {
        t_inside = &profile;
    }
    ~Lock() { t_inside = outer_; }

private:
    std::lock_guard<std::mutex> lock_;
    const SimProfile* outer_;
};

SimProfile::SimProfile(SimFileSystem& files) : files_(files) {
    files_.AddHeldWrites(*this);
}

SimProfile::~SimProfile() {
    Forget();
    files_.RemoveHeldWrites(*this);
}

void SimProfile::PutDown() {
    if (!holding_ || t_inside == this) return;
    Lock lock(*this);
    WriteHeld();
}

void SimProfile::WriteHeld() {
    if (!holding_) return;
    holding_ = false;
    files_.Holding(false);
    std::vector<Text> held;
    for (auto& [file, kept] : kept_)
        if (kept.held) held.push_back(file);
    for (const Text& file : held) {
        Kept& kept = kept_[file];
        kept.held = false;
        Write(file, kept);
    }
}

void SimProfile::ForgetKept() {
    WriteHeld();
    kept_.clear();
}

SimProfile::Kept* SimProfile::Open(const Text& file) {
    // Counts and stamps are taken before the bytes: a write in between leaves
    // older ones with newer bytes, which costs one more read and nothing else.
    const uint64_t changes = files_.Changes();
    const auto found = kept_.find(file);
    if (found != kept_.end() && found->second.seen == changes) return &found->second;
    const std::optional<uint64_t> stamp = files_.WriteStamp(file);
    if (found != kept_.end() && stamp == found->second.stamp) {
        found->second.seen = changes;
        return &found->second;
    }
    // The file may be one held under another spelling of its name.
    WriteHeld();
    const std::optional<std::string> bytes = files_.ReadAll(file);
    if (!stamp || !bytes) {
        kept_.erase(file);
        return nullptr;
    }
    if (found == kept_.end() && kept_.size() >= kKeptFiles) ForgetKept();
    Kept& kept = kept_[file];
    kept.stamp = *stamp;
    kept.seen = changes;
    kept.doc = ini::Parse(*bytes);
    kept.exact = false;  // a file from elsewhere may hold what a rewrite changes
    return &kept;
}

SimProfile::Kept& SimProfile::OpenForWriting(const Text& file) {
    if (Kept* kept = Open(file)) return *kept;
    if (kept_.size() >= kKeptFiles) ForgetKept();
    // A new file starts empty, and empty is what it reads back as.
    return kept_[file] = Kept{0, 0, ini::Document{}, true};
}

bool SimProfile::Flush(const Text& file, Kept& kept) {
    // Nothing between now and the held write can take the file or its folder
    // away without putting the write down first.
    const bool held = kept.held || (kept.stamp != 0 && files_.CanWrite(file) &&
                                    !files_.LimitsSpace());
    if (kept.exact && held) {
        kept.held = true;
        if (!holding_.exchange(true)) files_.Holding(true);
        return true;
    }
    kept.held = false;
    WriteHeld();
    return Write(file, kept);
}

bool SimProfile::Write(const Text& file, Kept& kept) {
    const std::string bytes = ini::Serialize(kept.doc);
    auto out = files_.CreateAlways(file, Security::Default);
    if (!out || !out->Write(bytes.data(), bytes.size())) {
        kept_.erase(file);  // the next call reads whatever the file now holds
        return false;
    }
    kept.stamp = files_.WriteStamp(file).value_or(0);
    kept.seen = 0;  // the next call looks at the stamp
    if (!kept.exact) {
        kept.doc = ini::Parse(bytes);
        kept.exact = ini::Serialize(kept.doc) == bytes;
    }
    return true;
}

void SimProfile::Forget() {
    Lock lock(*this);
    ForgetKept();
}

std::optional<Text> SimProfile::Find(const Text& file, const Text& section, const Text& key) {
    Lock lock(*this);
    const Kept* kept = Open(file);
    if (!kept) return std::nullopt;
    const ini::Section* found = ini::FindSection(kept->doc, section);
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
    Lock lock(*this);
    const Kept* kept = Open(file);
    const ini::Section* found =
        kept ? ini::FindSection(kept->doc, section, ini::Name::AsGiven) : nullptr;
    if (!found) return {};
    return ini::SectionLines(*found, bufferChars);
}

bool SimProfile::WriteString(const Text& file, const Text& section, const Text& key,
                             const std::optional<Text>& value) {
    Lock lock(*this);
    Kept& kept = OpenForWriting(file);
    // Removing what is not there leaves the file as it was, or absent.
    if (!ini::SetValue(kept.doc, section, key, value)) return true;
    // A removal may bring a line that looks like a byte order mark to the start.
    if (kept.exact && (!value || !ini::ReadsBack(kept.doc, section, key))) kept.exact = false;
    return Flush(file, kept);
}

bool SimProfile::WriteSection(const Text& file, const Text& section,
                              const std::vector<Text>& lines) {
    Lock lock(*this);
    Kept& kept = OpenForWriting(file);
    // As Wine does it: every key of the section goes, then each line is set in turn.
    if (const ini::Section* found = ini::FindSection(kept.doc, section))
        kept.doc.sections[size_t(found - kept.doc.sections.data())].entries.clear();
    for (const Text& line : lines) {
        const size_t equals = line.find(u'=');
        if (equals == Text::npos) continue;
        ini::SetValue(kept.doc, section, line.substr(0, equals), line.substr(equals + 1));
    }
    kept.exact = false;
    return Flush(file, kept);
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

#include "platform/sim/sim_files.h"

#include <algorithm>

#include "platform/text.h"

namespace wlk::platform::sim {

namespace {

thread_local uint32_t t_lastError = 0;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorDiskFull = 112;

// The calls below report their failure as Windows would: missing, or refused.
bool Failed(uint32_t error) {
    t_lastError = error;
    return false;
}

// Windows-1252 in the range where it differs from Latin-1; the five codes it
// leaves free map to themselves, as MultiByteToWideChar does.
constexpr char16_t kCp1252From80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

class SimFileSystem::SimFile : public File {
public:
    SimFile(SimFileSystem& fs, Text key, bool append = false)
        : fs_(fs), key_(std::move(key)), append_(append) {}
    bool SeekToEnd() override {
        auto lock = fs_.Lock();
        position_ = fs_.nodes_[key_].bytes.size();
        return true;
    }
    bool Write(const void* data, size_t size) override {
        auto lock = fs_.Lock();
        Node& node = fs_.nodes_[key_];
        node.written = ++fs_.changes_;
        auto& bytes = node.bytes;
        if (append_) position_ = bytes.size();
        // A full disk takes what still fits and refuses the rest.
        const size_t fits = fs_.Fits(bytes.size(), position_, size);
        if (bytes.size() < position_ + fits) bytes.resize(position_ + fits);
        bytes.replace(position_, fits, static_cast<const char*>(data), fits);
        position_ += fits;
        return fits == size || Failed(kErrorDiskFull);
    }

private:
    SimFileSystem& fs_;
    Text key_;
    bool append_;
    size_t position_ = 0;
};

std::unique_lock<std::mutex> SimFileSystem::Lock() {
    if (holding_ != 0) {
        std::vector<HeldWrites*> writers;
        {
            std::lock_guard lock(heldMutex_);
            writers = held_;
        }
        // Unlocked: putting down writes comes back here.
        for (HeldWrites* writer : writers) writer->PutDown();
    }
    return std::unique_lock(mutex_);
}

void SimFileSystem::AddHeldWrites(HeldWrites& writer) {
    std::lock_guard lock(heldMutex_);
    held_.push_back(&writer);
}

void SimFileSystem::RemoveHeldWrites(HeldWrites& writer) {
    std::lock_guard lock(heldMutex_);
    std::erase(held_, &writer);
}

void SimFileSystem::Holding(bool on) {
    holding_ += on ? 1 : -1;
}

bool SimFileSystem::LimitsSpace() {
    auto lock = Lock();
    return capacity_.has_value();
}

SimFileSystem::SimFileSystem() {
    nodes_[u"c:"].directory = true;
    drives_[u'c'] = DriveType::Fixed;
}

Text SimFileSystem::Key(const Text& path) {
    Text key = ToLower(path);
    std::replace(key.begin(), key.end(), u'/', u'\\');
    while (!key.empty() && key.back() == u'\\') key.pop_back();
    return key;
}

bool SimFileSystem::ParentExists(const Text& key) {
    size_t slash = key.rfind(u'\\');
    if (slash == Text::npos) return false;
    auto it = nodes_.find(key.substr(0, slash));
    return it != nodes_.end() && it->second.directory;
}

SimFileSystem::Node& SimFileSystem::Make(const Text& path, bool directory, Security security) {
    Text key = Key(path);
    Text given = path;
    while (!given.empty() && (given.back() == u'\\' || given.back() == u'/')) given.pop_back();
    Node& node = nodes_[key];
    node = Node{};
    node.written = ++changes_;
    node.directory = directory;
    node.security = security;
    node.name = given.substr(given.find_last_of(u"\\/") + 1);
    return node;
}

bool SimFileSystem::FileWritable(const Text& key) {
    auto it = nodes_.find(key);
    return Writable(key) && (it == nodes_.end() || !it->second.readOnly);
}

bool SimFileSystem::Writable(const Text& key) {
    for (const auto& locked : readOnly_)
        if (key == locked || key.starts_with(locked + u"\\")) return false;
    return true;
}

std::unique_ptr<File> SimFileSystem::OpenForAppend(const Text& path) {
    auto lock = Lock();
    Text key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end() || it->second.directory || !FileWritable(key)) return nullptr;
    return std::make_unique<SimFile>(*this, key, true);
}

std::unique_ptr<File> SimFileSystem::CreateAlways(const Text& path, Security security) {
    auto lock = Lock();
    Text key = Key(path);
    auto it = nodes_.find(key);
    if ((it != nodes_.end() && it->second.directory) || !ParentExists(key) || !FileWritable(key))
        return nullptr;
    uint64_t created = it != nodes_.end() ? it->second.created : 0;
    Make(path, false, security).created = created;  // a replaced file keeps its creation time
    return std::make_unique<SimFile>(*this, key);
}

PathKind SimFileSystem::Kind(const Text& path) {
    auto lock = Lock();
    auto it = nodes_.find(Key(path));
    if (it == nodes_.end()) return PathKind::Missing;
    return it->second.directory ? PathKind::Directory : PathKind::File;
}

bool SimFileSystem::CreateDirectory(const Text& path, Security security) {
    auto lock = Lock();
    Text key = Key(path);
    if (nodes_.count(key) || !ParentExists(key) || !Writable(key)) return false;
    Make(path, true, security);
    return true;
}

bool SimFileSystem::DeleteFile(const Text& path) {
    auto lock = Lock();
    Text key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end() || it->second.directory || !FileWritable(key)) return false;
    nodes_.erase(it);
    ++changes_;
    return true;
}

std::optional<std::string> SimFileSystem::ReadAll(const Text& path) {
    auto lock = Lock();
    auto it = nodes_.find(Key(path));
    if (it == nodes_.end() || it->second.directory) return std::nullopt;
    const Node& node = it->second;
    if (node.Size() > largestRead) largestRead = node.Size();
    if (node.largeSize) return std::nullopt;
    return node.bytes;
}

bool SimFileSystem::CanWrite(const Text& path) {
    auto lock = Lock();
    Text key = Key(path);
    return nodes_.count(key) && FileWritable(key);
}

DriveType SimFileSystem::GetDriveType(const Text& root) {
    auto lock = Lock();
    if (root.size() < 2 || root[1] != u':') return DriveType::NoRootDir;
    auto it = drives_.find(ToLower(root.substr(0, 1))[0]);
    return it == drives_.end() ? DriveType::NoRootDir : it->second;
}

void SimFileSystem::SetDriveType(char16_t letter, DriveType type) {
    auto lock = Lock();
    char16_t lower = ToLower(Text(1, letter))[0];
    drives_[lower] = type;
    nodes_[Text(1, lower) + u":"].directory = true;
}

uint64_t SimFileSystem::Used() const {
    uint64_t used = 0;
    for (const auto& [key, node] : nodes_) used += node.bytes.size();
    return used;
}

void SimFileSystem::SetFreeSpace(std::optional<uint64_t> bytes) {
    auto lock = Lock();
    capacity_ = bytes ? std::optional<uint64_t>(Used() + *bytes) : std::nullopt;
}

size_t SimFileSystem::Fits(size_t fileSize, size_t position, size_t size) const {
    if (!capacity_ || position + size <= fileSize) return size;
    const uint64_t used = Used();
    const uint64_t free = *capacity_ > used ? *capacity_ - used : 0;
    const uint64_t growth = position + size - std::max(fileSize, position);
    return growth <= free ? size : size - size_t(growth - free);
}

void SimFileSystem::DenyWrites(const Text& path) {
    auto lock = Lock();
    readOnly_.insert(Key(path));
}

void SimFileSystem::Put(const Text& path, const std::string& bytes) {
    auto lock = Lock();
    Text key = Key(path);
    // Creates the missing folders on the way, as a test set-up wants.
    for (size_t slash = key.find(u'\\'); slash != Text::npos; slash = key.find(u'\\', slash + 1)) {
        if (!nodes_.count(key.substr(0, slash)))
            Make(path.substr(0, slash), true, Security::Default);
    }
    Make(path, false, Security::Default).bytes = bytes;
}

void SimFileSystem::PutLarge(const Text& path, uint64_t size) {
    Put(path, std::string());
    auto lock = Lock();
    Node& node = nodes_[Key(path)];
    node.largeSize = size;
    node.written = ++changes_;
}

std::optional<uint64_t> SimFileSystem::WriteStamp(const Text& path) {
    auto lock = Lock();
    auto it = nodes_.find(Key(path));
    if (it == nodes_.end() || it->second.directory) return std::nullopt;
    return it->second.written;
}

uint64_t SimFileSystem::Changes() {
    return changes_;
}

Security SimFileSystem::SecurityOf(const Text& path) {
    auto lock = Lock();
    auto it = nodes_.find(Key(path));
    return it == nodes_.end() ? Security::Default : it->second.security;
}

namespace {
// "*" matches any run of characters, "?" one; letter case is ignored.
bool Matches(std::u16string_view name, std::u16string_view pattern) {
    if (pattern.empty()) return name.empty();
    if (pattern[0] == u'*') {
        for (size_t skip = 0; skip <= name.size(); ++skip)
            if (Matches(name.substr(skip), pattern.substr(1))) return true;
        return false;
    }
    if (name.empty()) return false;
    bool same = pattern[0] == u'?' || EqualsIgnoreCase(name.substr(0, 1), pattern.substr(0, 1));
    return same && Matches(name.substr(1), pattern.substr(1));
}
}  // namespace

std::vector<DirEntry> SimFileSystem::List(const Text& folder, const Text& pattern) {
    // As on Windows, "*.*" also matches names without a dot.
    if (pattern == u"*.*") return List(folder, u"*");
    auto lock = Lock();
    std::vector<DirEntry> entries;
    Text prefix = Key(folder) + u"\\";
    for (const auto& [key, node] : nodes_) {
        if (!key.starts_with(prefix) || key.find(u'\\', prefix.size()) != Text::npos) continue;
        if (Matches(node.name, pattern))
            entries.push_back({node.name, node.directory, node.Size(), node.written});
    }
    return entries;
}

std::unique_ptr<File> SimFileSystem::CreateNew(const Text& path, Security security) {
    auto lock = Lock();
    Text key = Key(path);
    const uint32_t error = nodes_.count(key)    ? kErrorFileExists
                           : !ParentExists(key) ? kErrorPathNotFound
                           : !Writable(key)     ? kErrorAccessDenied
                                                : 0;
    if (error) {
        Failed(error);
        return nullptr;
    }
    Make(path, false, security);
    return std::make_unique<SimFile>(*this, key);
}

bool SimFileSystem::Replace(const Text& from, const Text& to) {
    auto lock = Lock();
    Text source = Key(from);
    Text target = Key(to);
    auto it = nodes_.find(source);
    if (it == nodes_.end() || it->second.directory) return Failed(kErrorFileNotFound);
    auto old = nodes_.find(target);
    if (!Writable(source) || (old != nodes_.end() && old->second.directory) ||
        !FileWritable(target) || !Writable(target))
        return Failed(kErrorAccessDenied);
    if (!ParentExists(target)) return Failed(kErrorPathNotFound);
    Node moved = it->second;
    nodes_.erase(it);
    Text given = to;
    moved.name = given.substr(given.find_last_of(u"\\/") + 1);
    nodes_[target] = moved;
    ++changes_;
    return true;
}

bool SimFileSystem::RemoveDirectory(const Text& path) {
    auto lock = Lock();
    Text key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end() || !it->second.directory || !Writable(key)) return false;
    for (const auto& [other, node] : nodes_)
        if (other.starts_with(key + u"\\")) return false;  // not empty
    nodes_.erase(it);
    ++changes_;
    return true;
}

bool SimFileSystem::Move(const Text& from, const Text& to) {
    auto lock = Lock();
    Text source = Key(from);
    Text target = Key(to);
    if (!nodes_.count(source) || nodes_.count(target) || !ParentExists(target) ||
        !Writable(source) || !Writable(target) || target.starts_with(source + u"\\"))
        return false;
    std::map<Text, Node> moved;
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (it->first == source || it->first.starts_with(source + u"\\")) {
            moved[target + it->first.substr(source.size())] = std::move(it->second);
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
    Text given = to;
    while (!given.empty() && given.back() == u'\\') given.pop_back();
    moved[target].name = given.substr(given.find_last_of(u"\\/") + 1);
    nodes_.merge(moved);
    ++changes_;
    return true;
}

bool SimFileSystem::IsReadOnly(const Text& path) {
    auto lock = Lock();
    auto it = nodes_.find(Key(path));
    return it != nodes_.end() && it->second.readOnly;
}

bool SimFileSystem::SetReadOnly(const Text& path, bool on) {
    auto lock = Lock();
    Text key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end() || !Writable(key)) return false;
    it->second.readOnly = on;
    return true;
}

std::optional<uint64_t> SimFileSystem::CreationTime(const Text& path) {
    auto lock = Lock();
    auto it = nodes_.find(Key(path));
    if (it == nodes_.end()) return std::nullopt;
    return it->second.created;
}

bool SimFileSystem::SetCreationTime(const Text& path, uint64_t fileTime) {
    auto lock = Lock();
    Text key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end() || it->second.directory || !FileWritable(key)) return false;
    it->second.created = fileTime;
    return true;
}

uint32_t SimFileSystem::LastError() {
    return t_lastError;
}

Text SimFileSystem::AnsiText(std::string_view bytes) {
    Text text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text += b >= 0x80 && b < 0xA0 ? kCp1252From80[b - 0x80] : char16_t(b);
    }
    return text;
}

}  // namespace wlk::platform::sim

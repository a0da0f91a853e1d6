#include "platform/sim/sim_files.h"

#include "platform/text.h"

namespace wlk::platform::sim {

class SimFileSystem::SimFile : public File {
public:
    SimFile(SimFileSystem& fs, Text key) : fs_(fs), key_(std::move(key)) {}
    bool SeekToEnd() override {
        std::lock_guard lock(fs_.mutex_);
        position_ = fs_.nodes_[key_].bytes.size();
        return true;
    }
    bool Write(const void* data, size_t size) override {
        std::lock_guard lock(fs_.mutex_);
        auto& bytes = fs_.nodes_[key_].bytes;
        if (bytes.size() < position_ + size) bytes.resize(position_ + size);
        bytes.replace(position_, size, static_cast<const char*>(data), size);
        position_ += size;
        return true;
    }

private:
    SimFileSystem& fs_;
    Text key_;
    size_t position_ = 0;
};

SimFileSystem::SimFileSystem() {
    nodes_[u"c:"].directory = true;
    drives_[u'c'] = DriveType::Fixed;
}

Text SimFileSystem::Key(const Text& path) {
    Text key = ToLower(path);
    for (auto& c : key)
        if (c == u'/') c = u'\\';
    while (!key.empty() && key.back() == u'\\') key.pop_back();
    return key;
}

bool SimFileSystem::ParentExists(const Text& key) {
    size_t slash = key.rfind(u'\\');
    if (slash == Text::npos) return false;
    auto it = nodes_.find(key.substr(0, slash));
    return it != nodes_.end() && it->second.directory;
}

bool SimFileSystem::Writable(const Text& key) {
    for (const auto& locked : readOnly_)
        if (key == locked || key.starts_with(locked + u"\\")) return false;
    return true;
}

std::unique_ptr<File> SimFileSystem::OpenExistingForWrite(const Text& path) {
    std::lock_guard lock(mutex_);
    Text key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end() || it->second.directory || !Writable(key)) return nullptr;
    return std::make_unique<SimFile>(*this, key);
}

std::unique_ptr<File> SimFileSystem::CreateAlways(const Text& path, Security security) {
    std::lock_guard lock(mutex_);
    Text key = Key(path);
    auto it = nodes_.find(key);
    if ((it != nodes_.end() && it->second.directory) || !ParentExists(key) || !Writable(key))
        return nullptr;
    nodes_[key] = Node{false, {}, security};
    return std::make_unique<SimFile>(*this, key);
}

PathKind SimFileSystem::Kind(const Text& path) {
    std::lock_guard lock(mutex_);
    auto it = nodes_.find(Key(path));
    if (it == nodes_.end()) return PathKind::Missing;
    return it->second.directory ? PathKind::Directory : PathKind::File;
}

bool SimFileSystem::CreateDirectory(const Text& path, Security security) {
    std::lock_guard lock(mutex_);
    Text key = Key(path);
    if (nodes_.count(key) || !ParentExists(key) || !Writable(key)) return false;
    nodes_[key] = Node{true, {}, security};
    return true;
}

bool SimFileSystem::DeleteFile(const Text& path) {
    std::lock_guard lock(mutex_);
    Text key = Key(path);
    auto it = nodes_.find(key);
    if (it == nodes_.end() || it->second.directory || !Writable(key)) return false;
    nodes_.erase(it);
    return true;
}

std::optional<std::string> SimFileSystem::ReadAll(const Text& path) {
    std::lock_guard lock(mutex_);
    auto it = nodes_.find(Key(path));
    if (it == nodes_.end() || it->second.directory) return std::nullopt;
    return it->second.bytes;
}

bool SimFileSystem::CanWrite(const Text& path) {
    std::lock_guard lock(mutex_);
    Text key = Key(path);
    return nodes_.count(key) && Writable(key);
}

DriveType SimFileSystem::GetDriveType(const Text& root) {
    std::lock_guard lock(mutex_);
    if (root.size() < 2 || root[1] != u':') return DriveType::NoRootDir;
    auto it = drives_.find(ToLower(root.substr(0, 1))[0]);
    return it == drives_.end() ? DriveType::NoRootDir : it->second;
}

void SimFileSystem::SetDriveType(char16_t letter, DriveType type) {
    std::lock_guard lock(mutex_);
    char16_t lower = ToLower(Text(1, letter))[0];
    drives_[lower] = type;
    nodes_[Text(1, lower) + u":"].directory = true;
}

void SimFileSystem::SetReadOnly(const Text& path) {
    std::lock_guard lock(mutex_);
    readOnly_.insert(Key(path));
}

void SimFileSystem::Put(const Text& path, const std::string& bytes) {
    std::lock_guard lock(mutex_);
    Text key = Key(path);
    // Creates the missing folders on the way, as a test set-up wants.
    for (size_t slash = key.find(u'\\'); slash != Text::npos; slash = key.find(u'\\', slash + 1))
        nodes_[key.substr(0, slash)].directory = true;
    nodes_[key] = Node{false, bytes, Security::Default};
}

Security SimFileSystem::SecurityOf(const Text& path) {
    std::lock_guard lock(mutex_);
    auto it = nodes_.find(Key(path));
    return it == nodes_.end() ? Security::Default : it->second.security;
}

}  // namespace wlk::platform::sim

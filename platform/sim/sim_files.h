// An in-memory file system with Windows path rules (case-insensitive names,
// backslashes, drive letters), settable drive types and write permissions.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "platform/files.h"

namespace wlk::platform::sim {

// A writer that keeps some of its writes in memory for a while, as the
// profile functions keep a run of writes to one file.
class HeldWrites {
public:
    virtual ~HeldWrites() = default;
    // Writes out what is held; called before any call that could see or
    // change a file, from whichever thread makes that call.
    virtual void PutDown() = 0;
};

class SimFileSystem : public FileSystem {
public:
    SimFileSystem();

    std::unique_ptr<File> OpenForAppend(const Text& path) override;
    std::unique_ptr<File> CreateAlways(const Text& path, Security security) override;
    PathKind Kind(const Text& path) override;
    bool CreateDirectory(const Text& path, Security security) override;
    bool DeleteFile(const Text& path) override;
    std::optional<std::string> ReadAll(const Text& path) override;
    bool CanWrite(const Text& path) override;
    DriveType GetDriveType(const Text& root) override;
    std::vector<DirEntry> List(const Text& folder, const Text& pattern) override;
    std::unique_ptr<File> CreateNew(const Text& path, Security security) override;
    bool Replace(const Text& from, const Text& to) override;
    bool RemoveDirectory(const Text& path) override;
    bool Move(const Text& from, const Text& to) override;
    bool IsReadOnly(const Text& path) override;
    bool SetReadOnly(const Text& path, bool on) override;
    std::optional<uint64_t> CreationTime(const Text& path) override;
    bool SetCreationTime(const Text& path, uint64_t fileTime) override;
    uint32_t LastError() override;
    Text AnsiText(std::string_view bytes) override;

    // Test knobs and views.
    void SetDriveType(char16_t letter, DriveType type);
    // Files and folders at or under `path` refuse writes.
    void DenyWrites(const Text& path);
    // From now on `bytes` more fit on the disk (nothing: no limit); a write
    // past them stores what fits and fails with ERROR_DISK_FULL. Deleting
    // files makes room again.
    void SetFreeSpace(std::optional<uint64_t> bytes);
    void Put(const Text& path, const std::string& bytes);
    // A file that lists at `size` bytes without holding them, for sizes no
    // test should allocate: a read of it fails, after being counted whole.
    void PutLarge(const Text& path, uint64_t size);
    // The most bytes one ReadAll took, or would have taken; a test may set it to 0.
    std::atomic<uint64_t> largestRead{0};
    Security SecurityOf(const Text& path);
    // A number that changes with every write to the file, as its last-write
    // time does on Windows (but never twice the same); nothing when missing.
    std::optional<uint64_t> WriteStamp(const Text& path);
    // How many times a path was written, made, moved or deleted: while the
    // count stays the same, no file changed. Held writes are not counted.
    uint64_t Changes();
    // Whether a write can fail for want of space (SetFreeSpace was given a number).
    bool LimitsSpace();
    void AddHeldWrites(HeldWrites& writer);
    void RemoveHeldWrites(HeldWrites& writer);
    // A writer tells when it starts and stops holding writes, so that calls
    // made while nothing is held do not ask.
    void Holding(bool on);

private:
    struct Node {
        bool directory = false;
        std::string bytes;
        uint64_t largeSize = 0;  // from PutLarge: bytes are not kept
        uint64_t Size() const { return largeSize ? largeSize : bytes.size(); }
        Security security = Security::Default;
        bool readOnly = false;
        uint64_t created = 0;
        uint64_t written = 0;  // the write stamp
        Text name;             // as given when made, for listings
    };
    class SimFile;

    static Text Key(const Text& path);
    bool ParentExists(const Text& key);
    bool Writable(const Text& key);
    // Permitted and without the read-only attribute.
    bool FileWritable(const Text& key);
    Node& Make(const Text& path, bool directory, Security security);
    // How many of `size` bytes written at `position` of a file of
    // `fileSize` bytes still fit on the disk.
    size_t Fits(size_t fileSize, size_t position, size_t size) const;
    uint64_t Used() const;
    // Puts down the held writes, then locks the files.
    std::unique_lock<std::mutex> Lock();

    std::mutex mutex_;
    std::map<Text, Node> nodes_;
    std::set<Text> readOnly_;
    std::map<char16_t, DriveType> drives_;
    std::optional<uint64_t> capacity_;
    std::atomic<uint64_t> changes_{0};
    std::mutex heldMutex_;
    std::vector<HeldWrites*> held_;
    std::atomic<int> holding_{0};
};

}  // namespace wlk::platform::sim

// The profile (INI) functions over the simulated file system, behaving as
// the Windows ones do under Wine. Every call sees the file as a fresh read
// would; a write rewrites it whole in the encoding it had. The parsed file is
// kept between calls, so that a settings load or save (dozens of calls on one
// file) does not parse it dozens of times; and a run of writes to one file
// is held in memory until anything else looks at the files, so that a save
// writes the file once and not dozens of times.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/profile.h"
#include "platform/sim/ini_text.h"
#include "platform/sim/sim_files.h"

namespace wlk::platform::sim {

class SimProfile : public Profile, private HeldWrites {
public:
    explicit SimProfile(SimFileSystem& files);
    ~SimProfile() override;

    Text GetString(const Text& file, const Text& section, const Text& key, const Text& def,
                   size_t bufferChars) override;
    int GetInt(const Text& file, const Text& section, const Text& key, int def) override;
    std::vector<Text> GetSection(const Text& file, const Text& section,
                                 size_t bufferChars) override;
    bool WriteString(const Text& file, const Text& section, const Text& key,
                     const std::optional<Text>& value) override;
    bool WriteSection(const Text& file, const Text& section,
                      const std::vector<Text>& lines) override;
    bool GetStruct(const Text& file, const Text& section, const Text& key, void* data,
                   size_t size) override;
    bool WriteStruct(const Text& file, const Text& section, const Text& key, const void* data,
                     size_t size) override;

    // Drops the parsed files kept so far, for a caller that counts the memory
    // left allocated after its work, as the fuzzer does after every run.
    void Forget();

private:
    class Lock;
    struct Kept {
        uint64_t stamp = 0;  // the file's write stamp when parsed or written
        uint64_t seen = 0;   // the file system's change count when last looked at
        ini::Document doc;
        // Whether the file holds `doc` written out and reads back as `doc`:
        // then a write whose own line reads back as written needs no new
        // parse. A value written with a trailing blank, for one, loses it.
        bool exact = false;
        // Whether the file lags behind `doc`, which is then exact.
        bool held = false;
    };
    // Past this many files, the keeping starts over.
    static constexpr size_t kKeptFiles = 10;

    // The file as a fresh read gives it, nothing when it is missing. The
    // caller holds mutex_.
    Kept* Open(const Text& file);
    // The same, or an empty document for a missing file that a write creates.
    Kept& OpenForWriting(const Text& file);
    // The stored value of a key with '=', as the file has it.
    std::optional<Text> Find(const Text& file, const Text& section, const Text& key);
    // Writes the changed document out, or holds it when the write cannot
    // fail and the file would read back as `doc`.
    bool Flush(const Text& file, Kept& kept);
    bool Write(const Text& file, Kept& kept);
    void PutDown() override;
    // The caller holds mutex_.
    void WriteHeld();
    // Drops the kept files, once the held ones are written.
    void ForgetKept();

    SimFileSystem& files_;
    std::mutex mutex_;
    std::unordered_map<Text, Kept> kept_;
    std::atomic<bool> holding_{false};
};

}  // namespace wlk::platform::sim

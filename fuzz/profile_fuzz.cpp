// Arbitrary bytes as a settings file: the INI reader and writer must neither
// crash nor lose a value they were just given.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sim/ini_text.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile.h"

namespace {

using namespace wlk;
using namespace wlk::platform::sim;

void Require(bool condition) {
    if (!condition) std::abort();
}

const Text kFile = u"C:\\fuzz\\Settings.ini";

// Rewriting settles: a line that was all NUL comes back blank once and is
// gone the next time, and nothing changes after that, unless a rewrite
// happened to start with a byte order mark of its own.
void CheckLayoutSettles(const std::string& bytes) {
    const ini::Document doc = ini::Parse(bytes);
    const ini::Document once = ini::Parse(ini::Serialize(doc));
    const std::string twice = ini::Serialize(once);
    const ini::Document again = ini::Parse(twice);
    if (once.encoding == doc.encoding && again.encoding == doc.encoding)
        Require(ini::Serialize(again) == twice);
}

// Every read parses the file again, so only the first few names are tried.
constexpr size_t kNamesTried = 6;

void CheckReads(SimProfile& profile, const ini::Document& doc) {
    for (size_t s = 0; s < doc.sections.size() && s < kNamesTried; ++s) {
        const ini::Section& section = doc.sections[s];
        for (size_t chars : {size_t(1), size_t(2), size_t(7), size_t(102400)}) {
            size_t used = 1;
            for (const Text& line : profile.GetSection(kFile, section.name, chars))
                used += line.size() + 1;
            Require(chars < 2 || used <= chars);
        }
        for (size_t e = 0; e < section.entries.size() && e < kNamesTried; ++e) {
            const ini::Entry& entry = section.entries[e];
            for (size_t chars : {size_t(1), size_t(5), size_t(1024)})
                Require(profile.GetString(kFile, section.name, entry.key, u"d", chars).size() <
                        chars);
            profile.GetInt(kFile, section.name, entry.key, 0);
            uint8_t data[4] = {};
            profile.GetStruct(kFile, section.name, entry.key, data, sizeof data);
        }
    }
}

// Whether the file still reads in the encoding it started with: an ANSI file
// whose rewrite happens to begin with "\xFF\xFE" turns into UTF-16.
bool SameEncoding(SimFileSystem& files, ini::Encoding encoding) {
    return ini::Parse(files.ReadAll(kFile).value_or(std::string())).encoding == encoding;
}

void CheckWriteReadsBack(SimFileSystem& files, SimProfile& profile, ini::Encoding encoding) {
    const Text value = u"Value \u0416";
    Require(profile.WriteString(kFile, u"Fuzz", u"Key", value));
    if (!SameEncoding(files, encoding)) return;
    const Text expected = encoding == ini::Encoding::Ansi ? u"Value ?" : value;
    Require(profile.GetString(kFile, u"fuzz", u"key", u"", 100) == expected);

    const uint8_t block[3] = {0x00, 0x7F, 0xFF};
    uint8_t back[3] = {};
    Require(profile.WriteStruct(kFile, u"Fuzz", u"Block", block, sizeof block));
    if (!SameEncoding(files, encoding)) return;
    Require(profile.GetStruct(kFile, u"Fuzz", u"Block", back, sizeof back));
    Require(back[0] == 0x00 && back[1] == 0x7F && back[2] == 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckLayoutSettles(bytes);

    SimFileSystem files;
    SimProfile profile(files);
    files.Put(kFile, bytes);
    const ini::Document doc = ini::Parse(bytes);
    CheckReads(profile, doc);
    CheckWriteReadsBack(files, profile, doc.encoding);
    return 0;
}

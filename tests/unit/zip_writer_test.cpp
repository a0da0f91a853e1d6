// The ZIP writer: archives read back by independent readers (Python's zipfile
// and unzip), and how they reach the disk.
#include "info/zip_writer.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "support/test_platform.h"

namespace wlk::test {
namespace {

constexpr platform::LocalTime kTime{
    .year = 2025, .month = 3, .day = 14, .hour = 12, .minute = 30, .second = 45};

struct Unpacked {
    std::string name;  // UTF-8
    std::string method, flags, time;
    std::string bytes;
};

// Lists, tests and extracts the archive with Python's zipfile; each entry's
// bytes go to a file named by its position, so that names never meet the disk.
constexpr char kReader[] = R"(import sys, zipfile
d = sys.argv[1]
with zipfile.ZipFile(d + '/archive.zip') as z:
    if z.testzip() is not None: sys.exit(3)
    with open(d + '/manifest', 'w', encoding='utf-8') as m:
        for i, info in enumerate(z.infolist()):
            open(f'{d}/{i}', 'wb').write(z.read(info))
            t = '-'.join(map(str, info.date_time))
            m.write(f'{info.filename}\t{info.compress_type}\t{info.flag_bits:#x}\t{t}\n')
)";

std::string ReadHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteHostFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// The simulated files live in memory: the archive is copied out for the readers.
class ZipReadBack : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        char pattern[] = "/tmp/wlk_zip_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        host_ = pattern;
    }
    void TearDown() override {
        std::filesystem::remove_all(host_);
        PlatformTest::TearDown();
    }

    std::vector<Unpacked> Unpack(const std::string& archive) {
        WriteHostFile(host_ / "archive.zip", archive);
        WriteHostFile(host_ / "reader.py", kReader);
        const std::string dir = host_.string();
        EXPECT_EQ(std::system(("unzip -tqq " + dir + "/archive.zip > /dev/null").c_str()), 0);
        EXPECT_EQ(std::system(("python3 " + dir + "/reader.py " + dir).c_str()), 0);
        std::vector<Unpacked> entries;
        std::istringstream manifest(ReadHostFile(host_ / "manifest"));
        for (std::string line; std::getline(manifest, line);) {
            Unpacked e;
            std::istringstream fields(line);
            std::getline(fields, e.name, '\t');
            std::getline(fields, e.method, '\t');
            std::getline(fields, e.flags, '\t');
            std::getline(fields, e.time, '\t');
            e.bytes = ReadHostFile(host_ / std::to_string(entries.size()));
            entries.push_back(std::move(e));
        }
        return entries;
    }

    std::filesystem::path host_;
};

TEST_F(ZipReadBack, EmptyNonAsciiAndSeveralEntriesComeBackWholeOverAnOlderFile) {
    const std::string text = "Hello, hello, hello, hello, hello, hello, hello!\r\n";
    const std::string tiny = "ab";
    const Text path = Dir() + u"Привет.zip";
    WriteBytes(path, "an older archive, replaced whole");
    ASSERT_TRUE(info::WriteZipFile(
        path, {{u"empty.txt", ""}, {u"Привет.txt", text}, {u"folder/tiny.bin", tiny}}, kTime));
    const auto entries = Unpack(Bytes(path));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "empty.txt");
    EXPECT_EQ(entries[0].bytes, "");
    EXPECT_EQ(entries[1].name, "Привет.txt");
    EXPECT_EQ(entries[1].bytes, text);
    EXPECT_EQ(entries[1].method, "8") << "repeated text shrinks: deflated";
    EXPECT_EQ(entries[2].name, "folder/tiny.bin");
    EXPECT_EQ(entries[2].bytes, tiny);
    EXPECT_EQ(entries[2].method, "0") << "two bytes do not shrink: stored";
    for (const auto& e : entries) {
        EXPECT_EQ(e.flags, "0x800") << e.name << ": names marked UTF-8";
        EXPECT_EQ(e.time, "2025-3-14-12-30-44") << e.name << ": DOS time, two-second steps";
    }
    EXPECT_EQ(P().files.Kind(path + u".tmp"), platform::PathKind::Missing);

    const Text lost = Dir() + u"missing\\report.zip";
    EXPECT_FALSE(info::WriteZipFile(lost, {{u"new.txt", "new"}}, kTime));
    EXPECT_EQ(P().files.Kind(lost), platform::PathKind::Missing);
    EXPECT_EQ(P().files.Kind(lost + u".tmp"), platform::PathKind::Missing);
}

TEST_F(ZipReadBack, TwentyMegabytesCompressibleAndRandom) {
    constexpr size_t kSize = 20u << 20;
    std::string lines, noise(kSize, '\0');
    while (lines.size() < kSize) lines += "line " + std::to_string(lines.size() % 977) + "\r\n";
    lines.resize(kSize);
    std::mt19937 random(2025);
    for (char& c : noise) c = char(random());
    const auto archive = info::BuildZip({{u"lines.txt", lines}, {u"noise.bin", noise}}, kTime);
    ASSERT_TRUE(archive);
    EXPECT_LT(archive->size(), kSize + kSize / 10) << "the lines shrink to a fraction";
    const auto entries = Unpack(*archive);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].method, "8");
    EXPECT_TRUE(entries[0].bytes == lines);
    EXPECT_EQ(entries[1].method, "0");
    EXPECT_TRUE(entries[1].bytes == noise);
}

}  // namespace
}  // namespace wlk::test

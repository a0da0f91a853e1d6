// Two processes append to one log file at the same time, as the program and
// its other components do: no line may be lost, cut or mixed with another.
#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include "support/log_entries.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using platform::win32::UniqueHandle;

constexpr int kLinesEach = 500;
constexpr DWORD kWaitMs = 300000;
const char* const kWriters[] = {"A", "B"};

Text WriterProgram() {
    wchar_t own[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
    Text path = platform::win32::FromWide(own, length);
    return path.substr(0, path.rfind(u'\\') + 1) + u"wlk_log_writer.exe";
}

UniqueHandle StartWriter(const Text& log, const char* name, const Text& ready, const Text& go) {
    Text command = u"\"" + WriterProgram() + u"\" \"" + log + u"\" " + T(name) + u" " +
                   ToText(kLinesEach) + u" " + ready + u" " + go;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(command.data()), nullptr, nullptr,
                        FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return UniqueHandle();
    }
    CloseHandle(process.hThread);
    return UniqueHandle(process.hProcess);
}

UniqueHandle NamedEvent(const Text& name) {
    return UniqueHandle(
        CreateEventW(nullptr, TRUE, FALSE, reinterpret_cast<const wchar_t*>(name.c_str())));
}

class EventLogProcessesTest : public PlatformTest {};

TEST_F(EventLogProcessesTest, TwoWritersAtOnceLoseAndMixNoLine) {
    const Text log = Path("LogReport.txt");
    const Text tag = ToText(GetCurrentProcessId());
    const Text go = u"Local\\wlk-test-go-" + tag;
    UniqueHandle goEvent = NamedEvent(go);
    ASSERT_TRUE(goEvent);
    std::vector<UniqueHandle> readyEvents;
    std::vector<UniqueHandle> writers;
    for (const char* name : kWriters) {
        const Text ready = u"Local\\wlk-test-ready-" + tag + T(name);
        readyEvents.push_back(NamedEvent(ready));
        writers.push_back(StartWriter(log, name, ready, go));
        ASSERT_TRUE(writers.back()) << "cannot start " << ToUtf8(WriterProgram());
    }
    // Both have opened the log before either writes a line.
    HANDLE ready[] = {readyEvents[0].Get(), readyEvents[1].Get()};
    ASSERT_EQ(WaitForMultipleObjects(2, ready, TRUE, kWaitMs), WAIT_OBJECT_0);
    SetEvent(goEvent.Get());
    HANDLE ended[] = {writers[0].Get(), writers[1].Get()};
    ASSERT_EQ(WaitForMultipleObjects(2, ended, TRUE, kWaitMs), WAIT_OBJECT_0);
    for (auto& writer : writers) {
        DWORD code = 1;
        GetExitCodeProcess(writer.Get(), &code);
        EXPECT_EQ(code, 0u);
    }

    std::string bytes = Bytes(log);
    ASSERT_EQ(bytes.substr(0, 2), kBom16);
    EXPECT_EQ(Utf16ToUtf8(bytes.substr(2)).find("\xEF\xBB\xBF"), std::string::npos)
        << "a second byte order mark";
    // Each writer's lines all there, whole, once each and in the order written.
    const std::vector<LogEntry> entries = LogEntries(bytes);
    EXPECT_EQ(entries.size(), 2u * kLinesEach);
    for (const std::string writer : kWriters) {
        std::vector<std::string> lines, expected;
        for (const LogEntry& entry : entries)
            if (entry.tag == "EXE_Agent" && entry.message.starts_with(writer + " "))
                lines.push_back(entry.message);
        for (int i = 0; i < kLinesEach; ++i)
            expected.push_back(writer + " line " + std::to_string(i));
        EXPECT_TRUE(lines == expected) << writer << " has " << lines.size() << " whole lines";
    }
}

}  // namespace
}  // namespace wlk::test

// Two processes append to one log file at the same time, as the program and
// its other components do: no line may be lost, cut or mixed with another.
#include <map>
#include <regex>
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

// What is wrong with the log's entries: each writer's lines must all be
// there, whole, once each and in the order written.
std::vector<std::string> Faults(const std::vector<LogEntry>& entries) {
    std::vector<std::string> faults;
    static const std::regex message("([AB]) line (\\d+)");
    std::map<std::string, int> next;
    for (const LogEntry& entry : entries) {
        std::smatch match;
        if (entry.tag != "EXE_Agent" || !std::regex_match(entry.message, match, message)) {
            faults.push_back("not a whole line: [" + entry.tag + "|" + entry.message + "]");
            continue;
        }
        const std::string writer = match[1];
        const int number = std::stoi(match[2]);
        if (number != next[writer]) faults.push_back("out of turn: " + entry.message);
        next[writer] = number + 1;
    }
    for (const char* writer : kWriters) {
        if (next[writer] != kLinesEach)
            faults.push_back(std::string(writer) + " ends at " + std::to_string(next[writer]));
    }
    return faults;
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
    std::vector<std::string> faults = Faults(LogEntries(bytes));
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, first: " << faults.front();
}

}  // namespace
}  // namespace wlk::test

// Another process of the product writing to the event log, for the tests:
//   wlk_log_writer.exe LOG_PATH NAME COUNT READY_EVENT GO_EVENT
// opens the log on LOG_PATH, sets READY_EVENT, waits for GO_EVENT so that all
// writers start together, writes COUNT lines "NAME line <n>" and waits until
// they are in the file. Exit code 0 when it got that far.
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_threads.h"
#include "platform/win32/windows_api.h"

namespace {

using namespace wlk;

constexpr uint32_t kGoWaitMs = 60000;
constexpr uint32_t kWritersWaitMs = 240000;

int WriteLines(const Text& path, const Text& name, long long count, const Text& ready,
               const Text& go) {
    auto& log = log::EventLog::Instance();
    if (!log.Open(path)) return 3;
    auto& sync = platform::Current().sync;
    auto readyEvent = sync.OpenEvent(ready, platform::EventAccess::ModifyState);
    auto goEvent = sync.OpenEvent(go, platform::EventAccess::Synchronize);
    if (!readyEvent || !goEvent) return 4;
    readyEvent->Set();
    platform::Event* events[] = {goEvent.get()};
    if (sync.WaitAny(events, kGoWaitMs) != platform::kWaitObject0) return 5;
    for (long long i = 0; i < count; ++i) log.Write(name + u" line " + ToText(i));
    log.WaitForWriters(kWritersWaitMs);
    platform::win32::WaitForStartedThreads(kWritersWaitMs);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) return 2;
    platform::win32::InstallWin32Platform();
    auto arg = [argv](int i) { return Text(reinterpret_cast<const char16_t*>(argv[i])); };
    auto count = ParseInt(arg(3));
    if (!count) return 2;
    return WriteLines(arg(1), arg(2), *count, arg(4), arg(5));
}

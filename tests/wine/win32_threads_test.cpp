// The end of the process waits for the worker threads, also for those whose
// body has already run.
#include "platform/win32/win32_threads.h"

#include <atomic>

#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

class Win32ThreadsTest : public PlatformTest {};

TEST_F(Win32ThreadsTest, WaitForStartedThreadsWaitsUntilEveryThreadHasEnded) {
    auto release = P().sync.CreateEvent(Text(), true, false, platform::Security::Default);
    std::atomic<bool> running{false};
    ASSERT_TRUE(P().threads.Start([&, event = release.get()] {
        running = true;
        platform::Event* events[] = {event};
        P().sync.WaitAny(events, platform::kInfinite);
    }));
    ASSERT_TRUE(WaitUntil([&] { return running.load(); }));
    EXPECT_FALSE(platform::win32::WaitForStartedThreads(50)) << "one thread still waits";

    ASSERT_TRUE(P().threads.Start([] {}));
    release->Set();
    EXPECT_TRUE(platform::win32::WaitForStartedThreads(30000));
}

}  // namespace
}  // namespace wlk::test

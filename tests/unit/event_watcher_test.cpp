// Watcher threads pass named-event signals on to the tray window, also those
// that come before the window exists, and end with their instance.
#include "app/event_watcher.h"

#include "app/app_globals.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

constexpr char16_t kRequestName[] = u"Local\\wlk-test-request";
constexpr uint32_t kRequestMessage = 0xC123;
constexpr platform::WindowId kTray = 7;

class EventWatcherTest : public PlatformTest {
protected:
    void TearDown() override {
        app::Globals().trayWindow = 0;
        PlatformTest::TearDown();
    }
    bool Delivered() {
        for (const auto& m : Sim().ui.Messages()) {
            if (m.window == kTray && m.message == kRequestMessage && m.wParam == 1 && !m.posted)
                return true;
        }
        return false;
    }
};

TEST_F(EventWatcherTest, RequestBeforeTheTrayWindowExistsReachesItOnceItDoes) {
    auto& sync = P().sync;
    std::shared_ptr<platform::Event> instance =
        sync.CreateEvent(Text(), true, false, platform::Security::Default);
    app::WatchedEvent watched{
        .event = sync.CreateEvent(kRequestName, true, false, platform::Security::Everyone),
        .message = kRequestMessage,
        .wParam = 1};
    auto requester = sync.OpenEvent(kRequestName, platform::EventAccess::ModifyState);
    ASSERT_TRUE(app::StartEventWatcher(instance, std::move(watched)));

    requester->Set();
    // The watcher has taken the signal when it has reset the event.
    ASSERT_TRUE(WaitUntil([] { return !Sim().sync.IsSet(kRequestName); }));
    EXPECT_TRUE(Sim().ui.Messages().empty()) << "sent to no window";
    app::Globals().trayWindow = kTray;
    EXPECT_TRUE(WaitUntil([&] { return Delivered(); }));

    instance->Set();
    Sim().threads.WaitIdle();  // the watcher ends with its instance
}

}  // namespace
}  // namespace wlk::test

// The one thread that waits on every watched event: each event runs its own
// action, a stop ends only its own watches (and wins over an event set with
// it), the thread ends with the last watch, and a wait never takes more than
// 64 handles.
#include "platform/event_hub.h"

#include <atomic>

#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using platform::EventHub;

class EventHubTest : public PlatformTest {
protected:
    std::shared_ptr<platform::Event> NewEvent(bool manualReset = false) {
        return P().sync.CreateEvent(Text(), manualReset, false, platform::Security::Default);
    }
    std::function<void()> Count(std::atomic<int>& counter) {
        return [&counter] { ++counter; };
    }
};

TEST_F(EventHubTest, OneThreadRunsEachEventsActionUntilItsStopIsSet) {
    auto stopA = NewEvent(true), stopB = NewEvent(true);
    auto first = NewEvent(), second = NewEvent(), third = NewEvent();
    std::atomic<int> firsts{0}, seconds{0}, thirds{0};
    const int started = Sim().threads.started;
    ASSERT_TRUE(EventHub::Instance().Watch(stopA, first, Count(firsts)));
    ASSERT_TRUE(EventHub::Instance().Watch(stopA, second, Count(seconds)));
    ASSERT_TRUE(EventHub::Instance().Watch(stopB, third, Count(thirds)));
    EXPECT_EQ(Sim().threads.started, started + 1);

    first->Set();
    ASSERT_TRUE(WaitUntil([&] { return firsts == 1; }));
    third->Set();
    ASSERT_TRUE(WaitUntil([&] { return thirds == 1; }));
    first->Set();
    ASSERT_TRUE(WaitUntil([&] { return firsts == 2; }));
    EXPECT_EQ(seconds, 0);

    // A stop ends its own watches only; the thread lives while a watch does.
    stopA->Set();
    third->Set();
    ASSERT_TRUE(WaitUntil([&] { return thirds == 2; }));
    first->Set();
    second->Set();
    stopB->Set();
    Sim().threads.WaitIdle();
    EXPECT_EQ(firsts, 2);
    EXPECT_EQ(seconds, 0);

    // A new watch starts the thread again.
    auto stopC = NewEvent(true);
    ASSERT_TRUE(EventHub::Instance().Watch(stopC, first, Count(firsts)));
    EXPECT_EQ(Sim().threads.started, started + 2);
    first->Set();
    ASSERT_TRUE(WaitUntil([&] { return firsts == 3; }));
    stopC->Set();
    Sim().threads.WaitIdle();
}

TEST_F(EventHubTest, AStopSetWithItsEventWinsAndAWaitTakesAtMost64Handles) {
    auto stop = NewEvent(true), busy = NewEvent(), event = NewEvent();
    std::atomic<bool> inBusy{false}, release{false};
    std::atomic<int> events{0};
    ASSERT_TRUE(EventHub::Instance().Watch(stop, busy, [&] {
        inBusy = true;
        WaitUntil([&] { return release.load(); });
    }));
    ASSERT_TRUE(EventHub::Instance().Watch(stop, event, Count(events)));
    // Both are set while the thread runs another action: the next wait sees
    // them at once.
    busy->Set();
    ASSERT_TRUE(WaitUntil([&] { return inBusy.load(); }));
    event->Set();
    stop->Set();
    release = true;
    Sim().threads.WaitIdle();
    EXPECT_EQ(events, 0);

    // The thread's own wake event and one stop leave room for 62 events.
    auto last = NewEvent(true);
    std::vector<std::shared_ptr<platform::Event>> watched;
    for (int i = 0; i < 62; ++i) {
        watched.push_back(NewEvent());
        ASSERT_TRUE(EventHub::Instance().Watch(last, watched.back(), [] {})) << i;
    }
    EXPECT_FALSE(EventHub::Instance().Watch(last, NewEvent(), [] {}));
    last->Set();
    Sim().threads.WaitIdle();
}

}  // namespace
}  // namespace wlk::test

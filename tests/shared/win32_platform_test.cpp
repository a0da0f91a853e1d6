// What the logic relies on from named events and shared areas;
// natively these hold the simulation to what Wine shows.
#include <string>

#include "platform/text.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {

namespace {

using platform::EventAccess;
using platform::kErrorAlreadyExists;
using platform::kWaitObject0;
using platform::kWaitTimeout;
using platform::Security;

class PlatformCallsTest : public PlatformTest {
protected:
    // Named objects are machine-wide under Wine, and an earlier run may still be
    // going: make every name unique to this test and this moment.
    Text Name(const char* what) {
        if (unique_.empty()) unique_ = ToText(static_cast<long long>(P().system.NowAsFileTime()));
        return T("Local\\wlk-test-") + unique_ + u"-" + T(what);
    }

    uint32_t Wait(platform::Event& event, uint32_t timeoutMs = 0) {
        platform::Event* events[] = {&event};
        return P().sync.WaitAny(events, timeoutMs);
    }

private:
    Text unique_;
};

TEST_F(PlatformCallsTest, NamedEventsAreSharedByHandlesAndWaitedOnTogether) {
    auto& sync = P().sync;
    const Text name = Name("shared");

    auto first = sync.CreateEvent(name, true, false, Security::Everyone);
    ASSERT_TRUE(first);
    EXPECT_NE(sync.LastError(), kErrorAlreadyExists);

    auto second = sync.CreateEvent(name, false, true, Security::Default);
    ASSERT_TRUE(second);
    EXPECT_EQ(sync.LastError(), kErrorAlreadyExists);
    // The second create opened the first event: its own flags were ignored.
    EXPECT_EQ(Wait(*second), kWaitTimeout);

    auto opened = sync.OpenEvent(name, EventAccess::ModifyState);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->Set());
    EXPECT_EQ(Wait(*first), kWaitObject0);
    EXPECT_EQ(Wait(*first), kWaitObject0) << "manual reset stays signalled";

    first.reset();
    second.reset();
    EXPECT_TRUE(sync.OpenEvent(name, EventAccess::Synchronize)) << "one handle still open";
    opened.reset();
    EXPECT_FALSE(sync.OpenEvent(name, EventAccess::Synchronize));
    EXPECT_FALSE(sync.OpenEvent(Name("never-created"), EventAccess::ModifyState));

    // WaitAny reports which event, and consumes only an auto-reset one.
    auto manual = sync.CreateEvent(Name("manual"), true, false, Security::Default);
    auto autoReset = sync.CreateEvent(Name("auto"), false, false, Security::Default);
    ASSERT_TRUE(manual && autoReset);
    platform::Event* events[] = {manual.get(), autoReset.get()};

    EXPECT_EQ(sync.WaitAny(events, 0), kWaitTimeout);

    ASSERT_TRUE(autoReset->Set());
    EXPECT_EQ(sync.WaitAny(events, 0), kWaitObject0 + 1);
    EXPECT_EQ(sync.WaitAny(events, 0), kWaitTimeout) << "the wait consumed the auto-reset event";

    ASSERT_TRUE(manual->Set());
    EXPECT_EQ(sync.WaitAny(events, 0), kWaitObject0);
    ASSERT_TRUE(manual->Reset());
    EXPECT_EQ(sync.WaitAny(events, 0), kWaitTimeout);
}

TEST_F(PlatformCallsTest, EventsAndAreasForEveryoneGrantEveryoneFullAccess) {
    if (IsSimulated()) GTEST_SKIP() << "access rights are the kernel's";
    auto& sync = P().sync;
    auto owner = sync.CreateEvent(Name("everyone"), true, false, Security::Everyone);
    auto own = sync.CreateEvent(Name("own"), true, false, Security::Default);
    auto area = P().shared.Create(Name("area"), 64, Security::Everyone);
    auto waiter = sync.OpenEvent(Name("everyone"), EventAccess::Synchronize);
    ASSERT_TRUE(owner && own && area && waiter);
    EXPECT_EQ(EveryoneAccess(SecuredObject::Event, Name("everyone")), 0x1F01FFu);
    EXPECT_EQ(EveryoneAccess(SecuredObject::SharedArea, Name("area")), 0x1F01FFu);
    EXPECT_EQ(EveryoneAccess(SecuredObject::Event, Name("own")), 0u);

    // Full access for others, but a handle opened only to wait cannot set it.
    EXPECT_FALSE(waiter->Set());
    ASSERT_TRUE(owner->Set());
    EXPECT_EQ(Wait(*waiter), kWaitObject0);
}

TEST_F(PlatformCallsTest, SharedAreaIsSeenThroughEveryOpening) {
    auto& shared = P().shared;
    const Text name = Name("area");
    EXPECT_FALSE(shared.Open(name, 64));

    auto writer = shared.Create(name, 64, Security::Everyone);
    ASSERT_TRUE(writer);
    auto reader = shared.Open(name, 64);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->ReadText(), "") << "a new area is zero-filled";

    ASSERT_TRUE(writer->WriteText("<WordlarkSettings HotKey_Key=\"13\"/>"));
    EXPECT_EQ(reader->ReadText(), "<WordlarkSettings HotKey_Key=\"13\"/>");
    ASSERT_TRUE(reader->WriteText("short"));
    EXPECT_EQ(writer->ReadText(), "short") << "the terminator ends the text";

    EXPECT_TRUE(writer->WriteText(std::string(63, 'x')));
    EXPECT_FALSE(writer->WriteText(std::string(64, 'y'))) << "no room for the terminator";
    EXPECT_EQ(reader->ReadText(), std::string(63, 'x'));

    // A name somebody holds is refused by CreateNew, and taken once let go.
    bool existed = false;
    EXPECT_FALSE(shared.CreateNew(name, 64, Security::Everyone, existed));
    EXPECT_TRUE(existed);
    writer.reset();
    reader.reset();
    EXPECT_FALSE(shared.Open(name, 64)) << "gone with its last handle";
    EXPECT_TRUE(shared.CreateNew(name, 64, Security::Everyone, existed));
    EXPECT_FALSE(existed);
}

}  // namespace

}  // namespace wlk::test

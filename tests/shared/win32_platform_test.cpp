// What the logic relies on from named events, atoms, shared areas, threads, the registry
// and the machine; natively these hold the simulation to what Wine shows.
#include <memory>
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
using platform::PathKind;
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

    // The instance event is protected for the whole run and released at its end.
    EXPECT_TRUE(manual->ProtectFromClose(true));
    EXPECT_TRUE(manual->ProtectFromClose(false));
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

TEST_F(PlatformCallsTest, GlobalAtomsAreCountedByName) {
    auto& system = P().system;
    const Text name = Dir() + u"LogReport.txt";
    const uint16_t atom = system.AddGlobalAtom(name);
    ASSERT_NE(atom, 0);
    if (!IsSimulated()) {
        EXPECT_EQ(system.AddGlobalAtom(name), atom) << "a second reference";
    }
    const uint16_t other = system.AddGlobalAtom(name + u"2");
    EXPECT_NE(other, 0);
    EXPECT_NE(other, atom);
    system.DeleteGlobalAtom(atom);
    if (!IsSimulated()) system.DeleteGlobalAtom(atom);
    system.DeleteGlobalAtom(other);
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

TEST_F(PlatformCallsTest, StartedThreadRunsItsBodyAndFreesIt) {
    auto done = P().sync.CreateEvent(Text(), true, false, Security::Default);
    ASSERT_TRUE(done);
    auto block = std::make_shared<int>(42);
    int seen = 0;
    ASSERT_TRUE(P().threads.Start([block, &seen, event = done.get()] {
        seen = *block;
        event->Set();
    }));
    ASSERT_EQ(Wait(*done, 5000), kWaitObject0);
    EXPECT_EQ(seen, 42);
    // The thread frees its copy of the body after the body has returned.
    EXPECT_TRUE(WaitUntil([&] { return block.use_count() == 1; }));
}

TEST_F(PlatformCallsTest, SystemFactsOfTheRealMachine) {
    if (IsSimulated()) GTEST_SKIP() << "facts of a real Windows";
    auto& system = P().system;
    auto& files = P().files;

    const Text program = system.ProgramPath();
    EXPECT_TRUE(EqualsIgnoreCase(program.substr(program.size() - 4), u".exe"));
    EXPECT_EQ(files.Kind(program), PathKind::File);
    EXPECT_EQ(files.GetDriveType(program.substr(0, 3)), platform::DriveType::Fixed);

    for (auto folder : {platform::SpecialFolder::AppData, platform::SpecialFolder::Profile}) {
        const Text path = system.SpecialFolderPath(folder);
        EXPECT_EQ(files.Kind(path), PathKind::Directory) << ToUtf8(path);
    }

    EXPECT_EQ(system.ExpandEnvironment(u"%SystemRoot%", 999)->find(u'%'), Text::npos);
    EXPECT_FALSE(system.ExpandEnvironment(u"%SystemRoot%\\system32", 4)) << "does not fit";
    EXPECT_FALSE(system.SystemErrorText(platform::kErrorFileNotFound, 1024).empty());
    EXPECT_TRUE(StartsWithIgnoreCase(system.OsDescription(), u"Windows "));
    EXPECT_GE(system.KeyboardLayoutCount(), 1);
    EXPECT_NE(system.MenuFont()[28], 0) << "lfFaceName holds a font name";
}

TEST_F(PlatformCallsTest, RegistryStringRoundTrip) {
    auto& registry = P().registry;
    const Text key = u"Software";
    const Text name = Name("value").substr(6);  // no backslash in value names

    const Text value = u"C:\\Tools\\Wordlark.exe /autoload";
    ASSERT_TRUE(registry.WriteString(key, name, value));
    EXPECT_EQ(registry.ReadString(key, name, 520), value);
    EXPECT_FALSE(registry.ReadString(key, name, 8)) << "longer than the buffer";
    EXPECT_TRUE(registry.DeleteValue(key, name));
    EXPECT_FALSE(registry.ReadString(key, name, 520));
    EXPECT_FALSE(registry.DeleteValue(key, name));
    if (!IsSimulated()) {
        EXPECT_FALSE(registry.WriteString(u"Software\\wlk-no-such-key", name, u"x"))
            << "opens the key, never creates it";
    }
}

}  // namespace

}  // namespace wlk::test

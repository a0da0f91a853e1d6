// The query and answer exchange with the hook component: what a query text
// yields, what an answer prints as byte for byte, and the named objects that
// carry them.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "bridge/answer_writer.h"
#include "bridge/interchange.h"
#include "bridge/query_handling.h"
#include "bridge/query_reader.h"
#include "bridge/wait_query.h"
#include "log/event_log.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using bridge::AnswerItem;
using bridge::QueryAnswer;
using bridge::TargetContext;

constexpr char16_t kArea[] = u"Local\\$WORDLARK_INTERCHANGE_AREA$";

// The fields a query sets, as one comparable line.
std::string Fields(const TargetContext& c) {
    const auto& g = c.guiThread;
    return ToUtf8(c.AppPath) + "|" + ToUtf8(c.WindowClassName) + "|" +
           std::to_string(static_cast<intptr_t>(c.HWND)) + "|" + std::to_string(c.HKL) + "|" +
           ToUtf8(c.SelText) + "|" + std::to_string(c.StateSelText) + "|" +
           std::to_string(c.POINT_X) + "," + std::to_string(c.POINT_Y) + "|" +
           std::to_string(g.HWND_Active) + "," + std::to_string(g.HWND_Capture) + "," +
           std::to_string(g.HWND_Caret) + "," + std::to_string(g.HWND_Focus) + "," +
           std::to_string(g.HWND_MenuOwner) + "|" + std::to_string(g.cbSize);
}

class BridgeQueryTest : public LoggedTest {
protected:
    void TearDown() override {
        bridge::CloseInterchange(interchange_);
        LoggedTest::TearDown();
    }
    bridge::Interchange interchange_;
};

TEST_F(BridgeQueryTest, QueryFieldsTakeTheirValuesOrTheirDefaults) {
    struct Case {
        const char* query;
        std::string fields;
    };
    const std::vector<Case> cases = {
        {"<LKQuery POINT_X=\"10\" POINT_Y=\"-20\" HWND_Active=\"1\" HWND_Capture=\"2\" "
         "HWND_Caret=\"3\" HWND_Focus=\"4\" HWND_MenuOwner=\"5\"><AppPath>C:\\n.exe</AppPath>"
         "<WindowClassName>Edit</WindowClassName><HWND>655544</HWND><HKLLoword>1033</HKLLoword>"
         "<HKLHoword>1049</HKLHoword><SelText StateSelText=\"1\">\xD0\x94\xD0\xB0 &amp;</SelText>"
         "</LKQuery>",
         "C:\\n.exe|Edit|655544|67699737|\xD0\x94\xD0\xB0 &|1|10,-20|1,2,3,4,5|48"},
        {"<LKQuery/>", "||0|0||0|-1,-1|0,0,0,0,0|48"},
        // The element named for the low half gives the high half.
        {"<LKQuery><HKLLoword>0</HKLLoword><HKLHoword>1049</HKLHoword></LKQuery>",
         "||0|1049||0|-1,-1|0,0,0,0,0|48"},
        {"<LKQuery><SelText>picked</SelText></LKQuery>", "||0|0|picked|-1|-1,-1|0,0,0,0,0|48"},
        // Only 20 characters of the handle are read, as a signed 32-bit number.
        {"<LKQuery><HWND>0000000000000000000123456</HWND></LKQuery>",
         "||1|0||0|-1,-1|0,0,0,0,0|48"},
        {"<LKQuery><HWND>99999999999</HWND></LKQuery>", "||2147483647|0||0|-1,-1|0,0,0,0,0|48"},
        {"<!-- hook --><LKQuery><AppPath/></LKQuery><Other/>", "||0|0||0|-1,-1|0,0,0,0,0|48"},
        // Cut off inside a character: read as far as it goes, never beyond the text.
        {"<?xml encoding=\"UTF-8\"?><LKQuery><AppPath>a</AppPath><Sel\xF0",
         "a||0|0||0|-1,-1|0,0,0,0,0|48"},
    };
    for (const Case& c : cases) {
        TargetContext context;
        EXPECT_TRUE(bridge::ParseQuery(c.query, context)) << c.query;
        EXPECT_EQ(Fields(context), c.fields) << c.query;
    }
    // Nested deeper than the parser's stack allows, too tangled to measure, or
    // with more attributes than the parser can look up in a second.
    std::string deep = "<LKQuery>", tangled = "<LKQuery>", crowded = "<LKQuery";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    for (int i = 0; i < 300; ++i) tangled += "<a b=c>";
    for (int i = 0; i < 200000; ++i) crowded += " a" + std::to_string(i) + "=\"\"";
    crowded += "><AppPath>a.exe</AppPath></LKQuery>";
    for (const std::string& refused :
         {std::string(), std::string("not xml at all"), std::string("<Other><LKQuery/></Other>"),
          std::string("<lkquery/>"), deep, tangled, crowded}) {
        TargetContext context;
        EXPECT_FALSE(bridge::ParseQuery(refused, context)) << refused.substr(0, 40);
        EXPECT_EQ(Fields(context), "||0|0||0|-1,-1|0,0,0,0,0|48") << refused.substr(0, 40);
    }
}

TEST_F(BridgeQueryTest, QueryIsReadFromTheAreaOnlyUpToAZeroByteInside) {
    TargetContext context;
    EXPECT_FALSE(bridge::ReadQuery(kArea, context)) << "no area yet";

    ASSERT_TRUE(bridge::CreateInterchange(interchange_));
    const std::string query = "<LKQuery><AppPath>a.exe</AppPath></LKQuery>";
    ASSERT_TRUE(interchange_.area->WriteText(query));
    EXPECT_TRUE(bridge::ReadQuery(kArea, context));
    EXPECT_EQ(context.AppPath, u"a.exe");

    ASSERT_TRUE(interchange_.area->WriteText(""));
    EXPECT_FALSE(bridge::ReadQuery(kArea, context)) << "empty text";

    ASSERT_TRUE(Sim().shared.PutBytes(kArea, std::string(bridge::kInterchangeAreaSize, 'x')));
    std::string text = "kept";
    EXPECT_FALSE(bridge::ReadQueryText(kArea, text));
    EXPECT_EQ(text, "kept") << "nothing read without a zero byte";
}

AnswerItem Command(const char16_t* name, uint32_t id, const char16_t* tip = u"") {
    AnswerItem item;
    item.SetName(name);
    item.SetToolTipText(tip);
    item.CMDID = id;
    return item;
}

AnswerItem Group(const char16_t* name, uint32_t flags, std::vector<AnswerItem> children) {
    AnswerItem item;
    item.SetName(name);
    item.Flags = flags;
    item.children = std::make_unique<std::vector<AnswerItem>>(std::move(children));
    return item;
}

TEST_F(BridgeQueryTest, AnswersPrintByteForByteAndLandInTheArea) {
    auto logText = OpenLog();
    ASSERT_TRUE(bridge::CreateInterchange(interchange_));
    QueryAnswer answer;
    EXPECT_EQ(bridge::PrintAnswer(answer), "");
    ASSERT_TRUE(interchange_.area->WriteText("<LKQuery/>"));
    EXPECT_FALSE(bridge::WriteAnswer(answer, kArea)) << "an empty list writes nothing";
    EXPECT_EQ(interchange_.area->ReadText(), "<LKQuery/>");

    std::vector<AnswerItem> letters;
    letters.push_back(Command(u"Hello & \u00e9", 101, u"Says \u201chi\u201d"));
    letters.back().DataType = 2;
    letters.back().Flags = 4;
    letters.back().LCID = 1049;
    answer.items.push_back(Group(u"Letters", 3, std::move(letters)));
    answer.items.push_back(Command(u"not shown", 0, u"tip"));
    answer.items.push_back(Group(u"Empty", 0, {}));
    answer.Sound = 1;
    answer.ShowToolTips = 0;
    answer.ForegroundTopMostWnd = 1;
    const std::string expected =
        "<?xml version=\"1.0\" ?>\r\n"
        "<LKAnswer Sound=\"1\" ShowToolTips=\"0\" ForegroundTopMostWnd=\"1\">\r\n"
        "    <Group>\r\n"
        "        <Group Default=\"1\">\r\n"
        "            Letters\r\n"
        "            <Command Flags=\"4\" CMDID=\"101\" DataType=\"2\" LCID=\"1049\">\r\n"
        "                Hello &amp; \xC3\xA9\r\n"
        "                <ToolTipText>Says \xE2\x80\x9Chi\xE2\x80\x9D</ToolTipText>\r\n"
        "            </Command>\r\n"
        "        </Group>\r\n"
        "        <Command Flags=\"0\" CMDID=\"0\" DataType=\"0\" LCID=\"0\">\r\n"
        "            \r\n"  // the separator's empty name, on a line of its own
        "            <ToolTipText>tip</ToolTipText>\r\n"
        "        </Command>\r\n"
        "        <Group Default=\"0\">Empty</Group>\r\n"
        "        <MenuPerColumn>-1</MenuPerColumn>\r\n"
        "    </Group>\r\n"
        "</LKAnswer>\r\n";
    EXPECT_TRUE(bridge::WriteAnswer(answer, kArea));
    EXPECT_EQ(interchange_.area->ReadText(), expected);

    const std::string log = logText();
    EXPECT_EQ(CountOf(log, "] Oops! Group is empty\r\n"), 1u) << log;
}

TEST_F(BridgeQueryTest, InterchangeIsCreatedWholeOrNotAtAll) {
    auto exists = [&] {
        return std::vector<bool>{P().shared.Open(kArea, bridge::kInterchangeAreaSize) != nullptr,
                                 Sim().sync.Exists(bridge::kQueryEventName),
                                 Sim().sync.Exists(bridge::kAnswerEventName)};
    };
    Sim().sync.failCreate = true;
    EXPECT_FALSE(bridge::CreateInterchange(interchange_));
    Sim().sync.failCreate = false;
    EXPECT_EQ(exists(), (std::vector<bool>{false, false, false}));

    Sim().shared.failCreate = true;
    EXPECT_FALSE(bridge::CreateInterchange(interchange_));
    Sim().shared.failCreate = false;
    EXPECT_EQ(exists(), (std::vector<bool>{false, false, false}));
    EXPECT_FALSE(interchange_.area || interchange_.queryEvent || interchange_.answerEvent);

    // Another program took the name first: its area is refused, whatever its size.
    auto squatted = P().shared.Create(kArea, 4096, platform::Security::Default);
    EXPECT_FALSE(bridge::CreateInterchange(interchange_));
    EXPECT_FALSE(Sim().sync.Exists(bridge::kQueryEventName));
    // A holder that lets go within the retries (a hook that just wrote) is no squatter.
    Sim().threads.onSleep = [&](uint32_t) { squatted.reset(); };
    ASSERT_TRUE(bridge::CreateInterchange(interchange_));
    Sim().threads.onSleep = nullptr;
    EXPECT_EQ(Sim().threads.lastSleepMs, 50u);
    EXPECT_EQ(exists(), (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(Sim().sync.IsSet(bridge::kQueryEventName));
    EXPECT_FALSE(Sim().sync.IsSet(bridge::kAnswerEventName));

    bridge::CloseInterchange(interchange_);
    EXPECT_EQ(exists(), (std::vector<bool>{false, false, false}));
}

TEST_F(BridgeQueryTest, OneQueryIsReadCompletedHandedOnAndAnswered) {
    struct Case {
        const char* name;
        const char* query;
        const char16_t* extracted;
        intptr_t trayResult;
        size_t answerTipChars;  // 0: the tray window fills no answer
        // What happened: the selection handed on and its state, whether the
        // selection was extracted, the answer event afterwards, the logged line.
        const char* selection;
        bool extractCalled;
        bool trayCalled;
        bool answerSet;
        const char* logged;
    };
    const char* unreadable =
        "<LKQuery><AppPath>a.exe</AppPath><WindowClassName>Edit</WindowClassName><HWND>42</HWND>"
        "<HKLLoword>61441</HKLLoword><HKLHoword>1033</HKLHoword>"
        "<SelText StateSelText=\"1\"/></LKQuery>";
    const std::vector<Case> cases = {
        {"not read", "", u"x", 1, 5, "", false, false, true, "Cannot read query from MMF"},
        {"extracted and answered", unreadable, u"grabbed", 1, 5, "grabbed/2", true, true, true,
         "Received query:\r\n\tExe: a.exe\r\n\tClassName: Edit\r\n\tHKL: -268368887\r\n"
         "\tSelText: [grabbed]\r\n\tSelText State: [Wax! Text extracted by agent]"},
        {"nothing to extract, no answer", unreadable, u"", 1, 0, "/1", true, true, false,
         "SelText State: [O-ooops! Cannot get selected text from target application]"},
        {"selection given", "<LKQuery><SelText StateSelText=\"1\">kept</SelText></LKQuery>", u"x",
         1, 5, "kept/1", false, true, true, "\tSelText: [kept]"},
        {"tray window busy", "<LKQuery/>", u"x", 0, 5, "/0", false, true, true,
         "\tSelText State: [No has selected text]"},
        {"answer too large", "<LKQuery/>", u"x", 1, 1000, "/0", false, true, false,
         "Cannot write answer to MMF\n"},
    };
    const Text area = u"Local\\wlk-test-query";
    for (const Case& c : cases) {
        auto logText = OpenLog();
        auto held = P().shared.Create(area, 512, platform::Security::Everyone);
        ASSERT_TRUE(held->WriteText(c.query));
        auto queryEvent = P().sync.CreateEvent(u"wlk-q", true, true, platform::Security::Default);
        auto answerEvent = P().sync.CreateEvent(u"wlk-a", true, true, platform::Security::Default);
        platform::WindowId extractedFrom = 0;
        std::string handedOn;
        bool trayCalled = false;
        bridge::QueryHandlingSteps steps;
        steps.readQuery = [&](TargetContext& context) {
            EXPECT_TRUE(Sim().sync.IsSet(u"wlk-q")) << "reset after the read, never before";
            return bridge::ReadQuery(area, context);
        };
        steps.extractSelectedText = [&](platform::WindowId window) {
            extractedFrom = window;
            return Text(c.extracted);
        };
        steps.sendDataNeeded = [&](TargetContext& context, QueryAnswer& answer) {
            trayCalled = true;
            handedOn = ToUtf8(context.SelText) + "/" + std::to_string(context.StateSelText);
            if (c.answerTipChars) answer.items.push_back(Command(u"c", 9, u""));
            if (c.answerTipChars) answer.items[0].SetToolTipText(Text(c.answerTipChars, u't'));
            return c.trayResult;
        };
        bridge::HandleOneQuery(steps, area, *queryEvent, *answerEvent);

        EXPECT_FALSE(Sim().sync.IsSet(u"wlk-q")) << c.name;
        EXPECT_EQ(extractedFrom, c.extractCalled ? 42u : 0u) << c.name;
        EXPECT_EQ(trayCalled, c.trayCalled) << c.name;
        EXPECT_EQ(handedOn, c.selection) << c.name;
        EXPECT_EQ(Sim().sync.IsSet(u"wlk-a"), c.answerSet) << c.name;
        const bool stored = held->ReadText()->starts_with("<?xml");
        EXPECT_EQ(stored, c.trayResult == 1 && c.answerSet && c.trayCalled) << c.name;
        const std::string log = logText();
        EXPECT_NE(log.find(std::string(c.logged) + "\r\n"), std::string::npos) << c.name << log;
        log::EventLog::Instance().Close();
        Sim().files.DeleteFile(Path("LogReport.txt"));
    }
}

class WaitQueryTest : public BridgeQueryTest {
protected:
    void SetUp() override {
        BridgeQueryTest::SetUp();
        params_.trayWindow = kTray;
        params_.stop = P().sync.CreateEvent(Text(), true, false, platform::Security::Default);
        params_.queryEvent =
            P().sync.CreateEvent(u"wlk-q", true, false, platform::Security::Default);
        params_.answerEvent =
            P().sync.CreateEvent(u"wlk-a", true, false, platform::Security::Default);
        params_.areaName = u"Local\\wlk-test-wait";
        area_ = P().shared.Create(params_.areaName, 512, platform::Security::Everyone);
        steps_.readQuery = [this](TargetContext& context) {
            return bridge::ReadQuery(params_.areaName, context);
        };
        steps_.extractSelectedText = [](platform::WindowId) { return Text(); };
        steps_.sendDataNeeded = [this](TargetContext&, QueryAnswer&) {
            ++handled_;
            if (failAfterQuery_) Sim().sync.FailNextWaits(1, u"wlk-q");
            return intptr_t(0);
        };
    }
    bool ErrorPosted() {
        for (const auto& m : Sim().ui.Messages())
            if (m.window == kTray && m.message == 0x8012 && m.posted && !m.wParam && !m.lParam)
                return true;
        return false;
    }
    static constexpr platform::WindowId kTray = 9;
    bridge::WaitQueryParams params_;
    bridge::QueryHandlingSteps steps_;
    std::unique_ptr<platform::SharedArea> area_;
    std::atomic<int> handled_{0};
    std::atomic<bool> failAfterQuery_{false};
};

TEST_F(WaitQueryTest, ThreadHandlesQueriesUntilASecondWaitFailure) {
    auto logText = OpenLog();
    ASSERT_TRUE(area_->WriteText("<LKQuery/>"));
    Sim().sync.FailNextWaits(1, u"wlk-q");
    failAfterQuery_ = true;
    ASSERT_TRUE(bridge::StartWaitThread(params_, steps_));
    // Revived: the thread has reset the query event and waits on it again.
    // The wait thread is still running: read the log without waiting for all threads.
    auto revived = [&] {
        log::EventLog::Instance().WaitForWriters(100);
        return Utf16ToUtf8(Bytes(Path("LogReport.txt")))
                   .find("] ERROR: WOW! I may reanimate event for query, continue ZAEBIS!\r\n") !=
               std::string::npos;
    };
    ASSERT_TRUE(WaitUntil(revived));
    params_.queryEvent->Set();
    ASSERT_TRUE(WaitUntil([&] { return ErrorPosted(); }));
    Sim().threads.WaitIdle();
    EXPECT_EQ(handled_, 1);
    const std::string log = logText();
    EXPECT_NE(log.find("] ERROR: Default on CWaitQuery::ThreadProc_WaitQuery error_code=6, this "
                       "is first time? =0\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(CountOf(log, "] Exit from ThreadProc_WaitQuery [ret_value=1, error_code=6]\r\n"), 1u);

    Sim().threads.failNextStarts = 1;  // the log line's own thread still starts
    EXPECT_FALSE(bridge::StartWaitThread(params_, steps_));
    EXPECT_NE(logText().find(
                  "] ERROR: Cannot start thread for waiting of query CWaitQuery::StartWaitThread"),
              std::string::npos);
}

}  // namespace
}  // namespace wlk::test

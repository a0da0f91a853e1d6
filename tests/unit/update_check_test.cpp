// The update check's portable half: when it runs, what it tells the web site,
// where it may ask, and what it makes of the answer. (The check's run against
// a server is the end-to-end tests'.)
#include <gtest/gtest.h>

#include <climits>

#include "settings/file_time.h"
#include "support/test_helpers.h"
#include "web/update_query.h"
#include "web/update_schedule.h"
#include "web/update_server.h"
#include "web/version_info.h"

namespace wlk::test {
namespace {

using IntList = std::vector<int>;

TEST(UpdateSchedule, TheCheckIsDueTheDaysAfterTheLastOrTenMinutesFromNow) {
    constexpr uint64_t kHour = 36'000'000'000, kDay = 24 * kHour;
    const uint64_t now = settings::ToFileTime(
        {.year = 2025, .month = 3, .day = 14, .hour = 12, .minute = 30, .second = 45});
    const struct {
        uint64_t last;
        int days;
        uint32_t ms;
        const char16_t *wait, *next;
    } cases[] = {
        // Never checked: 8 January 2013 has long passed.
        {0, 7, 600'000, u"ms=600000 sec=600 minutes=10 hour=0 days=0", u"08-01-2013 00:00:00"},
        // Two days (less 0.7 s) ago, every seven days: five days, in whole seconds.
        {now - 2 * kDay + 7'000'000, 7, 432'000'000,
         u"ms=432000000 sec=432000 minutes=7200 hour=120 days=5", u"19-03-2025 12:30:45"},
        {now - 2 * kHour, 0, 79'200'000, u"ms=79200000 sec=79200 minutes=1320 hour=22 days=0",
         u"15-03-2025 10:30:45"},
        {now, 45, 2'592'000'000, u"ms=2592000000 sec=2592000 minutes=43200 hour=720 days=30",
         u"13-04-2025 12:30:45"},
        // A last check far in the future waits as long as a wait can, not forever.
        {~0ULL - kDay, 7, 0xFFFFFFFE, u"ms=4294967294 sec=4294967 minutes=71582 hour=1193 days=49",
         u"Cannot convert variant_time to system_time"},
    };
    for (const auto& c : cases) {
        const web::AutoCheckDelay delay = web::ComputeAutoCheckDelay(c.last, c.days, now);
        EXPECT_EQ(delay.ms, c.ms) << c.last << " " << c.days;
        EXPECT_EQ(delay.waitLine, u"wait for checkupdates " + Text(c.wait));
        EXPECT_EQ(delay.nextLine, u"Next update date: " + Text(c.next));
    }
}

TEST(UpdateQuery, TellsTheInstallationInTheSitesOrderEscaped) {
    web::InstallationFacts facts{.version = u"2.61.0.1", .winver = u"Windows 10.0.19045"};
    facts.sounds = facts.hotkeyDoubled = facts.autoCheck = true;
    facts.hotkey = u"Ctrl+Alt+Enter", facts.days = 7, facts.langFile = u"Русский.lng";
    facts.languages = u"en-US,ru-RU", facts.country = u"DE", facts.domain = u"R&D lab";
    facts.ram = u"16384MB", facts.screen = u"1920x1080", facts.mfc = u"Not found";
    facts.skippedVersions = {2620000, 2630100};
    EXPECT_EQ(web::BuildUpdateQuery(facts),
              u"?wlk_version=2.61.0.1&winver=Windows_10.0.19045&sounds=1&version_installed=0"
              u"&hotkey=CTRL%2BALT%2BENTERx2&au=7"
              u"&LangFile=%5B%D0%A0%D1%83%D1%81%D1%81%D0%BA%D0%B8%D0%B9.lng%5D"
              u"&languages=en-US%2Cru-RU&country=DE&domain=R%26D_lab&RAM=16384MB"
              u"&screen=1920x1080&MFC=Not_found&SkippedVersion=%5B2620000%2C2630100%5D");
}

TEST(UpdateVersion, VersionsComparePartByPartWithMissingPartsAsZero) {
    EXPECT_EQ(web::SplitVersion(u"2.61.0.1"), (IntList{2, 61, 0, 1}));
    EXPECT_EQ(web::SplitVersion(u" 7.x.-3.4b..99999999999"), (IntList{7, 0, -3, 4, 0, INT_MAX}));
    const struct {
        const char16_t *web, *own;
        bool newer;
    } cases[] = {{u"2.61.0.1", u"2.61.1", false},    {u"2.61.1", u"2.61.0.1", true},
                 {u"2.61", u"2.61.0.0", false},      {u"2.61.0.0", u"2.61", false},
                 {u"2.61.0.2", u"2.61.0.10", false}, {u"3", u"2.99.99", true},
                 {u"garbage", u"0.0.0.1", false},    {u"2.61.0.0.1", u"2.61", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(web::IsNewer(web::SplitVersion(c.web), web::SplitVersion(c.own)), c.newer)
            << ToUtf8(c.web) << " vs " << ToUtf8(c.own);
    }
    // A skipped version is kept as one number.
    EXPECT_EQ(web::VersionNumber({2, 61, 0, 1}), 2610001);
    EXPECT_EQ(web::VersionNumber({3000, 150, -1, 7, 5}), 2146990007);
    const IntList skipped = {2610001, 2620000};
    EXPECT_TRUE(web::IsSkipped(u"2.62", skipped) && web::IsSkipped(u"2.61.0.1", skipped));
    EXPECT_FALSE(web::IsSkipped(u"2.62.0.1", skipped) || web::IsSkipped(u"2.61.1", skipped));
}

const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<WordlarkVersionInfo>\r\n"
    "  <Version>\r\n 2.62.0.3 </Version>\r\n  <Version_Test>2.63</Version_Test>\r\n"
    "  <Status>Stable &amp; tested, Grüße</Status>\r\n  <Unknown>x</Unknown>\r\n"
    "  <DownloadURL>https://a/get</DownloadURL>\r\n"
    "  <DownloadURL_PE>https://a/get_pe</DownloadURL_PE>\r\n"
    "  <WhatNewsURL>https://a/news</WhatNewsURL>\r\n</WordlarkVersionInfo>\r\n";

TEST(UpdateVersion, OnlyAVersionDocumentIsRead) {
    web::VersionInfo info{u"2.62.0.3", u"Stable & tested, Grüße", u"https://a/get",
                          u"https://a/get_pe", u"https://a/news"};
    EXPECT_EQ(web::ParseVersionInfo(kDocument, false), info);
    info.version = u"2.63";
    EXPECT_EQ(web::ParseVersionInfo(kDocument, true), info);

    std::string open, close;  // well formed, but deeper than any document
    for (int i = 0; i < 300; ++i) open += "<a>", close += "</a>";
    const std::string nested = "<WordlarkVersionInfo>" + open + close + "</WordlarkVersionInfo>";
    for (const std::string& text : {
             nested,
             std::string("<Other/><WordlarkVersionInfo><Version>2</Version></WordlarkVersionInfo>"),
             std::string("<WordlarkVersionInfo><Version>2.62\xC3</Version></WordlarkVersionInfo>"),
             std::string("<WordlarkVersionInfo><Version>2.62</Version>"),
             "<WordlarkVersionInfo><Status>" + std::string(70'000, 'x') +
                 "</Status></WordlarkVersionInfo>",
         })
        EXPECT_FALSE(web::ParseVersionInfo(text, false)) << text.substr(0, 80);
}

TEST(UpdateServer, OnlyHttpsOrThisComputerIsAskedAndOnlyHttpsLinksAreOpened) {
    const char16_t* kNotHttps = u"only https is allowed (http only to this computer)";
    const char16_t* kMalformed = u"it is not an address like https://host:port";
    const char16_t* kUser = u"a user name in the address is not allowed";
    const struct {
        const char16_t *setting, *server, *refusal;
    } cases[] = {
        {u"  ", u"https://wordlark.orrinsoftworks.com", nullptr},
        {u"HTTPS://Mirror.Example.com:8443/other?x#y", u"https://mirror.example.com:8443", nullptr},
        {u"http://127.0.0.5:8080", u"http://127.0.0.5:8080", nullptr},
        {u"http://localhost/", u"http://localhost", nullptr},
        {u"http://[::1]:81", u"http://[::1]:81", nullptr},
        {u"http://www.wordlark.com", nullptr, kNotHttps},
        {u"http://127.evil.com", nullptr, kNotHttps},
        {u"http://0127.0.0.1", nullptr, kNotHttps},  // octal to the system: 87.0.0.1
        {u"https://user@host", nullptr, kUser},
        {u"http://127.0.0.1@evil.com", nullptr, kUser},
        {u"www.wordlark.com", nullptr, kMalformed},
        {u"https://host:99999", nullptr, kMalformed},
    };
    for (const auto& c : cases) {
        const web::UpdateUrl url = web::MakeUpdateUrl(c.setting, u"?a=1");
        EXPECT_EQ(url.url, c.server ? c.server + Text(u"/Source/update_wlk.php?a=1") : u"")
            << ToUtf8(c.setting);
        EXPECT_EQ(url.refusal, c.refusal ? u"Update server refused, " + Text(c.refusal) + u": [" +
                                               c.setting + u"]"
                                         : u"");
    }

    for (const char16_t* link :
         {u"https://a.com/get", u"HTTPS://a.com:8443/x?y", u"https://[::1]/"})
        EXPECT_TRUE(web::IsSafeLink(link)) << ToUtf8(link);
    for (const char16_t* link :
         {u"", u"http://a.com/get", u"file:///C:/Windows/calc.exe", u"C:\\calc.exe",
          u"javascript:alert(1)", u"https://", u"https:///path", u"https://:443/",
          u"https://a.com/a b", u"https://a.com/\r\nx", u"https://a.com/\u202Eexe.txt",
          u"https://www.wordlark.com@evil.com/"})
        EXPECT_FALSE(web::IsSafeLink(link)) << ToUtf8(link);
}

}  // namespace
}  // namespace wlk::test

// Recognition of command-line keys and the key help text.
#include "app/command_line.h"

#include "support/test_platform.h"

namespace wlk::test {
namespace {

app::CommandLineOptions Parsed(const char16_t* raw) {
    app::CommandLineOptions options(raw);
    options.Parse();
    return options;
}

TEST(CommandLine, KeysNeedSlashOrDashAndEndWithBlankOrText) {
    EXPECT_TRUE(Parsed(u"/exit").exit());
    EXPECT_TRUE(Parsed(u"-EXIT").exit());
    EXPECT_TRUE(Parsed(u"/Exit").exit());
    EXPECT_TRUE(Parsed(u"/exit and more").exit());
    EXPECT_TRUE(Parsed(u"/exit\tmore").exit());
    EXPECT_FALSE(Parsed(u"/exitnow").exit());
    EXPECT_FALSE(Parsed(u"exit").exit());
    EXPECT_FALSE(Parsed(u"").exit());
    // Nothing is checked before the key.
    EXPECT_TRUE(Parsed(u"x/exit").exit());
    // Only the first occurrence counts: "/exitx" hides a later "/exit".
    EXPECT_FALSE(Parsed(u"/exitx /exit").exit());
    // ...but the dash form is a candidate of its own.
    EXPECT_TRUE(Parsed(u"/exitx -exit").exit());
}

TEST(CommandLine, EachKeySetsItsFlagAndUaAlsoExits) {
    auto all = Parsed(u"/autoload /noinstall /? /edit /asadmin /showmenu /cfu");
    EXPECT_TRUE(all.autoload());
    EXPECT_TRUE(all.noinstall());
    EXPECT_TRUE(all.help());
    EXPECT_TRUE(all.edit());
    EXPECT_TRUE(all.asadmin());
    EXPECT_TRUE(all.showmenu());
    EXPECT_TRUE(all.cfu());
    EXPECT_FALSE(all.exit());
    EXPECT_FALSE(all.ua());

    auto ua = Parsed(u"-ua");
    EXPECT_TRUE(ua.ua());
    EXPECT_TRUE(ua.exit());
    EXPECT_EQ(ua.Raw(), u"-ua");
    // "/ua" inside "/uac" is no key.
    EXPECT_FALSE(Parsed(u"/uac").ua());
}

TEST(CommandLine, KeyHelpListsTheNineKeysInOrder) {
    EXPECT_EQ(app::KeyHelpText(),
              u"Command Line Keys:\n\n"
              u"/exit        - complete all previous running instances of Wordlark\n"
              u"/autoload    - detect when Wordlark start automatically with Windows\n"
              u"/ua          - no set \"Start with Windows\" on first running\n"
              u"/noinstall   - no install services on start of Wordlark\n"
              u"/?           - print arguments of command line description and exit\n"
              u"/edit        - Start the PhraseEditor or change settings\n"
              u"/asadmin     - Start second instance of Wordlark as administator\n"
              u"/showmenu    - Show menu on Wordlark tray icon\n"
              u"/cfu         - check for updates\n"
              u"\n\nPress Ctrl+C to copy into clipboard");
}

}  // namespace
}  // namespace wlk::test

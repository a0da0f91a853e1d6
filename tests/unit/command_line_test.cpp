// Recognition of command-line keys and the key help text.
#include "app/command_line.h"

#include <string>
#include <utility>

#include "platform/text.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

// The keys a command line sets, in the order of the key help.
std::string KeysOf(const char16_t* raw) {
    app::CommandLineOptions o(raw);
    o.Parse();
    const std::pair<bool, const char*> keys[] = {
        {o.exit(), "exit"},       {o.autoload(), "autoload"},
        {o.ua(), "ua"},           {o.noinstall(), "noinstall"},
        {o.help(), "?"},          {o.edit(), "edit"},
        {o.asadmin(), "asadmin"}, {o.showmenu(), "showmenu"},
        {o.cfu(), "cfu"}};
    std::string set;
    for (const auto& [on, name] : keys)
        if (on) set += std::string(set.empty() ? "" : " ") + name;
    return set;
}

TEST(CommandLine, KeysNeedSlashOrDashAndEndWithBlankOrText) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"/exit", "exit"},
        {u"-EXIT", "exit"},
        {u"/exitnow", ""},
        {u"exit", ""},
        // Nothing is checked before the key: the program's path comes first.
        {u"\"C:\\Program Files\\Wordlark\\Wordlark.exe\" /exit", "exit"},
        // Only the first occurrence counts: "/exitx" hides a later "/exit"...
        {u"/exitx /exit", ""},
        // ...but the dash form is a candidate of its own.
        {u"/exitx -exit", "exit"},
        {u"/autoload /noinstall /? /edit /asadmin /showmenu /cfu",
         "autoload noinstall ? edit asadmin showmenu cfu"},
        // "/ua" also asks the running instance to end; inside "/uac" it is no key.
        {u"-ua", "exit ua"},
        {u"/uac", ""},
    };
    for (const auto& [raw, keys] : cases) EXPECT_EQ(KeysOf(raw), keys) << ToUtf8(raw);
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

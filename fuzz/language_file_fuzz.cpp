// Arbitrary bytes as a language file: every look-up must give a usable text
// (the translation or the English one, never a sentinel), and translating a
// menu must leave its shape alone, whatever the file holds.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "language/active_language.h"
#include "language/escaping.h"
#include "language/interface_strings.h"
#include "language/language_file.h"
#include "language/language_list.h"
#include "language/menu_translation.h"
#include "platform/sim/ini_text.h"
#include "platform/sim/sim_menu.h"

namespace wlk::fuzz {

using namespace wlk;
using namespace platform::sim;
using fuzz::Require;
using fuzz::Sim;

const Text kFolder = u"C:\\Program Files\\Wordlark\\";
const Text kFile = kFolder + u"fuzz.lng";

SimMenu TrayMenu() {
    SimMenu menu;
    menu.Append(57664, u"&About Wordlark\u2026\tF1");
    menu.AppendSeparator();
    auto help = menu.AppendSubmenu(u"Help");
    help->Append(32825, u"Visit to F.A.Q.");
    help->Append(33001, u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439");
    menu.Append(57665, u"E&xit");
    return menu;
}

void CheckStrings() {
    for (uint32_t id : {132u, 137u, 138u, 261u, 1060u, 32770u, 4u}) {
        const Text text = language::GetString(id);
        Require(text != language::kStringSentinel);
        Require(text.size() < language::kStringBufferChars);
        if (!language::EnglishString(id)) Require(text.empty());
    }
}

void CheckMenu() {
    const Text cyrillicKey = u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439";
    auto cyrillicValue = [&] {
        return Sim().profile.GetString(kFile, u"Menu", cyrillicKey, u"<none>", 10);
    };
    const bool cyrillicListed = cyrillicValue() != u"<none>";
    SimMenu menu = TrayMenu();
    language::LocalizeMenu(menu, {57665});
    Require(menu.Count() == 4 && menu.Submenu(2) && menu.Submenu(2)->Count() == 2);
    Require(menu.Item(3)->text == u"E&xit");
    for (const auto& text : {menu.Item(0)->text, menu.Submenu(2)->Item(0)->text}) {
        Require(text.find(language::kMenuSentinel) == Text::npos);
        Require(text.size() < language::kMenuBufferChars + 4);  // and "\tF1"
    }
    // The Cyrillic item is never listed as a key.
    if (!cyrillicListed) Require(cyrillicValue() == u"<none>");
    Require(language::GetMenuItemText(128, 57664) != language::kItemTextSentinel);
}

void CheckEscaping(const std::string& bytes) {
    ini::Encoding encoding;
    const Text text = ini::Decode(bytes, encoding);
    const Text escaped = language::Escape(text);
    Require(escaped.find_first_of(u"\r\n\t") == Text::npos);
    if (text.find(u'\\') == Text::npos) Require(language::Unescape(escaped) == text);
    Require(language::Unescape(text).size() <= text.size());
}

void FuzzOne(const std::string& bytes) {
    SimPlatform& sim = Sim();
    static SimMenus menus;
    [[maybe_unused]] static const bool registered = [] {
        menus.Register(128, TrayMenu());
        language::SetMenuSource(&menus);
        return true;
    }();

    // The example file beside it holds the English texts, the same after every
    // run: the first run makes it, and the others find it.
    sim.files.Put(kFile, bytes);
    // Write-back on for odd sizes, so that rewriting a broken file is covered too.
    language::LoadLanguage(kFile, bytes.size() % 2 == 1, Text());
    CheckStrings();
    CheckMenu();
    CheckEscaping(bytes);
    language::GetLanguageInfo(kFile);
    Require(!language::ListLanguages().empty());
    language::LoadLanguage(Text(), false, Text());
}

}  // namespace wlk::fuzz

#include "app/command_line.h"

#include "language/interface_strings.h"
#include "platform/text.h"

namespace wlk::app {

const std::array<KeyInfo, size_t(Key::Count)>& CommandLineKeys() {
    static const std::array<KeyInfo, size_t(Key::Count)> keys = {{
        {u"exit", u"complete all previous running instances of Wordlark"},
        {u"autoload", u"detect when Wordlark start automatically with Windows"},
        {u"ua", u"no set \"Start with Windows\" on first running"},
        {u"noinstall", u"no install services on start of Wordlark"},
        {u"?", u"print arguments of command line description and exit"},
        {u"edit", u"Start the PhraseEditor or change settings"},
        {u"asadmin", u"Start second instance of Wordlark as administator"},
        {u"showmenu", u"Show menu on Wordlark tray icon"},
        {u"cfu", u"check for updates"},
    }};
    return keys;
}

namespace {

bool IsWhiteSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The first occurrence of `candidate`, searched as given and, failing that, in
// upper case; it counts when it ends the text or white space follows it.
bool CandidatePresent(const Text& raw, const Text& candidate) {
    size_t at = raw.find(candidate);
    if (at == Text::npos) at = ToUpper(raw).find(ToUpper(candidate));
    if (at == Text::npos) return false;
    size_t end = at + candidate.size();
    return end == raw.size() || IsWhiteSpace(raw[end]);
}

}  // namespace

bool CommandLineOptions::Has(const Text& word) const {
    return CandidatePresent(raw_, u"/" + word) || CandidatePresent(raw_, u"-" + word);
}

void CommandLineOptions::Parse() {
    const auto& keys = CommandLineKeys();
    auto has = [&](Key key) { return Has(keys[size_t(key)].word); };
    exit_ = has(Key::Exit);
    autoload_ = has(Key::Autoload);
    ua_ = has(Key::Ua);
    if (ua_) exit_ = true;
    noinstall_ = has(Key::NoInstall);
    help_ = has(Key::Help);
    edit_ = has(Key::Edit);
    asadmin_ = has(Key::AsAdmin);
    showmenu_ = has(Key::ShowMenu);
    cfu_ = has(Key::Cfu);
}

Text KeyHelpText() {
    Text text = language::GetString(269) + u":\n\n";
    for (const auto& key : CommandLineKeys()) {
        Text line = u"/" + Text(key.word);
        if (line.size() < 12) line.resize(12, u' ');
        text += line + u" - " + key.help + u"\n";
    }
    return text + u"\n\n" + language::GetString(170);
}

}  // namespace wlk::app

#include "info/environment_report.h"

#include "history/clipboard_spy.h"
#include "platform/text.h"

namespace wlk::info {

namespace {

constexpr char16_t kEol[] = u"\r\n";

Text OrUnknown(const Text& value) {
    return value.empty() ? Text(u"unknown") : value;
}

void Line(Text& out, const char16_t* label, const Text& value) {
    out += label;
    out += u": ";
    out += value;
    out += kEol;
}

}  // namespace

Text ClipboardMethodText(int method) {
    switch (method) {
        case history::kSpyListener: return u"clipboard format listener";
        case history::kSpyViewer: return u"clipboard viewer chain";
        default: return u"not watching";
    }
}

Text BuildEnvironmentReport(const EnvironmentFacts& f) {
    Text out = u"Wordlark " + OrUnknown(f.version) + kEol;
    Line(out, u"Windows", OrUnknown(f.windowsVersion));
    Line(out, u"Hook component (Wordlark.dll)", OrUnknown(f.hookVersion));
    Line(out, u"Phrase editor (WordlarkEditor.exe)", OrUnknown(f.editorVersion));
    Line(out, u"Settings file", f.settingsPath);
    Line(out, u"Phrases folder", f.phrasesFolder);
    Line(out, u"Event log", f.logPath);
    Line(out, u"Hook road",
         f.hookRoad + (f.hookInstalled ? u" (installed)" : u" (not installed)"));
    Line(out, u"Clipboard monitoring", ClipboardMethodText(f.clipboardMethod));
    Line(out, u"Phrases", ToText(f.phraseCount));
    Line(out, u"History items", ToText(f.historyCount));
    out += kEol;
    out += u"Last errors of this run:";
    out += kEol;
    if (f.lastErrors.empty()) out += Text(u"none") + kEol;
    for (const Text& error : f.lastErrors) out += error + kEol;
    out += kEol;
    out += u"Settings file:";
    out += kEol;
    out += f.settingsText;
    if (!f.settingsText.empty() && !f.settingsText.ends_with(kEol)) out += kEol;
    return out;
}

}  // namespace wlk::info

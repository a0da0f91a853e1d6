// Arbitrary bytes as a phrase file: reading must neither crash nor run away, a
// phrase written back must read as the same phrase, and a folder holding the
// bytes as a phrase and as a group descriptor must load (bytes that are not
// UTF-8 are read there as the ANSI code page) and make a menu whose items fit.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "menu/menu_builder.h"
#include "menu/menu_texts.h"
#include "menu/phrase_item.h"
#include "phrases/command_tree.h"
#include "phrases/command_xml.h"
#include "phrases/file_title.h"
#include "platform/text.h"

namespace wlk::fuzz {

using namespace phrases;

bool SameFields(const CWLKCommand& a, const CWLKCommand& b) {
    return a.name == b.name && a.hint == b.hint && a.command == b.command &&
           a.dataType == b.dataType && a.sortId == b.sortId && a.usageCount == b.usageCount &&
           a.flagsMenu == b.flagsMenu && a.IsIncluded() == b.IsIncluded() &&
           a.useTitleOnly == b.useTitleOnly &&
           a.disabledIsNoHasSelection == b.disabledIsNoHasSelection &&
           a.HasDateUsage() == b.HasDateUsage() && a.dateUsage.year == b.dateUsage.year &&
           a.dateUsage.month == b.dateUsage.month && a.dateUsage.day == b.dateUsage.day &&
           a.dateUsage.hour == b.dateUsage.hour && a.dateUsage.minute == b.dateUsage.minute &&
           a.dateUsage.second == b.dateUsage.second;
}

// Every phrase read must survive its write-back as a phrase. Its fields settle
// after one rewrite: a title cut in the middle of a surrogate pair, for one,
// is written with a replacement character.
void CheckRewriteSettles(std::string_view bytes) {
    CWLKCommand first;
    if (ParseCommandXml(bytes, first) != ReadOutcome::Phrase) return;
    Require(first.usageCount >= 0);
    Require(first.name.size() <= CWLKCommand::kNameMaxChars);
    Require(first.hint.size() <= CWLKCommand::kHintMaxChars);
    const auto once = BuildCommandXml(first);
    Require(once.has_value());
    CWLKCommand second;
    Require(ParseCommandXml(*once, second) == ReadOutcome::Phrase);
    const auto twice = BuildCommandXml(second);
    Require(twice.has_value());
    CWLKCommand third;
    Require(ParseCommandXml(*twice, third) == ReadOutcome::Phrase);
    Require(SameFields(second, third));
    Require(BuildCommandXml(third) == twice);
}

void CheckFileTitle(std::string_view bytes) {
    const Text title = MakeFileTitle(FromUtf8(bytes.substr(0, 300)), 1, false, true);
    Require(title.find_first_of(u"?:\\\"!/<>.\t\n*|{}=()' ") == Text::npos);
}

void CheckFolderLoads(const std::string& file, CWLKCommandTree& tree) {
    Sim().files.Put(u"C:\\fuzz\\p.wordlark", file);
    Sim().files.Put(u"C:\\fuzz\\G\\FOLDER_SELF.wordlark", file);
    Require(tree.Load(u"C:\\fuzz\\"));
    int all = 0;
    int included = 0;
    tree.CountPhrases(all, included);
    Require(all >= 1 && all <= 2 && included <= all);
}

// Titles and shortened texts stay within one character past their limit.
void CheckTextBounds(const Text& text, size_t n) {
    Require(menu::CutTitle(text, n).size() <= n + 1);
    const Text shortened = menu::ShortenText(text, n);
    Require(shortened.size() <= n + 1);
    Require(text.size() > n || shortened == text);
}

bool ItemsFit(const menu::MenuModel& model) {
    for (const auto& entry : model.items) {
        const auto& data = entry.data;
        if (data.label.size() > 255 || data.caretPos > static_cast<int>(data.label.size()))
            return false;
        const bool phrase = entry.id != 0 && entry.id < menu::kFirstHistoryId;
        if (phrase && data.label.size() > menu::kPhraseLabelChars + 1) return false;
        if (entry.submenu && !ItemsFit(*entry.submenu)) return false;
    }
    return true;
}

// The loaded phrases as a menu, the bytes standing in for the selection too.
void CheckMenu(const CWLKCommandTree& tree, const Text& text) {
    menu::LastUsedList lastUsed;
    tree.ForEach([&lastUsed](const CWLKCommand& node) {
        lastUsed.SetLastUsed(node.id, 5);
        return true;
    });
    menu::MenuRequest request{text, text, 0x04090409};
    auto model = menu::MakeMenu({tree, nullptr, lastUsed, {}, nullptr}, request);
    Require(!model || ItemsFit(*model));
}

void FuzzOne(const std::string& bytes) {
    CheckRewriteSettles(bytes);
    CheckFileTitle(bytes);
    CWLKCommandTree tree;
    CheckFolderLoads(bytes, tree);
    const Text text = FromUtf8(bytes.substr(0, 2000));
    CheckTextBounds(text, bytes.empty() ? 0 : uint8_t(bytes[0]) % 64);
    CheckMenu(tree, text);
}

}  // namespace wlk::fuzz

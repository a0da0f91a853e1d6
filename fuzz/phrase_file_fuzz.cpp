// Arbitrary bytes as a phrase file: reading must neither crash nor run away, a
// phrase written back must read as the same phrase, and a folder holding the
// bytes as a phrase and as a group descriptor must load (bytes that are not
// UTF-8 are read there as the ANSI code page).
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
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

void CheckFolderLoads(const std::string& file) {
    Sim().files.Put(u"C:\\fuzz\\p.wordlark", file);
    Sim().files.Put(u"C:\\fuzz\\G\\FOLDER_SELF.wordlark", file);
    CWLKCommandTree tree;
    Require(tree.Load(u"C:\\fuzz\\"));
    int all = 0;
    int included = 0;
    tree.CountPhrases(all, included);
    Require(all >= 1 && all <= 2 && included <= all);
}

void FuzzOne(const std::string& bytes) {
    CheckRewriteSettles(bytes);
    CheckFileTitle(bytes);
    CheckFolderLoads(bytes);
}

}  // namespace wlk::fuzz

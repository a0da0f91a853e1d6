#include "phrases/phrase_library.h"

#include "platform/text.h"
#include "settings/settings.h"

namespace wlk::phrases {

PhraseCounts CountPhrases(const CWLKCommandTree& tree) {
    PhraseCounts counts;
    tree.CountPhrases(counts.all, counts.included);
    return counts;
}

PhraseCounts LoadPhraseLibrary(CWLKCommandTree& tree) {
    tree.Load(settings::Settings::Instance().GetPhrasesFolder());
    return CountPhrases(tree);
}

Text PhraseCountsLabel(const PhraseCounts& counts) {
    return Format(u" [%d/%d]", {ToText(counts.all), ToText(counts.included)});
}

}  // namespace wlk::phrases

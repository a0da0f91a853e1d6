// Arbitrary bytes as a history ".info" file (and as a data file it may name):
// loading must neither crash nor reach outside the history folder.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "history/ch_queue.h"
#include "history/history_store.h"
#include "history/item_files.h"

namespace wlk::fuzz {

const Text kFolder = u"C:\\Wordlark\\ClipboardHistory\\";

// Files beside the fuzzed one: data an info file may name, and one outside the folder.
bool PlaceNeighbours() {
    Sim().files.Put(u"C:\\Wordlark\\secret.txt", std::string("outside\0", 8));
    Sim().files.Put(kFolder + u"Unicode_clipboard_history1.txt",
                    std::string("\xFF\xFEo\0k\0\0\0", 8));
    Sim().files.Put(kFolder + u"clipboard_history1.rtf", std::string("{\\rtf1 x}\0", 10));
    return true;
}

bool Inside(const Text& path) {
    return path.starts_with(kFolder) && path.find(u'\\', kFolder.size()) == Text::npos;
}

void FuzzOne(const std::string& bytes) {
    [[maybe_unused]] static const bool placed = PlaceNeighbours();
    auto& sim = Sim();
    sim.files.Put(kFolder + u"wordlark_cb1.info", bytes);
    // The same bytes as data files an info file may name.
    sim.files.Put(kFolder + u"clipboard_history5.bmp", bytes);
    sim.files.Put(kFolder + u"clipboard_history5.txt", bytes);
    sim.files.Put(kFolder + u"Unicode_clipboard_history5.txt", bytes);

    auto item = history::LoadInfoItem(kFolder, u"wordlark_cb1.info");
    if (item) {
        Require(Inside(item->dataPath) && Inside(item->infoPath));
        Require(item->Type() == history::CHT_BITMAP ? item->Bitmap() != nullptr
                                                    : item->Data() && item->Size() > 0);
        for (const auto& format : item->formats) Require(format && Inside(format->dataPath));
        item->Title(50, true);
        auto copy = item->Copy();
        Require(copy && copy->key == item->key);
    }
    auto queue = history::LoadFolder(kFolder);
    Require(queue->Count() <= 1);
}

}  // namespace wlk::fuzz

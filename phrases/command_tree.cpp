#include "phrases/command_tree.h"

#include <algorithm>
#include <utility>

#include "log/event_log.h"
#include "phrases/command_file.h"
#include "phrases/command_xml.h"
#include "phrases/file_title.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::phrases {

namespace {

template <typename List, typename Visit>
bool Walk(List& list, const Visit& visit) {
    for (auto& node : list) {
        if (!visit(node)) return false;
        if (node.IsGroup() && !Walk(*node.children, visit)) return false;
    }
    return true;
}

CWLKCommand* FindParentIn(CommandList& list, CWLKCommand* parent, uint32_t id) {
    for (CWLKCommand& node : list) {
        if (node.id == id) return parent;
        if (node.IsGroup()) {
            if (CWLKCommand* found = FindParentIn(*node.children, &node, id)) return found;
        }
    }
    return nullptr;
}

}  // namespace

bool CWLKCommandTree::Load(const Text& folder, LoadScope scope) {
    Clear();
    const Text from = folder.empty() ? folder_ : folder;
    auto& log = log::EventLog::Instance();
    if (from.empty() || platform::Current().files.Kind(from) != platform::PathKind::Directory) {
        log.Write(u"Phrases folder not found, no phrases loaded: [" + from + u"]");
        return false;
    }
    CWLKFolderLoader loader(1, scope);
    loader.LoadFolder(from, commands_);
    // One sort at the end orders the tree as sorting after every new group would:
    // the sort is stable and ids do not depend on the order.
    SortCommands(commands_);
    folder_ = from;

    int all = 0;
    int included = 0;
    CountPhrases(all, included);
    log.Write(Format(u"Phrases loaded from [%s]: %d nodes, %d shown, %d files skipped",
                     {from, ToText(all), ToText(included), ToText(loader.FilesSkipped())}));
    return true;
}

void CWLKCommandTree::Clear() {
    commands_.clear();
}

CWLKCommand* CWLKCommandTree::FindById(uint32_t id) {
    return const_cast<CWLKCommand*>(std::as_const(*this).FindById(id));
}

const CWLKCommand* CWLKCommandTree::FindById(uint32_t id) const {
    const CWLKCommand* found = nullptr;
    ForEach([&](const CWLKCommand& node) {
        if (node.id == id) found = &node;
        return found == nullptr;
    });
    return found;
}

CWLKCommand* CWLKCommandTree::FindParent(uint32_t id) {
    return FindParentIn(commands_, nullptr, id);
}

bool CWLKCommandTree::GroupContainsId(const CWLKCommand& group, uint32_t id) {
    if (!group.IsGroup()) return false;
    return !Walk(*group.children,
                 [id](const CWLKCommand& node) { return node.IsGroup() || node.id != id; });
}

uint32_t CWLKCommandTree::NextId() const {
    uint32_t largest = 0;
    ForEach([&](const CWLKCommand& node) {
        largest = std::max(largest, node.id);
        return true;
    });
    return largest + 1;
}

void CWLKCommandTree::CountPhrases(int& all, int& included) const {
    all = 0;
    included = 0;
    ForEach([&](const CWLKCommand& node) {
        ++all;
        if (node.IsIncluded()) ++included;
        return true;
    });
}

bool CWLKCommandTree::ForEach(const std::function<bool(CWLKCommand&)>& visit) {
    return Walk(commands_, visit);
}

bool CWLKCommandTree::ForEach(const std::function<bool(const CWLKCommand&)>& visit) const {
    return Walk(commands_, visit);
}

void CWLKCommandTree::MarkUsed(uint32_t id) {
    CWLKCommand* node = FindById(id);
    if (!node) return;
    node->IncrementUsage();
    node->SetDateUsageNow();
    SaveCommand(*node);
}

bool CWLKCommandTree::SaveCommand(CWLKCommand& node) {
    if (node.GetPath().empty()) {
        const CWLKCommand* parent = FindParent(node.id);
        node.SetPath(MakeUniqueFileName(node.name, parent ? parent->GetPath() : folder_));
    }
    std::optional<std::string> document = BuildCommandXml(node);
    if (!document) {
        log::EventLog::Instance().WriteError(u"cannot create XML for command");
        return false;
    }
    const Text fileName = CommandFileName(node);
    auto write = [document = std::move(*document), fileName] {
        return WriteDocumentFile(document, fileName);
    };
    if (platform::Current().threads.Start([write] { write(); })) return true;
    return write();  // no thread to be had: the use is recorded now rather than never
}

}  // namespace wlk::phrases

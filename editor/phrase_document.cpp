#include "editor/phrase_document.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "phrases/command_file.h"
#include "phrases/command_xml.h"
#include "phrases/file_title.h"
#include "phrases/folder_loader.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::editor {

namespace {

using phrases::CommandList;
using phrases::CWLKCommand;

constexpr size_t kNameMax = CWLKCommand::kNameMaxChars;
// Guards the search for a free name against a file system that calls every name taken.
constexpr uint32_t kMaxNameTries = 1'000'000;

platform::FileSystem& Files() {
    return platform::Current().files;
}

Text WithoutSlash(Text folder) {
    while (!folder.empty() && folder.back() == u'\\') folder.pop_back();
    return folder;
}

Text LeafOf(const Text& path) {
    return path.substr(path.rfind(u'\\') + 1);
}

Text ParentOf(const Text& path) {
    const size_t slash = path.rfind(u'\\');
    return slash == Text::npos ? Text() : path.substr(0, slash);
}

// Blanks and tabs, and the carriage return of a Windows line break.
Text TrimBlanks(const Text& line) {
    const size_t first = line.find_first_not_of(u" \t\r");
    if (first == Text::npos) return Text();
    return line.substr(first, line.find_last_not_of(u" \t\r") - first + 1);
}

bool IsPhraseFile(const Text& name) {
    const std::u16string_view extension = phrases::kPhraseExtension;
    return name.size() >= extension.size() &&
           EqualsIgnoreCase(std::u16string_view(name).substr(name.size() - extension.size()),
                            extension);
}

// The loader names a group after its folder, so a group's name must be one
// that a folder can carry.
Text GroupTitle(const Text& name) {
    const Text title = phrases::MakeFileTitle(name, 1, false, false);
    if (title.size() <= kNameMax) return title;
    return phrases::MakeFileTitle(title.substr(0, kNameMax), 1, false, false);
}

Text FittingName(const CWLKCommand& node, const Text& name) {
    return node.IsGroup() ? GroupTitle(name) : name.substr(0, kNameMax);
}

// "base", "base2", "base3", … whichever is free first in `folder`.
Text UniqueFolder(const Text& base, const Text& folder) {
    Text candidate;
    for (uint32_t n = 1; n <= kMaxNameTries; ++n) {
        candidate = folder + u"\\" + base + (n > 1 ? ToText(n) : Text());
        if (Files().Kind(candidate) == platform::PathKind::Missing) break;
    }
    return candidate;
}

bool MoveBase(Text& path, const Text& from, const Text& to) {
    if (path != from && !path.starts_with(from + u"\\")) return false;
    path = to + path.substr(from.size());
    return true;
}

bool Holds(const CWLKCommand& node, uint32_t id) {
    if (node.id == id) return true;
    return node.IsGroup() &&
           std::any_of(node.children->begin(), node.children->end(),
                       [id](const CWLKCommand& child) { return Holds(child, id); });
}

template <typename Visit>
void ForSubtree(CWLKCommand& node, const Visit& visit) {
    visit(node);
    if (node.IsGroup()) {
        for (CWLKCommand& child : *node.children) ForSubtree(child, visit);
    }
}

// The list `groupId` names: the top level for 0; none for an unknown id or a phrase.
CommandList* GroupList(phrases::CWLKCommandTree& tree, uint32_t groupId) {
    if (groupId == 0) return &tree.Commands();
    CWLKCommand* group = tree.FindById(groupId);
    return group && group->IsGroup() ? group->children.get() : nullptr;
}

CommandList& Siblings(phrases::CWLKCommandTree& tree, uint32_t id) {
    CWLKCommand* parent = tree.FindParent(id);
    return parent ? *parent->children : tree.Commands();
}

size_t IndexOf(const CommandList& list, uint32_t id) {
    return size_t(std::find_if(list.begin(), list.end(),
                               [id](const CWLKCommand& node) { return node.id == id; }) -
                  list.begin());
}

}  // namespace

bool PhraseDocument::Load(const Text& folder) {
    Forget();
    if (!tree_.Load(folder, phrases::LoadScope::TopPhrasesAndGroups)) return false;
    tree_.ForEach([this](const CWLKCommand& node) {
        if (node.IsGroup()) pendingGroups_.insert(node.id);
        return true;
    });
    TakeStock(WithoutSlash(tree_.Folder()), tree_.Commands(), nullptr);
    return true;
}

bool PhraseDocument::ReadGroup(uint32_t groupId) {
    if (pendingGroups_.erase(groupId) == 0) return false;
    CWLKCommand* group = tree_.FindById(groupId);
    if (!group) return false;
    phrases::CWLKFolderLoader loader(tree_.NextId(), phrases::LoadScope::PhrasesOnly);
    CommandList& children = *group->children;
    loader.LoadFolder(group->GetPath(), children);
    phrases::SortCommands(children);
    TakeStock(group->GetPath(), children, group);
    return true;
}

void PhraseDocument::ReadGroupsAbove(uint32_t id) {
    // Reading a group changes only its own list, never the one holding it.
    for (CWLKCommand* group = tree_.FindParent(id); group; group = tree_.FindParent(group->id))
        ReadGroup(group->id);
}

void PhraseDocument::Forget() {
    unread_.clear();
    pendingGroups_.clear();
    changed_.clear();
    removedFiles_.clear();
    removedFolders_.clear();
    knownStamps_.clear();
}

// The loader logs the files it skips; one listing of the folder finds them for
// the user and gives the stamps of the loaded ones, so that no file is read twice.
void PhraseDocument::TakeStock(const Text& folder, const CommandList& nodes,
                               const CWLKCommand* group) {
    std::map<Text, Text> loaded;  // the path in lower case → as the node has it
    const auto add = [&loaded](const CWLKCommand& node) {
        const Text file = phrases::CommandFileName(node);
        loaded[ToLower(file)] = file;
    };
    for (const CWLKCommand& node : nodes) {
        if (!node.IsGroup()) add(node);
    }
    if (group) add(*group);
    for (const platform::DirEntry& entry : Files().List(folder + u"\\", u"*")) {
        if (entry.directory || !IsPhraseFile(entry.name)) continue;
        const Text path = folder + u"\\" + entry.name;
        if (const auto found = loaded.find(ToLower(path)); found != loaded.end()) {
            knownStamps_[found->second] = {entry.size, entry.lastWrite};
            continue;
        }
        CWLKCommand scratch;
        const phrases::ReadOutcome outcome = phrases::ReadCommandFileOutcome(scratch, path);
        unread_.push_back({path, folder + u"\\", phrases::DescribeReadOutcome(outcome)});
    }
}

// The files of one folder by their names in lower case.
std::map<Text, PhraseDocument::DiskStamp> PhraseDocument::StampsIn(const Text& folder) {
    std::map<Text, DiskStamp> stamps;
    for (const platform::DirEntry& entry : Files().List(folder + u"\\", u"*")) {
        if (!entry.directory) stamps[ToLower(entry.name)] = {entry.size, entry.lastWrite};
    }
    return stamps;
}

std::optional<PhraseDocument::DiskStamp> PhraseDocument::StampOf(const Text& path) {
    const std::map<Text, DiskStamp> stamps = StampsIn(ParentOf(path));
    const auto found = stamps.find(ToLower(LeafOf(path)));
    return found == stamps.end() ? std::nullopt : std::optional(found->second);
}

void PhraseDocument::MarkChanged(CWLKCommand& node) {
    changed_.insert(node.id);
}

// The loader orders by "SortID" alone within groups and phrases, so numbering the
// whole list in display order keeps that order through a reload.
void PhraseDocument::Renumber(CommandList& list) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].sortId == i + 1) continue;
        list[i].sortId = uint32_t(i + 1);
        MarkChanged(list[i]);
    }
}

// Past every sort id in the list, so the node sorts last among its kind
// without renumbering (and rewriting) its new neighbours.
uint32_t PhraseDocument::Append(CommandList& list, CWLKCommand node) {
    uint32_t last = 0;
    for (const CWLKCommand& other : list) last = std::max(last, other.sortId);
    node.sortId = last + 1;
    MarkChanged(node);
    const uint32_t id = node.id;
    list.push_back(std::move(node));
    phrases::SortCommands(list);
    return id;
}

uint32_t PhraseDocument::AddPhrase(uint32_t groupId, const Text& name, const Text& body) {
    ReadGroup(groupId);
    CommandList* list = GroupList(tree_, groupId);
    CWLKCommand phrase;
    phrase.name = FittingName(phrase, name);
    if (!list || phrase.name.empty()) return 0;
    phrase.command = body;
    phrase.id = tree_.NextId();
    return Append(*list, std::move(phrase));
}

uint32_t PhraseDocument::AddGroup(uint32_t groupId, const Text& name) {
    ReadGroup(groupId);
    CommandList* list = GroupList(tree_, groupId);
    CWLKCommand group;
    group.MakeGroup();
    group.name = FittingName(group, name);
    if (!list || group.name.empty()) return 0;
    group.id = tree_.NextId();
    return Append(*list, std::move(group));
}

bool PhraseDocument::Rename(uint32_t id, const Text& name) {
    CWLKCommand* node = tree_.FindById(id);
    if (!node) return false;
    // A loaded group keeps its folder's name as it is, even one the editor
    // would not have made.
    if (name == node->name) return true;
    const Text fitting = FittingName(*node, name);
    if (fitting.empty()) return false;
    if (fitting != node->name) {
        node->name = fitting;
        MarkChanged(*node);
    }
    return true;
}

bool PhraseDocument::Edit(uint32_t id, const std::function<void(CWLKCommand&)>& change) {
    CWLKCommand* node = tree_.FindById(id);
    if (!node) return false;
    const Text name = node->name;
    const std::optional<std::string> before = phrases::BuildCommandXml(*node);
    change(*node);
    if (node->name != name) node->name = FittingName(*node, node->name);
    if (node->name.empty()) node->name = name;
    node->hint.resize(std::min(node->hint.size(), CWLKCommand::kHintMaxChars));
    // The editor hands its fields over whether or not they were touched.
    if (node->name != name || phrases::BuildCommandXml(*node) != before) MarkChanged(*node);
    return true;
}

bool PhraseDocument::Remove(uint32_t id) {
    CWLKCommand* node = tree_.FindById(id);
    if (!node) return false;
    // Reading a group only adds to its own list, before the walk goes down it.
    ForSubtree(*node, [this](CWLKCommand& gone) {
        ReadGroup(gone.id);
        changed_.erase(gone.id);
        if (gone.GetPath().empty()) return;  // never saved
        if (gone.IsGroup()) removedFolders_.push_back(gone.GetPath());
        const Text file = phrases::CommandFileName(gone);
        if (!gone.IsGroup() || knownStamps_.count(file)) removedFiles_.push_back(file);
    });
    CommandList& list = Siblings(tree_, id);
    list.erase(list.begin() + ptrdiff_t(IndexOf(list, id)));
    return true;
}

bool PhraseDocument::MoveUp(uint32_t id) {
    if (!tree_.FindById(id)) return false;
    CommandList& list = Siblings(tree_, id);
    const size_t at = IndexOf(list, id);
    // Groups stay above phrases whatever their numbers, so neither passes the other.
    if (at == 0 || list[at - 1].IsGroup() != list[at].IsGroup()) return false;
    std::swap(list[at - 1], list[at]);
    Renumber(list);
    return true;
}

bool PhraseDocument::MoveDown(uint32_t id) {
    if (!tree_.FindById(id)) return false;
    CommandList& list = Siblings(tree_, id);
    const size_t at = IndexOf(list, id);
    if (at + 1 >= list.size() || list[at + 1].IsGroup() != list[at].IsGroup()) return false;
    return MoveUp(list[at + 1].id);
}

bool PhraseDocument::MoveToGroup(uint32_t id, uint32_t groupId) {
    ReadGroup(groupId);
    CWLKCommand* node = tree_.FindById(id);
    CommandList* target = GroupList(tree_, groupId);
    CommandList& list = Siblings(tree_, id);
    if (!node || !target || target == &list || Holds(*node, groupId)) return false;
    const size_t at = IndexOf(list, id);
    CWLKCommand moved = std::move(list[at]);
    // The target list lives on the heap of its group, untouched by this erase.
    list.erase(list.begin() + ptrdiff_t(at));
    Append(*target, std::move(moved));
    return true;
}

bool PhraseDocument::IsModified() const {
    return !changed_.empty() || !removedFiles_.empty() || !removedFolders_.empty();
}

bool PhraseDocument::IsModified(uint32_t id) const {
    return changed_.count(id) != 0;
}

// Removed files go first, so that their names are free for new ones; the
// folders of removed groups are tried again at the end, when nodes moved out
// of them have left.
SaveReport PhraseDocument::Save() {
    SaveReport report;
    DeleteRemovedFiles(report);
    SaveList(tree_.Commands(), WithoutSlash(tree_.Folder()), report);
    RemoveEmptiedFolders();
    return report;
}

void PhraseDocument::DeleteRemovedFiles(SaveReport& report) {
    std::vector<Text> left;
    for (const Text& file : removedFiles_) {
        if (Files().Kind(file) == platform::PathKind::Missing || Files().DeleteFile(file)) {
            knownStamps_.erase(file);
        } else {
            report.failed.push_back(file);
            left.push_back(file);
        }
    }
    removedFiles_ = std::move(left);
    for (auto folder = removedFolders_.rbegin(); folder != removedFolders_.rend(); ++folder) {
        Files().RemoveDirectory(*folder);
    }
}

// A folder still holding anything (an unread file, a file that could not be
// deleted, something of the user's) stays: the system refuses to remove it.
void PhraseDocument::RemoveEmptiedFolders() {
    for (auto folder = removedFolders_.rbegin(); folder != removedFolders_.rend(); ++folder) {
        if (Files().Kind(*folder) == platform::PathKind::Directory) {
            Files().RemoveDirectory(*folder);
        }
    }
    removedFolders_.clear();
}

void PhraseDocument::SaveList(CommandList& list, const Text& folder, SaveReport& report) {
    for (CWLKCommand& node : list) {
        if (node.IsGroup()) {
            SaveGroup(node, folder, report);
        } else {
            SavePhrase(node, folder, report);
        }
    }
}

void PhraseDocument::SaveGroup(CWLKCommand& group, const Text& folder, SaveReport& report) {
    const bool placed = PlaceFolder(group, folder, report);
    if (placed && changed_.count(group.id)) {
        WriteNode(group, phrases::CommandFileName(group), report);
    }
    // A group whose move failed still has its old folder for its phrases.
    if (!group.GetPath().empty()) SaveList(*group.children, group.GetPath(), report);
}

void PhraseDocument::SavePhrase(CWLKCommand& phrase, const Text& folder, SaveReport& report) {
    if (phrase.GetPath().empty()) {
        WriteNode(phrase, phrases::MakeUniqueFileName(phrase.name, folder), report);
    } else if (PlaceFile(phrase, folder, report) && changed_.count(phrase.id)) {
        WriteNode(phrase, phrase.GetPath(), report);
    }
}

// Makes or moves the group's folder so that it lies in `folder` under the
// group's name. A folder whose name already gives the group's name keeps it.
bool PhraseDocument::PlaceFolder(CWLKCommand& group, const Text& folder, SaveReport& report) {
    const Text old = group.GetPath();
    const bool named = !old.empty() && group.name == LeafOf(old).substr(0, kNameMax);
    if (named && EqualsIgnoreCase(ParentOf(old), folder)) return true;
    const Text target = UniqueFolder(named ? LeafOf(old) : group.name, folder);
    const bool done = old.empty() ? Files().CreateDirectory(target, platform::Security::Default)
                                  : Files().Move(old, target);
    if (!done) {
        report.failed.push_back(old.empty() ? target : old);
        return false;
    }
    if (!old.empty()) Rebase(old, target);
    // The old folder is gone, so setting the path moves nothing more.
    group.SetPath(target);
    group.name = LeafOf(target).substr(0, kNameMax);
    return true;
}

// Moves the phrase's file into `folder`, under its own name when that is free.
bool PhraseDocument::PlaceFile(CWLKCommand& phrase, const Text& folder, SaveReport& report) {
    const Text old = phrase.GetPath();
    if (EqualsIgnoreCase(ParentOf(old), folder)) return true;
    Text target = folder + u"\\" + LeafOf(old);
    if (Files().Kind(target) != platform::PathKind::Missing) {
        target = phrases::MakeUniqueFileName(phrase.name, folder);
    }
    if (!Files().Move(old, target)) {
        report.failed.push_back(old);
        return false;
    }
    Rebase(old, target);
    return true;
}

// A file the user made read-only is theirs to keep as it is: the editor
// reports it instead of replacing it, as the program itself would.
void PhraseDocument::WriteNode(CWLKCommand& node, const Text& file, SaveReport& report) {
    const std::optional<std::string> document = phrases::BuildCommandXml(node);
    if (!document || Files().IsReadOnly(file) || !phrases::WriteDocumentFile(*document, file)) {
        report.failed.push_back(file);
        return;
    }
    if (const std::optional<DiskStamp> stamp = StampOf(file)) knownStamps_[file] = *stamp;
    changed_.erase(node.id);
    if (node.GetPath().empty()) node.SetPath(file);
}

void PhraseDocument::Rebase(const Text& from, const Text& to) {
    tree_.ForEach([&](CWLKCommand& node) {
        Text path = node.GetPath();
        if (MoveBase(path, from, to)) node.SetPath(path);
        return true;
    });
    std::map<Text, DiskStamp> known;
    for (const auto& [path, stamp] : knownStamps_) {
        Text moved = path;
        MoveBase(moved, from, to);
        known[moved] = stamp;
    }
    knownStamps_ = std::move(known);
    for (UnreadFile& file : unread_) {
        MoveBase(file.path, from, to);
        MoveBase(file.folder, from, to);
    }
    for (Text& file : removedFiles_) MoveBase(file, from, to);
    for (Text& folder : removedFolders_) MoveBase(folder, from, to);
}

// One listing a folder, not one read a file: the editor asks each time the
// user comes back to it.
std::vector<Text> PhraseDocument::ChangedOnDisk() const {
    std::map<Text, std::map<Text, DiskStamp>> folders;  // by folder in lower case
    std::vector<Text> changed;
    for (const auto& [path, stamp] : knownStamps_) {
        auto [folder, added] = folders.try_emplace(ToLower(ParentOf(path)));
        if (added) folder->second = StampsIn(ParentOf(path));
        const auto now = folder->second.find(ToLower(LeafOf(path)));
        if (now == folder->second.end() || now->second != stamp) changed.push_back(path);
    }
    return changed;
}

void PhraseDocument::KeepOwnVersions() {
    for (const Text& path : ChangedOnDisk()) {
        if (const std::optional<DiskStamp> now = StampOf(path)) {
            knownStamps_[path] = *now;
        } else {
            knownStamps_.erase(path);
        }
        tree_.ForEach([&](CWLKCommand& node) {
            if (phrases::CommandFileName(node) == path) MarkChanged(node);
            return true;
        });
    }
}

Text NameFromText(const Text& text) {
    Text line;
    for (size_t start = 0; line.empty() && start <= text.size();) {
        const size_t end = std::min(text.find(u'\n', start), text.size());
        line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
    }
    if (line.size() <= kNameMax) return line;
    return line.substr(0, kNameMax - 3) + u"...";
}

}  // namespace wlk::editor

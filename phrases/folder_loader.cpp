#include "phrases/folder_loader.h"

#include <algorithm>

#include "log/event_log.h"
#include "phrases/command_file.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::phrases {

namespace {

// Room for a usual phrases folder at once, so that the listing rarely grows.
constexpr size_t kReservedEntries = 1000;

struct Entry {
    Text path;
    Text name;
    bool directory;
};

bool IsPhraseFileName(const Text& name) {
    const std::u16string_view extension = kPhraseExtension;
    if (EqualsIgnoreCase(name, kFolderSelfName) || name.size() < extension.size()) return false;
    return EqualsIgnoreCase(std::u16string_view(name).substr(name.size() - extension.size()),
                            extension);
}

}  // namespace

bool CWLKFolderLoader::LoadFolder(const Text& folder, CommandList& list) {
    auto& files = platform::Current().files;
    Text base = folder;
    if (!base.empty() && base.back() == u'\\') base.pop_back();
    if (files.Kind(base) != platform::PathKind::Directory) return false;

    const bool readGroups = scope_ != LoadScope::PhrasesOnly;
    const bool readPhrases = scope_ != LoadScope::TopPhrasesAndGroups || depth_ == 0;
    std::vector<Entry> kept;
    kept.reserve(kReservedEntries);
    // "*" lists what "*.*" lists on Windows, names without a dot included.
    for (const platform::DirEntry& entry : files.List(base + u"\\", u"*")) {
        if (entry.directory ? readGroups : readPhrases && IsPhraseFileName(entry.name)) {
            kept.push_back({base + u"\\" + entry.name, entry.name, entry.directory});
        }
    }
    if (kept.empty()) return false;

    for (const Entry& entry : kept) {
        if (entry.directory) {
            AddGroup(entry.path, entry.name, list);
        } else {
            AddPhrase(entry.path, list);
        }
    }
    return true;
}

void CWLKFolderLoader::AddGroup(const Text& folder, const Text& name, CommandList& list) {
    CWLKCommand group;
    // A group before its descriptor is read, so that a date in it is not taken.
    group.MakeGroup();
    const Text descriptor = folder + u"\\" + kFolderSelfName;
    if (platform::Current().files.Kind(descriptor) == platform::PathKind::File) {
        ReadCommandFile(group, descriptor);  // a descriptor has no title: "failing" is normal
    }
    group.name = name.substr(0, CWLKCommand::kNameMaxChars);
    group.id = nextId_++;
    group.SetPath(folder);
    list.push_back(std::move(group));
    // The children list lives on the heap, so it stays put while `list` grows.
    CommandList& children = *list.back().children;
    ++depth_;
    LoadFolder(folder, children);
    --depth_;
}

void CWLKFolderLoader::AddPhrase(const Text& path, CommandList& list) {
    CWLKCommand phrase;
    const ReadOutcome outcome = ReadCommandFileOutcome(phrase, path);
    if (outcome != ReadOutcome::Phrase) {
        ++filesSkipped_;
        log::EventLog::Instance().Write(u"Phrase file skipped, it " + DescribeReadOutcome(outcome) +
                                        u": [" + path + u"]");
        return;
    }
    ++filesRead_;
    phrase.id = nextId_++;
    phrase.SetPath(path);
    list.push_back(std::move(phrase));
}

void SortCommands(CommandList& list) {
    std::stable_sort(list.begin(), list.end(), [](const CWLKCommand& a, const CWLKCommand& b) {
        if (a.IsGroup() != b.IsGroup()) return a.IsGroup();
        return a.sortId < b.sortId;
    });
    for (CWLKCommand& node : list) {
        if (node.IsGroup()) SortCommands(*node.children);
    }
}

}  // namespace wlk::phrases

// Where the history lives on disk and how its files are named.
#pragma once

#include <map>

#include "history/ch_item.h"
#include "platform/types.h"

namespace wlk::history {

// "ClipboardHistory\" in the program's folder.
Text HistoryFolder();

// Prefix and extension of a data file of `type`.
struct NamePattern {
    const char16_t* prefix;
    const char16_t* extension;  // with the dot
};
NamePattern DataFilePattern(ChType type);
inline constexpr NamePattern kInfoPattern{u"wordlark_cb", u".info"};

// prefix + n + extension for the first n from `from` whose path does not
// exist in `folder` (which ends with a backslash); empty when none is free.
Text FirstFreeName(const Text& folder, const NamePattern& pattern, long long from = 1);

// First free names for one save: the numbers below the last one taken are
// not looked at again while the save runs. Only the first name of a pattern,
// and the one after a name that turned out taken, is looked for on disk; the
// others are the number after the last one handed out, which the caller's
// CREATE_NEW proves free (a look for a missing name costs the system a scan
// of the whole folder).
class NameAllocator {
public:
    explicit NameAllocator(Text folder) : folder_(std::move(folder)) {}
    Text Next(const NamePattern& pattern);
    // The last name Next gave for `pattern` exists already.
    void Taken(const NamePattern& pattern);

private:
    struct Counter {
        long long next = 1;
        bool look = true;
    };
    Counter& CounterOf(const NamePattern& pattern);

    Text folder_;
    std::map<Text, Counter> counters_;
};

// The type a loaded data file gets from its name.
ChType TypeFromFileName(const Text& name);

// The name after the last backslash.
Text FileNameOf(const Text& path);

}  // namespace wlk::history

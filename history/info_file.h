// The ".info" file of an item on disk: an INI file with one section "Files",
// read and written through the profile functions.
#pragma once

#include <vector>

#include "history/ch_item.h"
#include "platform/types.h"

namespace wlk::history {

struct InfoContent {
    bool isProtected = false;
    // File names (no folder), the primary format's first.
    std::vector<Text> files;
};

// The whole section: "DataType", "Protected", and "File0", "File1", ... for
// `names` and no further "File" keys. False unless all of it is on disk.
bool WriteInfo(const Text& infoPath, ChType type, bool isProtected, const std::vector<Text>& names);
void WriteInfoProtected(const Text& infoPath, bool isProtected);

// The protected flag and the file list up to the first missing, empty or
// overlong "File" key.
InfoContent ReadInfo(const Text& infoPath);

// Whether `name` is a plain file name that stays inside the history folder.
bool IsPlainFileName(const Text& name);

}  // namespace wlk::history

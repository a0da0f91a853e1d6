// The temporary ".xml" file a downloaded version document passes through.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

namespace wlk::web {

// A new, empty file "wlk????.xml" in the temporary folder, marked temporary
// (the system keeps it in memory when it can) and deleted when the owner ends.
class TempXmlFile {
public:
    TempXmlFile();
    ~TempXmlFile();
    TempXmlFile(const TempXmlFile&) = delete;
    TempXmlFile& operator=(const TempXmlFile&) = delete;

    // Empty when no file could be made.
    const Text& Path() const { return path_; }
    // Sets the temporary attribute again: a download that replaced the file
    // may have dropped it.
    void MarkTemporary() const;
    std::optional<uint64_t> Size() const;
    // The whole file when it holds at most `maxBytes`.
    std::optional<std::string> Read(uint32_t maxBytes) const;

private:
    Text path_;
};

}  // namespace wlk::web

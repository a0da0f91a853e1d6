// A ZIP archive of named blocks of bytes: each entry deflated, or stored when
// deflating does not make it smaller; UTF-8 names marked as such; every entry
// dated with one given local time. No ZIP64: an entry or an archive of 4 GiB
// or more is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace wlk::info {

struct ZipEntry {
    Text name;  // with "/" between folders
    std::string_view data;
};

// The archive's bytes; nothing when an entry is too large or zlib fails.
std::optional<std::string> BuildZip(const std::vector<ZipEntry>& entries,
                                    const platform::LocalTime& time);

// Builds the archive and writes it to `path` under a temporary name first,
// so that a failed write never leaves half an archive there.
bool WriteZipFile(const Text& path, const std::vector<ZipEntry>& entries,
                  const platform::LocalTime& time);

}  // namespace wlk::info

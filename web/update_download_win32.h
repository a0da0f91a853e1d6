// Fetching the version document from the update server.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

namespace wlk::web {

// How far a download may go: an answer larger than maxBytes is refused whole.
struct DownloadLimits {
    uint32_t maxBytes = 64 * 1024;
    uint32_t connectTimeoutMs = 15000;
    uint32_t receiveTimeoutMs = 15000;
};

// Downloads `url` into a new ".xml" file in the temporary folder, reads it
// back and deletes it: the document's bytes, or nothing. The program's own
// WinInet request goes first, URLDownloadToFileW when that fails; each road
// is logged. The caller has already decided that `url` may be fetched.
std::optional<std::string> DownloadVersionDocument(const Text& url,
                                                   const DownloadLimits& limits = {});

}  // namespace wlk::web

// The version information document the maker's web site answers with, and
// the comparison of dotted versions.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace wlk::web {

// The document is a few hundred bytes; anything beyond this is not read.
inline constexpr size_t kMaxVersionDocumentBytes = 64 * 1024;

struct VersionInfo {
    Text version, status, downloadUrl, portableUrl, whatsNewUrl;
    bool operator==(const VersionInfo&) const = default;
};

// The texts of a "WordlarkVersionInfo" document ("Version_Test" instead of
// "Version" under the test marker); missing elements give empty texts.
// Nothing when the text is not such a document, is larger than
// kMaxVersionDocumentBytes, is not UTF-8 or nests too deep.
std::optional<VersionInfo> ParseVersionInfo(std::string_view utf8, bool testMarker);

// "2.61.0.1" as {2, 61, 0, 1}; each part is read like "%d": blanks, a sign
// and the leading digits; a part without digits counts as 0.
std::vector<int> SplitVersion(const Text& dotted);

// Compares part by part, a missing part counting as 0; equal is not newer.
bool IsNewer(const std::vector<int>& web, const std::vector<int>& own);

// The number a skipped version is kept under in the settings.
int VersionNumber(const std::vector<int>& parts);

// Whether the user chose to skip this version; an empty text is never skipped.
bool IsSkipped(const Text& webVersion, const std::vector<int>& skipped);

}  // namespace wlk::web

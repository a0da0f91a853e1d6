// Any answer of the web site, or of whoever stands in its place, read as the
// version document: reading must neither crash nor take long, and stops at
// the first zero byte; a version read compares equal to itself and is kept
// as a skipped number in range. The same bytes as the update server setting
// give either an address without blanks, on the update path, or a refusal.
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/text.h"
#include "web/update_server.h"
#include "web/version_info.h"

namespace wlk::fuzz {

namespace {

void CheckVersion(const Text& version) {
    std::vector<int> parts = web::SplitVersion(version);
    Require(!parts.empty() && !web::IsNewer(parts, parts));
    const int number = web::VersionNumber(parts);
    Require(number >= 0 && number <= 2'146'999'999);
    Require(web::IsSkipped(version, {number}) == !Trim(version).empty());
    parts.push_back(0);
    Require(!web::IsNewer(parts, web::SplitVersion(version)));
}

void CheckServerSetting(const Text& setting) {
    const Text query = u"?q=1";
    const web::UpdateUrl url = web::MakeUpdateUrl(setting, query);
    Require(url.url.empty() != url.refusal.empty());
    if (url.url.empty()) return;
    Require(url.url.ends_with(Text(web::kUpdatePath) + query));
    for (char16_t c : url.url) Require(c > u' ' && c < 0x7F && c != u'@');
    // Every https address asked is one the update window would open too.
    Require(url.url.starts_with(u"http://") || web::IsSafeLink(url.url));
}

}  // namespace

void FuzzOne(const std::string& bytes) {
    for (const bool testMarker : {false, true}) {
        const auto info = web::ParseVersionInfo(bytes, testMarker);
        if (bytes.find('\0') == std::string::npos &&
            bytes.size() + 4 <= web::kMaxVersionDocumentBytes)
            Require(web::ParseVersionInfo(bytes + '\0' + "<x>", testMarker) == info);
        if (!info) continue;
        Require(bytes.find("WordlarkVersionInfo") != std::string::npos);
        CheckVersion(info->version);
    }
    CheckServerSetting(FromUtf8(bytes));
}

}  // namespace wlk::fuzz

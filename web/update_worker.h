// The update check as it runs on its worker thread: it waits for the delay
// and for a connection, asks the web site and hands what it learnt to the
// tray window. The system's parts come in as steps, so that the check can
// run without a network.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::web {

inline constexpr char16_t kLoadError[] = u"ERROR: Cannot load information from official web-site";
inline constexpr char16_t kParseError[] = u"ERROR: Cannot parse information file";

struct UpdateRequest {
    Text url{};
    uint32_t delayMs = 0;
    bool silent = false;  // failures are only logged
    bool automatic = false;
    bool testMarker = false;  // read "Version_Test" instead of "Version"
    std::vector<int> ownVersion{};
};

struct UpdateResult {
    std::vector<int> ownVersion{}, webVersion{};
    Text webVersionText{};  // only when the web's version is newer than ours
    Text status{}, downloadUrl{}, portableUrl{}, whatsNewUrl{}, error{};
    bool automatic = false;
};

struct UpdateCheckSteps {
    std::function<bool()> connected;  // InternetGetConnectedState
    // The answer's bytes, nothing when there is none; bounded, and logs its failures.
    std::function<std::optional<std::string>(const Text& url)> download;
    std::function<void(const UpdateResult&)> deliver;  // to the tray window
};

// One check. A signalled `stop` ends it at any point before the delivery,
// without a request or a result.
void RunUpdateCheck(const UpdateRequest& request, const UpdateCheckSteps& steps,
                    platform::Event& stop);

}  // namespace wlk::web

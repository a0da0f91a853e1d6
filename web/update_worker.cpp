#include "web/update_worker.h"

#include <algorithm>

#include "log/event_log.h"
#include "platform/platform.h"
#include "web/version_info.h"

namespace wlk::web {

namespace {

constexpr uint32_t kFirstConnectionWaitMs = 5'000;
// The waits for a connection double up to a day: a check a day late does no
// harm, and one that waited weeks for a laptop back online would.
constexpr uint32_t kLongestConnectionWaitMs = 86'400'000;

// True when `stop` stayed unsignalled for `ms`; a failed wait ends the check too.
bool Quiet(platform::Event& stop, uint32_t ms) {
    platform::Event* events[] = {&stop};
    return platform::Current().sync.WaitAny(events, ms) == platform::kWaitTimeout;
}

// Waits out the delay, and while there is no connection, waits for one in
// doubling steps that count towards the delay. False when stopped.
bool WaitForConnection(uint32_t delayMs, const std::function<bool()>& connected,
                       platform::Event& stop) {
    uint32_t remaining = delayMs, step = kFirstConnectionWaitMs;
    do {
        while (!connected()) {
            if (!Quiet(stop, step)) return false;
            remaining -= std::min(step, remaining);
            step = std::min(step * 2, kLongestConnectionWaitMs);
        }
        if (!Quiet(stop, remaining)) return false;
        remaining = 0;
    } while (!connected());
    return true;
}

UpdateResult Answered(const UpdateRequest& request, const VersionInfo& info) {
    UpdateResult result{.ownVersion = request.ownVersion, .automatic = request.automatic};
    result.webVersion = SplitVersion(info.version);
    if (IsNewer(result.webVersion, request.ownVersion)) result.webVersionText = info.version;
    result.status = info.status;
    result.downloadUrl = info.downloadUrl;
    result.portableUrl = info.portableUrl;
    result.whatsNewUrl = info.whatsNewUrl;
    return result;
}

UpdateResult Failed(const UpdateRequest& request, const Text& error) {
    return {.ownVersion = request.ownVersion, .error = error, .automatic = request.automatic};
}

// The tray window may be gone once the program is ending.
void Deliver(const UpdateCheckSteps& steps, const UpdateResult& result, platform::Event& stop) {
    if (Quiet(stop, 0)) steps.deliver(result);
}

}  // namespace

void RunUpdateCheck(const UpdateRequest& request, const UpdateCheckSteps& steps,
                    platform::Event& stop) {
    if (!WaitForConnection(request.delayMs, steps.connected, stop)) return;
    const std::optional<std::string> answer = steps.download(request.url);
    if (!answer) {
        if (!request.silent) Deliver(steps, Failed(request, kLoadError), stop);
        return;
    }
    const std::optional<VersionInfo> info = ParseVersionInfo(*answer, request.testMarker);
    if (!info) {
        log::EventLog::Instance().Write(kParseError);
        if (!request.silent) Deliver(steps, Failed(request, kParseError), stop);
        return;
    }
    Deliver(steps, Answered(request, *info), stop);
}

}  // namespace wlk::web

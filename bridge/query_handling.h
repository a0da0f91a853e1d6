// Handling one query that the hook component signalled: read it, complete the
// selection when the hook component could not read it, hand it to the tray
// window and store any answer.
#pragma once

#include <cstdint>
#include <functional>

#include "bridge/query_answer.h"
#include "bridge/target_context.h"
#include "platform/sync.h"

namespace wlk::bridge {

struct QueryHandlingSteps {
    // Reads the query from the area into the context; false when it cannot.
    std::function<bool(TargetContext&)> readQuery;
    // The selection of the target window by a simulated copy; empty when none.
    std::function<Text(platform::WindowId)> extractSelectedText;
    // Sends WM_DATA_NEEDED to the tray window with a 2000 ms limit: its result,
    // or 0 when the call failed or timed out.
    std::function<intptr_t(TargetContext&, QueryAnswer&)> sendDataNeeded;
};

// The tray window's result that asks for the answer to be stored.
inline constexpr intptr_t kDataNeededHandled = 1;

// The log line of a query that was read.
Text ReceivedQueryLine(const TargetContext& context);

// One signal of the query event. The answer event is set after a failed read,
// to release the hook component at once, and after a stored answer.
void HandleOneQuery(const QueryHandlingSteps& steps, const Text& areaName,
                    platform::Event& queryEvent, platform::Event& answerEvent);

}  // namespace wlk::bridge

// The road of one request for the target's facts, from the hotkey to the
// handler: the hook is asked, its query handed on when it comes; when none is
// read within a short time, the facts are taken directly.
#pragma once

#include <cstdint>

#include "app/pending_query.h"
#include "bridge/data_needed_handler.h"
#include "bridge/dll_service.h"
#include "bridge/query_service.h"

namespace wlk::app {

// The tray window's one-shot timer for a query that does not come.
inline constexpr uintptr_t kTimerQueryFallback = 1248;

class TargetRequests {
public:
    TargetRequests(bridge::CWLKDLLService& service, bridge::QueryService& queries)
        : service_(service), queries_(queries) {}

    void Attach(platform::WindowId trayWindow, bridge::IDataNeededHander* handler) {
        trayWindow_ = trayWindow;
        handler_ = handler;
    }
    // The hotkey (trigger 0) or another way of calling the menu (1).
    bridge::QueryResult Request(uintptr_t trigger);
    // WM_DATA_NEEDED from the waiting thread: 1 when the query was handed on.
    intptr_t OnDataNeeded(const bridge::TargetContext& context, bridge::QueryAnswer& answer);
    // kTimerQueryFallback fired.
    void OnFallbackTimer();

private:
    void HandOn(const bridge::TargetContext& context, bridge::QueryAnswer& answer);

    bridge::CWLKDLLService& service_;
    bridge::QueryService& queries_;
    platform::WindowId trayWindow_ = 0;
    bridge::IDataNeededHander* handler_ = nullptr;
    PendingQuery pending_;
    uint32_t requestTick_ = 0;
};

}  // namespace wlk::app

// The road of one call of the phrase menu, from the hotkey to the handler: the
// hook is asked, its query handed on when it comes; when none is read within
// a short time, the facts are taken directly. One call at a time: while a
// nested loop runs (a menu, an insertion's prompt or error box), a new call
// and any query that arrives are dropped.
#pragma once

#include <cstdint>

#include "app/modal_loops.h"
#include "app/pending_query.h"
#include "bridge/data_needed_handler.h"
#include "bridge/dll_service.h"
#include "bridge/query_service.h"

namespace wlk::app {

// The tray window's one-shot timer for a query that does not come.
inline constexpr uintptr_t kTimerQueryFallback = 1248;

class TargetRequests {
public:
    TargetRequests(bridge::CWLKDLLService& service, bridge::QueryService& queries,
                   ModalLoops& loops)
        : service_(service), queries_(queries), loops_(loops) {}

    void Attach(platform::WindowId trayWindow, bridge::IDataNeededHander* handler) {
        trayWindow_ = trayWindow;
        handler_ = handler;
    }
    // Whether the menu may be called now; logs why not.
    bool MayCall() const;
    // The hotkey (trigger 0) or another way of calling the menu (1).
    bridge::QueryResult Request(uintptr_t trigger);
    // WM_DATA_NEEDED from the waiting thread: 1 when the query was handed on.
    // The records belong to the waiting thread, which stops waiting for this
    // call after a while: the handler gets copies that live as long as it needs.
    intptr_t OnDataNeeded(const bridge::TargetContext& context, bridge::QueryAnswer& answer);
    // kTimerQueryFallback fired.
    void OnFallbackTimer();

private:
    void HandOn(const bridge::TargetContext& context, bridge::QueryAnswer& answer);

    bridge::CWLKDLLService& service_;
    bridge::QueryService& queries_;
    ModalLoops& loops_;
    platform::WindowId trayWindow_ = 0;
    bridge::IDataNeededHander* handler_ = nullptr;
    PendingQuery pending_;
    uint32_t requestTick_ = 0;
};

}  // namespace wlk::app

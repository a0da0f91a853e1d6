// The receiver of the target's facts: the tray window hands every query (or
// every context it gathered itself) to the one handler it owns.
#pragma once

#include "bridge/query_answer.h"
#include "bridge/target_context.h"

namespace wlk::bridge {

class IDataNeededHander {
public:
    virtual void CleanupMenu() = 0;
    // Whether keyboard-layout macros are honoured when a phrase is inserted.
    virtual bool HonoursLayoutMacros() = 0;
    virtual bool IsMenuShown() = 0;
    // Called on the main thread; both records live only during the call.
    virtual void OnDataNeeded(const TargetContext& context, QueryAnswer& answer) = 0;
    // Whether OnDataNeeded fills answers; the hook component is told at installation.
    virtual bool ProvidesAnswers() = 0;
    virtual ~IDataNeededHander() = default;
};

}  // namespace wlk::bridge

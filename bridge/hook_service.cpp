#include "bridge/hook_service.h"

#include "log/event_log.h"

namespace wlk::bridge {

bool CWLKDLLService::Install(platform::WindowId, bool, Text&) {
    installed_ = true;
    return true;
}

void CWLKDLLService::Uninstall() {
    installed_ = false;
}

QueryResult CWLKDLLService::RequestTargetContext() {
    log::EventLog::Instance().Write(u"Hook component not available: no target context");
    return QueryResult::NoAnswer;
}

}  // namespace wlk::bridge

#include "hook/query_request.h"

#include <cstring>
#include <string>

#include "hook/query_text.h"
#include "hook/shared_state.h"
#include "hook/target_facts.h"
#include "platform/win32/unique_handle.h"

namespace wlk::hook {

namespace {

using platform::win32::UniqueHandle;
using platform::win32::UniqueView;

// The longest the target's thread waits for the program's answer.
constexpr DWORD kAnswerWaitMs = 200;

bool IsQueryRequest(const MSG& message) {
    const SharedState& shared = Shared();
    return shared.active && shared.requestMessage != 0 && message.message == shared.requestMessage;
}

// The bytes mapped from `base` on, which the text must stay inside.
size_t MappedSize(const void* base) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(base, &info, sizeof info) ? info.RegionSize : 0;
}

bool WriteQueryText(void* area, HWND requested) {
    const size_t size = MappedSize(area);
    const auto facts = GatherFacts(requested, size);
    if (!facts) return false;
    const std::string text = BuildQueryText(*facts, size);
    if (text.empty()) return false;
    std::memcpy(area, text.c_str(), text.size() + 1);
    return true;
}

// The program answers only when its handler gives answers; the target's
// thread goes on once the answer is stored or the time is up.
void WaitForAnswer() {
    UniqueHandle answer(OpenEventW(SYNCHRONIZE, FALSE, Shared().answerEventName));
    if (answer) WaitForSingleObject(answer.Get(), kAnswerWaitMs);
}

// Without the program's event or area there is no one to tell: nothing is written.
void AnswerQueryRequest(HWND requested) {
    const SharedState& shared = Shared();
    UniqueHandle queryEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, shared.queryEventName));
    if (!queryEvent) return;
    UniqueHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, shared.areaName));
    if (!mapping) return;
    UniqueView area(MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!area || !WriteQueryText(area.Get(), requested)) return;
    SetEvent(queryEvent.Get());
    if (shared.answersExpected == 1) WaitForAnswer();
}

}  // namespace

LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM message) noexcept {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        MSG& request = *reinterpret_cast<MSG*>(message);
        if (IsQueryRequest(request)) {
            try {
                AnswerQueryRequest(request.hwnd);
            } catch (...) {
                // Out of memory inside someone else's program: the query is dropped.
            }
            // The request means nothing to the target's own window procedure.
            request.message = WM_NULL;
        }
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

}  // namespace wlk::hook

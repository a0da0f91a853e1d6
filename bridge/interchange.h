// The named objects through which the hook component asks for and receives
// answers: the interchange area and its query and answer events.
#pragma once

#include <memory>

#include "platform/shared_memory.h"
#include "platform/sync.h"

namespace wlk::bridge {

inline constexpr char16_t kInterchangeAreaName[] = u"Local\\$WORDLARK_INTERCHANGE_AREA$";
inline constexpr size_t kInterchangeAreaSize = 0x226000;
inline constexpr char16_t kQueryEventName[] = u"Local\\Wordlark_DataNeeded";
inline constexpr char16_t kAnswerEventName[] = u"Local\\Wordlark_DataCompleted";

struct Interchange {
    std::unique_ptr<platform::SharedArea> area;
    // Shared with the waiting thread, which keeps them open until it ends.
    std::shared_ptr<platform::Event> queryEvent;
    std::shared_ptr<platform::Event> answerEvent;
};

// Creates the area and both events (manual reset, not signalled); when any of
// them cannot be made, none stays open. An area of the same name that another
// program made first is refused: what the hook component would write into it
// (the user's selection) would be that program's to read.
bool CreateInterchange(Interchange& interchange);
// Closes the answer event, the query event and the area, each only if open.
void CloseInterchange(Interchange& interchange);

}  // namespace wlk::bridge

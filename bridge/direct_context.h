// The facts about a target window that the program can gather itself,
// without the hook component: used when the hook cannot reach the target
// (or the program cannot use the hook at all), and when the hook stays silent.
#pragma once

#include <functional>

#include "bridge/target_context.h"
#include "platform/types.h"

namespace wlk::bridge {

// Why a target's facts are gathered directly; None: the hook can reach it.
enum class DirectRoad {
    None,
    ProgramUnderWow64,  // a 32-bit program's hook cannot run in 64-bit targets
    ConsoleWindow,      // console windows belong to the console host, which is not hooked
    TargetNotOpenable,  // a target with higher rights (elevated) is out of the hook's reach
    Target32Bit,        // a 32-bit target does not load the 64-bit hook
    NoInterchange,      // the program has no interchange area the hook could write into
};

DirectRoad ChooseDirectRoad(platform::WindowId target);

// One log line that says which road a request took.
Text RoadLogLine(DirectRoad road);

// Reads the selected text of a window by a simulated copy.
using SelectionReader = std::function<Text(platform::WindowId)>;

// Fills the context for `target`: the window, the selected text (state 2 when
// the copy gave text, else 1; 3 and no copy for a password box), the executable's file name, the thread's
// keyboard layout and the window class. Other fields keep their values.
void FillTargetContextDirectly(platform::WindowId target, const SelectionReader& readSelection,
                               TargetContext& context);

}  // namespace wlk::bridge

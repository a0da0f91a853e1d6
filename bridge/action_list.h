// A menu choice's text made into its list of actions, and the list run
// against the target window.
#pragma once

#include "bridge/insert_actions.h"
#include "bridge/insert_command.h"
#include "phrases/command.h"

namespace wlk::bridge {

// Cuts the text at its prompts and expands the macros of every other part
// with what was known of the target: plain text (TEXT), RTF (RTF) or a
// command line (EXEC). Any other data type gives no actions.
ActionList BuildActions(const InsertionContext& context, platform::WindowId target,
                        const Text& text, phrases::CommandDataType type, ActionEnvironment& env);

// Executes every action in order, against no window when the target has gone
// meanwhile. False for an empty list.
bool RunActions(const ActionList& actions, platform::WindowId target);

}  // namespace wlk::bridge

// What the inserter is told of the target window: the facts of the menu call
// when the command is for the window that call found, else what the window
// itself tells (a command sent by another process without a menu call).
#pragma once

#include "bridge/insert_command.h"
#include "bridge/target_context.h"
#include "platform/types.h"

namespace wlk::app {

// Whether `context` describes `target`: its focus window or the active window
// of its thread (the menu may name either as the target).
bool ContextIsFor(const bridge::TargetContext& context, platform::WindowId target);

// `called` is the context of the last menu call (null when there was none),
// `clipboardAtCall` the clipboard's text read at that call. For any other
// window the layout comes from the window's thread, the class and program
// from the window, the selection is empty and the clipboard is read now.
bridge::InsertionContext InsertionContextFor(platform::WindowId target,
                                             const bridge::TargetContext* called,
                                             const Text& clipboardAtCall);

}  // namespace wlk::app

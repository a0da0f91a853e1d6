#include "bridge/action_list.h"

#include "bridge/shell_actions.h"
#include "phrases/macro_expansion.h"
#include "phrases/prompt_split.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

using phrases::CommandDataType;

std::unique_ptr<CWLKAction> TextAction(const InsertionContext& context, Text text,
                                       ActionEnvironment& env) {
    int caret = 0;
    phrases::ExpandMacros(text, context.selectedText, context.clipboardText, &caret, nullptr,
                          context.Language());
    return std::make_unique<CWLKAction_Text>(env, std::move(text), uint32_t(caret),
                                             context.Language());
}

std::unique_ptr<CWLKAction> RtfAction(const InsertionContext& context, Text rtf,
                                      ActionEnvironment& env) {
    uint32_t caret = 0;
    env.rtf.ExpandMacrosRtf(rtf, context.selectedText, context.clipboardText, &caret, nullptr,
                            context.Language());
    return std::make_unique<CWLKAction_Rtf>(env, std::move(rtf), caret, context.Language());
}

std::unique_ptr<CWLKAction> ExecAction(const InsertionContext& context, platform::WindowId target,
                                       const Text& text, ActionEnvironment& env) {
    return std::make_unique<CWLKAction_Exec>(
        env, ExpandCommandLine(target, text, context.selectedText, context.clipboardText));
}

std::unique_ptr<CWLKAction> SegmentAction(const InsertionContext& context,
                                          platform::WindowId target,
                                          const phrases::PromptSegment& segment,
                                          CommandDataType type, ActionEnvironment& env) {
    // The body's prompts are all of the plain kind: none asks for a tag.
    if (segment.isPrompt)
        return std::make_unique<CWLKAction_Prompt>(env, segment.promptText, false,
                                                   context.Language());
    switch (type) {
        case CommandDataType::TEXT: return TextAction(context, segment.text, env);
        case CommandDataType::RTF: return RtfAction(context, segment.text, env);
        case CommandDataType::EXEC: break;
    }
    return ExecAction(context, target, segment.text, env);
}

}  // namespace

ActionList BuildActions(const InsertionContext& context, platform::WindowId target,
                        const Text& text, CommandDataType type, ActionEnvironment& env) {
    ActionList actions;
    if (type != CommandDataType::TEXT && type != CommandDataType::RTF &&
        type != CommandDataType::EXEC)
        return actions;
    for (const phrases::PromptSegment& segment : phrases::SplitPrompts(text))
        if (auto action = SegmentAction(context, target, segment, type, env))
            actions.push_back(std::move(action));
    return actions;
}

bool RunActions(const ActionList& actions, platform::WindowId target) {
    if (actions.empty()) return false;
    if (!platform::Current().ui.IsWindow(target)) target = 0;
    for (const auto& action : actions) action->Execute(target);
    return true;
}

}  // namespace wlk::bridge

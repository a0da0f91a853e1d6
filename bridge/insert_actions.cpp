#include "bridge/insert_actions.h"

#include <algorithm>
#include <optional>

#include "bridge/foreground.h"
#include "bridge/shell_actions.h"
#include "bridge/typing.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

enum PasteMethod { kType = 0, kPaste = 1, kByLength = 2 };

bool Types(const ActionEnvironment& env, const Text& text) {
    if (env.pasteMethod == kType) return true;
    return env.pasteMethod == kByLength && text.size() < size_t(std::max(env.printLimit, 0));
}

// The name between any brackets the user typed along with it.
Text TagName(Text name) {
    if (!name.empty() && name.front() == u'<') name.erase(0, 1);
    if (!name.empty() && name.front() == u'/') name.erase(0, 1);
    if (!name.empty() && name.back() == u'>') name.pop_back();
    return name;
}

}  // namespace

bool CWLKAction_Text::Execute(platform::WindowId) {
    if (Types(env_, text)) return DoPrint(text, caretOffset);
    return MutiCopy_Impl(env_, true, text, caretOffset, language, true);
}

bool CWLKAction_Rtf::Execute(platform::WindowId) {
    return MutiCopy_Impl(env_, false, text, caretOffset, language, true);
}

bool CWLKAction_Prompt::Execute(platform::WindowId target) {
    const std::optional<Text> answer = env_.prompt.Ask(text, target);
    // The dialog took the focus; the answer belongs where the user was.
    FocusTargetWindow(target);
    text = answer.value_or(Text());
    if (text.empty()) return true;
    if (isTag) ShowTags(text);
    caretOffset = 0;
    return CWLKAction_Text::Execute(target);
}

void CWLKAction_Prompt::ShowTags(const Text& name) {
    const Text bare = TagName(name);
    openingTag = u"<" + bare + u">";
    closingTag = u"</" + bare + u">";
    platform::Current().ui.MessageBox(
        platform::MessageOwner::None,
        u"Opened Tag: " + openingTag + u"\r\nClosed Tag: " + closingTag, u"Wordlark",
        platform::MessageIcon::Information, true);
}

bool CWLKAction_Exec::Execute(platform::WindowId target) {
    return RunCommand(target, text, env_.onLaunched);
}

}  // namespace wlk::bridge

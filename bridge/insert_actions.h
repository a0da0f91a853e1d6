// The actions one menu choice is made of: texts to paste or type, RTF to
// paste, prompts that ask the user for a text, and command lines to run. Each
// acts on the target window when its turn comes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "bridge/paste_keys.h"
#include "phrases/prompt_dialog.h"
#include "phrases/rtf_expansion.h"
#include "platform/types.h"

namespace wlk::bridge {

// A clipboard format registered by name on first use and kept.
class RegisteredFormat {
public:
    explicit RegisteredFormat(const char16_t* name) : name_(name) {}
    uint32_t Number();

private:
    const char16_t* name_;
    uint32_t number_ = 0;
};

// What the actions of one insertion share.
struct ActionEnvironment {
    phrases::RtfExpander& rtf;
    phrases::PromptDialog& prompt;
    RegisteredFormat& rtfFormat;
    int pasteMethod = 1;  // "TextPasteMethod_v150": 0 type, 1 paste, 2 by length
    int printLimit = 0;   // "PrintLTChars": method 2 types texts shorter than this
    PasteCombo pasteKeys = kCtrlV;
    std::function<void()> onLaunched{};  // a command line was started
    // Set when the clipboard refused a write, so that the user's own content
    // can be put back rather than left emptied.
    bool clipboardFailed = false;
};

class CWLKAction {
public:
    explicit CWLKAction(Text text) : text(std::move(text)) {}
    virtual bool Execute(platform::WindowId target) = 0;
    virtual ~CWLKAction() = default;

    Text text;
};

using ActionList = std::vector<std::unique_ptr<CWLKAction>>;

class CWLKAction_TextCommon : public CWLKAction {
public:
    CWLKAction_TextCommon(ActionEnvironment& env, Text text, uint32_t caretOffset,
                          uint32_t language)
        : CWLKAction(std::move(text)), caretOffset(caretOffset), language(language), env_(env) {}

    // Puts `text` on the clipboard, as plain text or as RTF with its plain
    // text and locale beside it, and with `paste` presses the paste keys on a
    // thread of their own after the target had time to see the change.
    static bool MutiCopy_Impl(ActionEnvironment& env, bool plain, const Text& text,
                              uint32_t caretOffset, uint32_t language, bool paste);

    uint32_t caretOffset;  // characters to move left after inserting
    uint32_t language;     // 0: none

protected:
    ActionEnvironment& env_;
};

// Plain text, typed or pasted as the paste method says.
class CWLKAction_Text : public CWLKAction_TextCommon {
public:
    using CWLKAction_TextCommon::CWLKAction_TextCommon;
    bool Execute(platform::WindowId target) override;
};

class CWLKAction_Rtf : public CWLKAction_TextCommon {
public:
    using CWLKAction_TextCommon::CWLKAction_TextCommon;
    bool Execute(platform::WindowId target) override;
};

// Holds the question until it is asked, then the user's answer. A tag prompt
// turns the answer into an opening and a closing tag and shows them first.
class CWLKAction_Prompt : public CWLKAction_Text {
public:
    CWLKAction_Prompt(ActionEnvironment& env, Text question, bool isTag, uint32_t language)
        : CWLKAction_Text(env, std::move(question), 0, language), isTag(isTag) {}
    bool Execute(platform::WindowId target) override;

    bool isTag;
    Text openingTag;
    Text closingTag;

private:
    void ShowTags(const Text& name);
};

// A command line, run by the shell.
class CWLKAction_Exec : public CWLKAction {
public:
    CWLKAction_Exec(ActionEnvironment& env, Text commandLine)
        : CWLKAction(std::move(commandLine)), env_(env) {}
    bool Execute(platform::WindowId target) override;

private:
    ActionEnvironment& env_;
};

}  // namespace wlk::bridge

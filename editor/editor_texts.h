// The phrase editor's interface strings, looked up through the interface
// language like the program's own.
#pragma once

#include <cstdint>

namespace wlk::editor {

enum EditorText : uint32_t {
    kTextTitle = 1500,
    kTextFileMenu,
    kTextSave,
    kTextExit,
    kTextEditMenu,
    kTextNewPhrase,
    kTextNewGroup,
    kTextRename,
    kTextDelete,
    kTextMoveUp,
    kTextMoveDown,
    kTextName,
    kTextType,
    kTextBody,
    kTextHint,
    kTextShown,
    kTextTitleOnly,
    kTextNeedsSelection,
    kTextSeparatorBefore,
    kTextSeparatorAfter,
    kTextNewPhraseName,
    kTextNewGroupName,
    kTextAskDeletePhrase,
    kTextAskDeleteGroup,
    kTextAskSave,
    kTextSaveFailed,
    kTextUnreadFile,
    kTextWelcome,
    kTextNoClipboardText,
    kTextNoSelectedText,
    kTextChangedOnDisk,
    kTextAskReload,
    kTextMoveToGroup,
    kTextTopLevel,
    kTextPreview,
};

}  // namespace wlk::editor

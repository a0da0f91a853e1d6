// The phrase editor's main window: the phrases folder as a tree on the left,
// the selected phrase's fields on the right. The library itself, its edits
// and its saving live in PhraseDocument; this window shows them and turns
// the user's keys and clicks into its calls.
#pragma once

#include <cstdint>

#include "editor/editor_options.h"
#include "editor/phrase_document.h"
#include "phrases/rtf_expansion_win32.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"
// After <windows.h>.
#include <commctrl.h>

namespace wlk::editor {

inline constexpr wchar_t kEditorWindowClass[] = L"WordlarkPhraseEditor_3F1A7C22";

class EditorWindow {
public:
    bool Create(HINSTANCE instance, const Text& phrasesFolder);
    HWND Window() const { return hwnd_; }
    HACCEL Accelerators() const { return accelerators_; }
    // A new phrase from the clipboard or the handed-over selection, or the
    // welcome note, as the options ask.
    void Apply(const EditorOptions& options);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(HINSTANCE instance);
    void CreateMenuBar();
    void Layout();
    void OnCommand(UINT id, UINT code);
    bool OnNotify(NMHDR& header, LRESULT& result);
    bool OnClose();
    void OnActivated();

    // The tree, made again after each edit, with `selectId` selected.
    void FillTree(uint32_t selectId);
    void AddTreeNodes(HTREEITEM parent, const phrases::CommandList& list, const Text& folder,
                      uint32_t selectId);
    HTREEITEM InsertNode(HTREEITEM parent, const phrases::CWLKCommand& node);
    void AddUnreadFiles(HTREEITEM parent, const Text& folder);
    // A group's phrases are read when it is first opened.
    void OnGroupOpening(HTREEITEM item, uint32_t id);
    // The tree item's label from the node's name as stored.
    void ShowName(HTREEITEM item, uint32_t id);
    uint32_t SelectedId() const;
    // The group a new node goes into: the selected group, or the selected
    // phrase's group, or the top level.
    uint32_t TargetGroup() const;

    // Fields ⇄ the selected node.
    void ShowFields(uint32_t id);
    void TakeFields();
    void EnableFields(bool on);

    void AddPhrase(const Text& name, const Text& body);
    void AddGroup();
    void DeleteSelected();
    void Move(bool up);
    void MoveToGroup();
    void InsertMacro();
    void ShowPreview();
    bool Save();
    void Reload();

    HWND hwnd_ = nullptr;
    HWND tree_ = nullptr;
    HWND name_ = nullptr;
    HWND type_ = nullptr;
    HWND body_ = nullptr;
    HWND hint_ = nullptr;
    HWND preview_ = nullptr;  // what the body would insert now
    HWND status_ = nullptr;
    HWND labels_[5] = {};
    HWND flags_[5] = {};
    HACCEL accelerators_ = nullptr;
    platform::win32::UniqueModule richEditLibrary_;
    PhraseDocument document_;
    phrases::Win32RtfExpander rtf_;
    uint32_t shownId_ = 0;  // the node whose fields are shown
    bool filling_ = false;  // the controls are being filled, not edited
    bool askingAboutDisk_ = false;
    // The user was in another window: only then can files have changed
    // behind the editor's back, so the first activation compares nothing.
    bool away_ = false;
};

}  // namespace wlk::editor

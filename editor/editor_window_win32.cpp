#include "editor/editor_window_win32.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "bridge/selection_extract.h"
#include "editor/body_preview.h"
#include "editor/editor_texts.h"
#include "editor/macro_catalog.h"
#include "editor/macro_picker_win32.h"
#include "editor/settings_page_win32.h"
#include "language/interface_strings.h"
#include "platform/text.h"
#include "platform/win32/rich_edit.h"
#include "platform/win32/wide.h"
#include "settings/shared_settings_area.h"

namespace wlk::editor {
namespace {

using phrases::CommandDataType;
using phrases::CWLKCommand;
using platform::win32::AsWide;
using platform::win32::FromWide;

enum ControlId : UINT {
    kTreeId = 100,
    kNameId,
    kTypeId,
    kBodyId,
    kHintId,
    kStatusId,
    kFirstFlagId = 110,
};

enum CommandId : UINT {
    kCmdSave = 200,
    kCmdExit,
    kCmdNewPhrase,
    kCmdNewGroup,
    kCmdRename,
    kCmdDelete,
    kCmdMoveUp,
    kCmdMoveDown,
    kCmdMoveToGroup,
    kCmdInsertMacro,
    kCmdSettings,
    kFirstGroupChoice = 1000,  // the groups offered by "Move to Group"
};

constexpr int kGap = 6;
constexpr int kRow = 24;
constexpr int kLabelWidth = 70;
constexpr LPARAM kUnreadItem = 0;  // tree items of files that could not be read

Text Str(uint32_t id) {
    return language::GetString(id);
}

Text WindowText(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return FromWide(text.c_str(), text.size());
}

// Folders compare without letter case and without their final backslash.
bool SameFolder(Text a, Text b) {
    while (!a.empty() && a.back() == u'\\') a.pop_back();
    while (!b.empty() && b.back() == u'\\') b.pop_back();
    return EqualsIgnoreCase(a, b);
}

Text FileNameOf(const Text& path) {
    return path.substr(path.rfind(u'\\') + 1);
}

// A line of its own for each path, after the text that introduces them.
Text Lines(const std::vector<Text>& paths) {
    Text lines;
    for (const Text& path : paths) lines += u"\r\n" + path;
    return lines;
}

// The clipboard's text as the program reads it; empty when it holds none or only blanks.
Text ClipboardText() {
    const Text text = bridge::ReadClipboardText();
    return text.find_first_not_of(u" \t\r\n") == Text::npos ? Text() : text;
}

}  // namespace

bool EditorWindow::Create(HINSTANCE instance, const Text& phrasesFolder) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(128));
    wc.lpszClassName = kEditorWindowClass;
    RegisterClassExW(&wc);
    CreateWindowExW(0, kEditorWindowClass, AsWide(Str(kTextTitle)), WS_OVERLAPPEDWINDOW,
                    CW_USEDEFAULT, CW_USEDEFAULT, 820, 560, nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    CreateControls(instance);
    CreateMenuBar();
    document_.Load(phrasesFolder);
    FillTree(0);
    Layout();
    return true;
}

LRESULT CALLBACK EditorWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<EditorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT EditorWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: Layout(); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (OnNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
            break;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE)
                away_ = true;
            else if (std::exchange(away_, false))
                OnActivated();
            break;
        case WM_COPYDATA: {
            // A second start hands over its command line, up to its terminating zero.
            const auto& data = *reinterpret_cast<COPYDATASTRUCT*>(lParam);
            const auto* chars = static_cast<const wchar_t*>(data.lpData);
            Apply(
                ParseEditorOptions(FromWide(chars, wcsnlen(chars, data.cbData / sizeof(wchar_t)))));
            return TRUE;
        }
        case WM_CLOSE:
            if (OnClose()) DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void EditorWindow::CreateControls(HINSTANCE instance) {
    auto child = [&](DWORD exStyle, const wchar_t* cls, const Text& text, DWORD style, UINT id) {
        HWND window =
            CreateWindowExW(exStyle, cls, AsWide(text), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                            hwnd_, reinterpret_cast<HMENU>(UINT_PTR(id)), instance, nullptr);
        SendMessageW(window, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        return window;
    };
    tree_ = child(WS_EX_CLIENTEDGE, WC_TREEVIEWW, Text(),
                  WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS |
                      TVS_SHOWSELALWAYS,
                  kTreeId);
    const uint32_t labels[] = {kTextName, kTextType, kTextBody, kTextPreview, kTextHint};
    for (size_t i = 0; i < 5; ++i) labels_[i] = child(0, L"STATIC", Str(labels[i]), 0, 0);
    name_ = child(WS_EX_CLIENTEDGE, L"EDIT", Text(), WS_TABSTOP | ES_AUTOHSCROLL, kNameId);
    SendMessageW(name_, EM_LIMITTEXT, CWLKCommand::kNameMaxChars, 0);
    type_ = child(0, L"COMBOBOX", Text(), WS_TABSTOP | CBS_DROPDOWNLIST, kTypeId);
    for (const wchar_t* type : {L"TEXT", L"RTF", L"EXEC"})
        SendMessageW(type_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type));
    richEditLibrary_.Reset(LoadLibraryW(L"Msftedit.dll"));
    body_ = child(WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, Text(),
                  WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, kBodyId);
    SendMessageW(body_, EM_SETEVENTMASK, 0, ENM_CHANGE);
    preview_ = child(WS_EX_CLIENTEDGE, L"EDIT", Text(),
                     WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0);
    hint_ = child(WS_EX_CLIENTEDGE, L"EDIT", Text(), WS_TABSTOP | ES_AUTOHSCROLL, kHintId);
    SendMessageW(hint_, EM_LIMITTEXT, CWLKCommand::kHintMaxChars, 0);
    const uint32_t flags[] = {kTextShown, kTextTitleOnly, kTextNeedsSelection, kTextSeparatorBefore,
                              kTextSeparatorAfter};
    for (size_t i = 0; i < 5; ++i)
        flags_[i] = child(0, L"BUTTON", Str(flags[i]), WS_TABSTOP | BS_AUTOCHECKBOX,
                          UINT(kFirstFlagId + i));
    status_ = child(0, STATUSCLASSNAMEW, Text(), 0, kStatusId);
}

void EditorWindow::CreateMenuBar() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kCmdSave, AsWide(Str(kTextSave) + u"\tCtrl+S"));
    AppendMenuW(file, MF_STRING, kCmdSettings, AsWide(Str(kTextSettingsMenu)));
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kCmdExit, AsWide(Str(kTextExit)));
    HMENU edit = CreatePopupMenu();
    // The keys' names are the same in every language.
    const std::tuple<UINT, uint32_t, const char16_t*> items[] = {
        {kCmdNewPhrase, kTextNewPhrase, u"Ctrl+N"},
        {kCmdNewGroup, kTextNewGroup, u"Ctrl+Shift+N"},
        {kCmdRename, kTextRename, u"F2"},
        {kCmdDelete, kTextDelete, u"Del"},
        {kCmdMoveUp, kTextMoveUp, u"Alt+Up"},
        {kCmdMoveDown, kTextMoveDown, u"Alt+Down"},
        {kCmdMoveToGroup, kTextMoveToGroup, u"Ctrl+G"},
        {kCmdInsertMacro, kTextInsertMacro, u"Ctrl+M"}};
    for (const auto& [id, text, keys] : items)
        AppendMenuW(edit, MF_STRING, id, AsWide(Str(text) + u"\t" + keys));
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), AsWide(Str(kTextFileMenu)));
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), AsWide(Str(kTextEditMenu)));
    SetMenu(hwnd_, bar);
    // Delete is the tree's own key: in a text field it deletes text.
    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'S', WORD(kCmdSave)},
                    {FCONTROL | FVIRTKEY, 'N', WORD(kCmdNewPhrase)},
                    {FCONTROL | FSHIFT | FVIRTKEY, 'N', WORD(kCmdNewGroup)},
                    {FVIRTKEY, VK_F2, WORD(kCmdRename)},
                    {FALT | FVIRTKEY, VK_UP, WORD(kCmdMoveUp)},
                    {FALT | FVIRTKEY, VK_DOWN, WORD(kCmdMoveDown)},
                    {FCONTROL | FVIRTKEY, 'G', WORD(kCmdMoveToGroup)},
                    {FCONTROL | FVIRTKEY, 'M', WORD(kCmdInsertMacro)}};
    accelerators_ = CreateAcceleratorTableW(keys, int(std::size(keys)));
}

void EditorWindow::Layout() {
    if (!status_) return;
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT client{}, status{};
    GetClientRect(hwnd_, &client);
    GetWindowRect(status_, &status);
    const int height = client.bottom - (status.bottom - status.top);
    const int treeWidth = client.right * 35 / 100;
    MoveWindow(tree_, kGap, kGap, treeWidth, height - 2 * kGap, TRUE);
    const int left = treeWidth + 2 * kGap;
    const int fieldLeft = left + kLabelWidth;
    const int fieldWidth = std::max(40, int(client.right) - fieldLeft - kGap);
    const int flagsTop = height - kGap - 3 * kRow;
    const int hintTop = flagsTop - kGap - kRow;
    const int previewTop = hintTop - kGap - 3 * kRow;
    const int bodyTop = kGap + 2 * (kRow + kGap);
    const int tops[] = {kGap, kGap + kRow + kGap, bodyTop, previewTop, hintTop};
    for (size_t i = 0; i < 5; ++i)
        MoveWindow(labels_[i], left, tops[i] + 4, kLabelWidth, kRow, TRUE);
    MoveWindow(name_, fieldLeft, tops[0], fieldWidth, kRow, TRUE);
    MoveWindow(type_, fieldLeft, tops[1], 120, 200, TRUE);
    MoveWindow(body_, fieldLeft, bodyTop, fieldWidth, std::max(kRow, previewTop - kGap - bodyTop),
               TRUE);
    MoveWindow(preview_, fieldLeft, previewTop, fieldWidth, 3 * kRow, TRUE);
    MoveWindow(hint_, fieldLeft, hintTop, fieldWidth, kRow, TRUE);
    const int half = fieldWidth / 2;
    for (size_t i = 0; i < 5; ++i)
        MoveWindow(flags_[i], fieldLeft + int(i % 2) * half, flagsTop + int(i / 2) * kRow, half,
                   kRow, TRUE);
}

void EditorWindow::OnCommand(UINT id, UINT code) {
    if (filling_) return;
    switch (id) {
        case kCmdSave: Save(); return;
        case kCmdExit: PostMessageW(hwnd_, WM_CLOSE, 0, 0); return;
        case kCmdNewPhrase: AddPhrase(Str(kTextNewPhraseName), Text()); return;
        case kCmdNewGroup: AddGroup(); return;
        case kCmdRename:
            if (HTREEITEM item = TreeView_GetSelection(tree_)) TreeView_EditLabel(tree_, item);
            return;
        case kCmdDelete: DeleteSelected(); return;
        case kCmdMoveUp: Move(true); return;
        case kCmdMoveDown: Move(false); return;
        case kCmdMoveToGroup: MoveToGroup(); return;
        case kCmdInsertMacro: InsertMacro(); return;
        case kCmdSettings: ShowSettingsPage(hwnd_); return;
        default: break;
    }
    const bool edited = (code == EN_CHANGE && (id == kNameId || id == kBodyId || id == kHintId)) ||
                        (code == CBN_SELCHANGE && id == kTypeId) ||
                        (code == BN_CLICKED && id >= kFirstFlagId && id < kFirstFlagId + 5);
    if (!edited) return;
    TakeFields();
    if (id == kBodyId || id == kTypeId) ShowPreview();
}

bool EditorWindow::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.idFrom != kTreeId) return false;
    switch (header.code) {
        case TVN_SELCHANGEDW:
            ShowFields(uint32_t(reinterpret_cast<NMTREEVIEWW&>(header).itemNew.lParam));
            return true;
        case TVN_ITEMEXPANDINGW: {
            // While the tree is filled its lists are being walked: nothing is read then.
            const NMTREEVIEWW& view = reinterpret_cast<NMTREEVIEWW&>(header);
            if (!filling_ && (view.action & TVE_EXPAND))
                OnGroupOpening(view.itemNew.hItem, uint32_t(view.itemNew.lParam));
            return true;
        }
        case TVN_KEYDOWN:
            if (reinterpret_cast<NMTVKEYDOWN&>(header).wVKey == VK_DELETE) DeleteSelected();
            return true;
        case TVN_BEGINLABELEDITW:
            result = reinterpret_cast<NMTVDISPINFOW&>(header).item.lParam == kUnreadItem;
            return true;
        case TVN_ENDLABELEDITW: {
            // The label shows the name as stored, which a group's folder may have changed.
            const TVITEMW& item = reinterpret_cast<NMTVDISPINFOW&>(header).item;
            const auto id = uint32_t(item.lParam);
            if (item.pszText && document_.Rename(id, FromWide(item.pszText))) {
                ShowName(item.hItem, id);
                ShowFields(id);
            }
            result = FALSE;
            return true;
        }
        default: return false;
    }
}

void EditorWindow::FillTree(uint32_t selectId) {
    document_.ReadGroupsAbove(selectId);
    filling_ = true;
    // One painting for the whole tree, not one per item.
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree_);
    AddTreeNodes(TVI_ROOT, document_.Tree().Commands(), document_.Folder(), selectId);
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
    filling_ = false;
    if (!TreeView_GetSelection(tree_)) ShowFields(0);
}

void EditorWindow::AddTreeNodes(HTREEITEM parent, const phrases::CommandList& list,
                                const Text& folder, uint32_t selectId) {
    for (const CWLKCommand& node : list) {
        HTREEITEM item = InsertNode(parent, node);
        if (node.IsGroup()) AddTreeNodes(item, *node.children, node.GetPath(), selectId);
        if (node.id == selectId) {
            TreeView_EnsureVisible(tree_, item);
            TreeView_SelectItem(tree_, item);
        }
    }
    AddUnreadFiles(parent, folder);
}

HTREEITEM EditorWindow::InsertNode(HTREEITEM parent, const CWLKCommand& node) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(AsWide(node.name));
    insert.item.lParam = LPARAM(node.id);
    // A group not read yet shows only its subgroups, but may hold phrases.
    if (node.IsGroup() && !document_.IsRead(node.id)) {
        insert.item.mask |= TVIF_CHILDREN;
        insert.item.cChildren = 1;
    }
    return TreeView_InsertItem(tree_, &insert);
}

void EditorWindow::AddUnreadFiles(HTREEITEM parent, const Text& folder) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.lParam = kUnreadItem;
    for (const UnreadFile& file : document_.UnreadFiles()) {
        if (!SameFolder(file.folder, folder)) continue;
        const Text label = Format(Str(kTextUnreadFile), {FileNameOf(file.path), file.reason});
        insert.item.pszText = const_cast<wchar_t*>(AsWide(label));
        TreeView_InsertItem(tree_, &insert);
    }
}

// The subgroups are there already and come first, so the phrases follow them.
void EditorWindow::OnGroupOpening(HTREEITEM item, uint32_t id) {
    if (!document_.ReadGroup(id)) return;
    const CWLKCommand* group = document_.Tree().FindById(id);
    for (const CWLKCommand& node : *group->children) {
        if (!node.IsGroup()) InsertNode(item, node);
    }
    AddUnreadFiles(item, group->GetPath());
    TVITEMW children{};
    children.mask = TVIF_CHILDREN;
    children.hItem = item;
    children.cChildren = TreeView_GetChild(tree_, item) ? 1 : 0;
    TreeView_SetItem(tree_, &children);
}

void EditorWindow::ShowName(HTREEITEM item, uint32_t id) {
    const CWLKCommand* node = document_.Tree().FindById(id);
    if (!item || !node) return;
    TVITEMW change{};
    change.mask = TVIF_TEXT;
    change.hItem = item;
    change.pszText = const_cast<wchar_t*>(AsWide(node->name));
    TreeView_SetItem(tree_, &change);
}

uint32_t EditorWindow::SelectedId() const {
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = TreeView_GetSelection(tree_);
    return item.hItem && TreeView_GetItem(tree_, &item) ? uint32_t(item.lParam) : 0;
}

uint32_t EditorWindow::TargetGroup() const {
    const uint32_t id = SelectedId();
    const CWLKCommand* node = document_.Tree().FindById(id);
    if (!node) return 0;
    if (node->IsGroup()) return id;
    auto& tree = const_cast<phrases::CWLKCommandTree&>(document_.Tree());
    const CWLKCommand* parent = tree.FindParent(id);
    return parent ? parent->id : 0;
}

void EditorWindow::ShowFields(uint32_t id) {
    const CWLKCommand* node = document_.Tree().FindById(id);
    shownId_ = node ? id : 0;
    filling_ = true;
    SetWindowTextW(name_, node ? AsWide(node->name) : L"");
    SetWindowTextW(hint_, node ? AsWide(node->hint) : L"");
    const bool phrase = node && !node->IsGroup();
    SendMessageW(type_, CB_SETCURSEL, phrase ? WPARAM(node->dataType) : WPARAM(-1), 0);
    if (phrase && node->dataType == CommandDataType::RTF)
        platform::win32::LoadRtf(body_, node->command);
    else
        SetWindowTextW(body_, phrase ? AsWide(node->command) : L"");
    const bool flags[] = {node && node->included, node && node->useTitleOnly,
                          node && node->disabledIsNoHasSelection,
                          node && node->HasSeparatorBefore(), node && node->HasSeparatorAfter()};
    for (size_t i = 0; i < 5; ++i)
        SendMessageW(flags_[i], BM_SETCHECK, flags[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableFields(node != nullptr);
    EnableWindow(type_, phrase);
    EnableWindow(body_, phrase);
    filling_ = false;
    ShowPreview();
}

// What the body would insert now, from the phrase as the editor holds it.
void EditorWindow::ShowPreview() {
    const CWLKCommand* node = document_.Tree().FindById(shownId_);
    const bool phrase = node && !node->IsGroup();
    Text preview = phrase ? PreviewBody(node->command, node->dataType, &rtf_) : Text();
    // A lone CR (an Enter key press) shows as a line break.
    for (size_t at = 0; (at = preview.find(u'\r', at)) != Text::npos; at += 2)
        if (at + 1 >= preview.size() || preview[at + 1] != u'\n') preview.insert(at + 1, 1, u'\n');
    SetWindowTextW(preview_, AsWide(preview));
}

// The macro menu at the body's caret; the choice goes in there.
void EditorWindow::InsertMacro() {
    const CWLKCommand* node = document_.Tree().FindById(shownId_);
    if (!node || node->IsGroup()) return;
    DWORD start = 0;
    SendMessageW(body_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    POINTL caret{};
    SendMessageW(body_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&caret), start);
    POINT at{caret.x, caret.y + kRow};
    ClientToScreen(body_, &at);
    if (auto text = PickMacro(hwnd_, at)) {
        SetFocus(body_);
        InsertAtCaret(body_, *text);
    }
}

void EditorWindow::TakeFields() {
    const CWLKCommand* node = document_.Tree().FindById(shownId_);
    if (!node) return;
    const Text name = WindowText(name_);
    if (name != node->name && !name.empty() && document_.Rename(shownId_, name))
        ShowName(TreeView_GetSelection(tree_), shownId_);
    const auto type =
        CommandDataType(std::max(LRESULT(0), SendMessageW(type_, CB_GETCURSEL, 0, 0)));
    // The body as the control holds it, in the form of the type now chosen.
    const Text body =
        type == CommandDataType::RTF ? platform::win32::SaveRtf(body_) : WindowText(body_);
    auto checked = [&](size_t i) {
        return SendMessageW(flags_[i], BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    document_.Edit(shownId_, [&](CWLKCommand& command) {
        command.hint = WindowText(hint_);
        command.SetIncluded(checked(0));
        command.useTitleOnly = checked(1);
        command.disabledIsNoHasSelection = checked(2);
        command.flagsMenu = (checked(3) ? CWLKCommand::kSeparatorBefore : 0) |
                            (checked(4) ? CWLKCommand::kSeparatorAfter : 0);
        if (command.IsGroup()) return;
        command.dataType = type;
        command.command = body;
    });
}

void EditorWindow::EnableFields(bool on) {
    for (HWND window : {name_, hint_}) EnableWindow(window, on);
    for (HWND flag : flags_) EnableWindow(flag, on);
}

void EditorWindow::AddPhrase(const Text& name, const Text& body) {
    TakeFields();
    const uint32_t id = document_.AddPhrase(TargetGroup(), name, body);
    if (!id) return;
    FillTree(id);
    SetFocus(name_);
    SendMessageW(name_, EM_SETSEL, 0, -1);
}

void EditorWindow::AddGroup() {
    TakeFields();
    const uint32_t id = document_.AddGroup(TargetGroup(), Str(kTextNewGroupName));
    if (!id) return;
    FillTree(id);
    TreeView_EditLabel(tree_, TreeView_GetSelection(tree_));
}

void EditorWindow::DeleteSelected() {
    const CWLKCommand* node = document_.Tree().FindById(SelectedId());
    if (!node) return;
    const Text question =
        Format(Str(node->IsGroup() ? kTextAskDeleteGroup : kTextAskDeletePhrase), {node->name});
    if (MessageBoxW(hwnd_, AsWide(question), AsWide(Str(kTextTitle)), MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return;
    document_.Remove(node->id);
    FillTree(0);
}

void EditorWindow::Move(bool up) {
    TakeFields();
    const uint32_t id = SelectedId();
    if (up ? document_.MoveUp(id) : document_.MoveDown(id)) FillTree(id);
}

// A menu of the groups at the selected item: "Top level" first, then every
// group indented by its depth.
void EditorWindow::MoveToGroup() {
    TakeFields();
    const uint32_t id = SelectedId();
    if (!document_.Tree().FindById(id)) return;
    std::vector<uint32_t> groups = {0};
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kFirstGroupChoice, AsWide(Str(kTextTopLevel)));
    std::function<void(const phrases::CommandList&, int)> add = [&](const auto& list, int depth) {
        for (const CWLKCommand& node : list) {
            if (!node.IsGroup()) continue;
            const Text label = Text(size_t(depth) * 4, u' ') + node.name;
            AppendMenuW(menu, MF_STRING, UINT(kFirstGroupChoice + groups.size()), AsWide(label));
            groups.push_back(node.id);
            add(*node.children, depth + 1);
        }
    };
    add(document_.Tree().Commands(), 1);
    RECT item{};
    TreeView_GetItemRect(tree_, TreeView_GetSelection(tree_), &item, TRUE);
    POINT at{item.left, item.bottom};
    ClientToScreen(tree_, &at);
    const UINT chosen =
        UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
    DestroyMenu(menu);
    if (chosen < kFirstGroupChoice || chosen - kFirstGroupChoice >= groups.size()) return;
    if (document_.MoveToGroup(id, groups[chosen - kFirstGroupChoice])) FillTree(id);
}

bool EditorWindow::Save() {
    TakeFields();
    const SaveReport report = document_.Save();
    if (report.Ok()) return true;
    MessageBoxW(hwnd_, AsWide(Str(kTextSaveFailed) + Lines(report.failed)), AsWide(Str(kTextTitle)),
                MB_OK | MB_ICONERROR);
    return false;
}

bool EditorWindow::OnClose() {
    TakeFields();
    if (!document_.IsModified()) return true;
    switch (MessageBoxW(hwnd_, AsWide(Str(kTextAskSave)), AsWide(Str(kTextTitle)),
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: return Save();
        case IDNO: return true;
        default: return false;
    }
}

// Back in the editor: files another program changed meanwhile are loaded
// again when the user agrees; otherwise the editor's version stays.
void EditorWindow::OnActivated() {
    if (askingAboutDisk_) return;
    const std::vector<Text> changed = document_.ChangedOnDisk();
    if (changed.empty()) return;
    askingAboutDisk_ = true;
    const Text question =
        Str(kTextChangedOnDisk) + Lines(changed) + u"\r\n\r\n" + Str(kTextAskReload);
    const int answer =
        MessageBoxW(hwnd_, AsWide(question), AsWide(Str(kTextTitle)), MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES)
        Reload();
    else
        document_.KeepOwnVersions();
    askingAboutDisk_ = false;
}

void EditorWindow::Reload() {
    document_.Load(document_.Folder());
    FillTree(0);
}

void EditorWindow::Apply(const EditorOptions& options) {
    if (options.addFromClipboard) {
        if (const Text text = ClipboardText(); !text.empty())
            AddPhrase(NameFromText(text), text);
        else
            SetWindowTextW(status_, AsWide(Str(kTextNoClipboardText)));
    }
    if (options.addSelectedText) {
        const auto text = settings::ReadSharedSelectedText();
        if (text && !text->empty())
            AddPhrase(NameFromText(*text), *text);
        else
            SetWindowTextW(status_, AsWide(Str(kTextNoSelectedText)));
    }
    if (options.firstRun) SetWindowTextW(status_, AsWide(Str(kTextWelcome)));
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd_);
}

}  // namespace wlk::editor

#include "editor/settings_page_win32.h"

#include <commctrl.h>

#include <string_view>
#include <utility>
#include <vector>

#include "app/phrase_editor.h"
#include "app/tray_commands.h"
#include "editor/editor_settings.h"
#include "editor/hotkey_value.h"
#include "language/interface_strings.h"
#include "language/language_list.h"
#include "platform/text.h"
#include "platform/win32/wide.h"
#include "settings/settings.h"

namespace wlk::editor {
namespace {

using platform::win32::AsWide;

// The running program's tray window, which rereads everything and registers
// the hotkey again when told the editor ended.
constexpr wchar_t kTrayWindowClass[] = L"WordlarkTrayWindow_7B11E8E0";

enum ControlId : int {
    kNoId = -1,
    kHotkeyId = 100,
    kTwiceId,
    kMethodId,
    kThresholdId,
    kHistoryOnId,
    kHistoryMaxId,
    kHistoryInMenuId,
    kSaveHistoryId,
    kStartupId,
    kSoundsId,
    kLanguageId,
    kUpdatesOnId,
    kUpdateDaysId,
};

// Dialog units, so that the page grows with the system's font.
struct Control {
    const wchar_t* windowClass;
    uint32_t text;  // 0: none
    DWORD style;
    short x, y, width, height;
    int id;
};

constexpr DWORD kGroup = BS_GROUPBOX;
constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kNumber = ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr short kLabelX = 14, kLabelWidth = 152, kFieldX = 170, kFieldWidth = 166;
constexpr short kGroupWidth = 336, kRowWidth = 322;
constexpr short kPageWidth = 350, kPageHeight = 314;

// In tab order.
constexpr Control kControls[] = {
    {L"BUTTON", kTextHotkeyGroup, kGroup, 7, 7, kGroupWidth, 46, kNoId},
    {L"STATIC", kTextHotkeyLabel, kLabel, kLabelX, 22, kLabelWidth, 8, kNoId},
    {HOTKEY_CLASSW, 0, WS_TABSTOP, kFieldX, 20, kFieldWidth, 14, kHotkeyId},
    {L"BUTTON", kTextHotkeyTwice, kCheck, kLabelX, 37, kRowWidth, 10, kTwiceId},
    {L"BUTTON", kTextInsertGroup, kGroup, 7, 58, kGroupWidth, 46, kNoId},
    {L"STATIC", kTextPasteMethod, kLabel, kLabelX, 73, kLabelWidth, 8, kNoId},
    {L"COMBOBOX", 0, kList, kFieldX, 71, kFieldWidth, 60, kMethodId},
    {L"STATIC", kTextTypeThreshold, kLabel, kLabelX, 89, kLabelWidth, 8, kNoId},
    {L"EDIT", 0, kNumber, kFieldX, 87, 40, 14, kThresholdId},
    {L"BUTTON", kTextHistoryGroup, kGroup, 7, 109, kGroupWidth, 78, kNoId},
    {L"BUTTON", kTextHistoryOn, kCheck, kLabelX, 122, kRowWidth, 10, kHistoryOnId},
    {L"STATIC", kTextHistoryMax, kLabel, kLabelX, 138, kLabelWidth, 8, kNoId},
    {L"EDIT", 0, kNumber, kFieldX, 136, 40, 14, kHistoryMaxId},
    {L"STATIC", kTextHistoryInMenu, kLabel, kLabelX, 154, kLabelWidth, 8, kNoId},
    {L"EDIT", 0, kNumber, kFieldX, 152, 40, 14, kHistoryInMenuId},
    {L"BUTTON", kTextSaveHistory, kCheck, kLabelX, 170, kRowWidth, 10, kSaveHistoryId},
    {L"BUTTON", kTextGeneralGroup, kGroup, 7, 192, kGroupWidth, 94, kNoId},
    {L"BUTTON", kTextStartWithWindows, kCheck, kLabelX, 205, kRowWidth, 10, kStartupId},
    {L"BUTTON", kTextSounds, kCheck, kLabelX, 219, kRowWidth, 10, kSoundsId},
    {L"STATIC", kTextLanguage, kLabel, kLabelX, 235, kLabelWidth, 8, kNoId},
    {L"COMBOBOX", 0, kList, kFieldX, 233, kFieldWidth, 120, kLanguageId},
    {L"BUTTON", kTextCheckUpdates, kCheck, kLabelX, 251, kRowWidth, 10, kUpdatesOnId},
    {L"STATIC", kTextUpdateDays, kLabel, kLabelX, 267, kLabelWidth, 8, kNoId},
    {L"EDIT", 0, kNumber, kFieldX, 265, 40, 14, kUpdateDaysId},
    {L"BUTTON", kTextOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 239, 293, 50, 14, IDOK},
    {L"BUTTON", kTextCancel, BS_PUSHBUTTON | WS_TABSTOP, 293, 293, 50, 14, IDCANCEL},
};

constexpr std::pair<int, bool EditorSettings::*> kChecks[] = {
    {kTwiceId, &EditorSettings::hotkeyDoubled},
    {kHistoryOnId, &EditorSettings::historyOn},
    {kSaveHistoryId, &EditorSettings::saveHistoryOnExit},
    {kStartupId, &EditorSettings::startWithWindows},
    {kSoundsId, &EditorSettings::sounds},
    {kUpdatesOnId, &EditorSettings::autoCheckUpdates},
};

constexpr std::pair<int, int EditorSettings::*> kNumbers[] = {
    {kThresholdId, &EditorSettings::typeThreshold},
    {kHistoryMaxId, &EditorSettings::historyMax},
    {kHistoryInMenuId, &EditorSettings::historyInMenu},
    {kUpdateDaysId, &EditorSettings::updateDays},
};

// The paste methods in the order of their stored values: type, paste, by length.
constexpr uint32_t kMethodTexts[] = {kTextMethodType, kTextMethodPaste, kTextMethodByLength};
constexpr int kMethodByLength = 2;

// Each field that means something only while another is set.
constexpr std::pair<int, int> kDependents[] = {
    {kHistoryMaxId, kHistoryOnId},
    {kHistoryInMenuId, kHistoryOnId},
    {kSaveHistoryId, kHistoryOnId},
    {kUpdateDaysId, kUpdatesOnId},
};

struct Page {
    EditorSettings values;
    std::vector<language::LanguageEntry> languages;
};

Text Str(uint32_t id) {
    return language::GetString(id);
}

void CreateControls(HWND dialog) {
    const auto font = SendMessageW(dialog, WM_GETFONT, 0, 0);
    const auto instance = HINSTANCE(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    for (const Control& c : kControls) {
        RECT box{c.x, c.y, c.x + c.width, c.y + c.height};
        MapDialogRect(dialog, &box);
        const bool framed = std::wstring_view(c.windowClass) == L"EDIT" || c.id == kHotkeyId;
        HWND control = CreateWindowExW(
            framed ? WS_EX_CLIENTEDGE : 0, c.windowClass, c.text ? AsWide(Str(c.text)) : L"",
            WS_CHILD | WS_VISIBLE | c.style, box.left, box.top, box.right - box.left,
            box.bottom - box.top, dialog, HMENU(INT_PTR(c.id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, font, FALSE);
    }
}

// A file without a name of its own for its language is listed by its file name.
Text LanguageLabel(const language::LanguageEntry& entry) {
    const Text name = language::GetLanguageName(entry.path);
    return name.empty() ? entry.fileName : name;
}

void FillCombo(HWND combo, const std::vector<Text>& items, size_t selected) {
    for (const Text& item : items) SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(AsWide(item)));
    SendMessageW(combo, CB_SETCURSEL, WPARAM(selected), 0);
}

void FillLanguages(HWND combo, Page& page) {
    page.languages = language::ListLanguages();
    size_t selected = page.languages.size();
    for (size_t i = 0; i < page.languages.size(); ++i)
        if (EqualsIgnoreCase(page.languages[i].fileName, page.values.language)) selected = i;
    // A chosen file that is gone stays chosen rather than turning into English.
    if (selected == page.languages.size())
        page.languages.push_back(
            {page.values.language, language::LanguageFolder() + page.values.language});
    std::vector<Text> labels;
    for (const auto& entry : page.languages) labels.push_back(LanguageLabel(entry));
    FillCombo(combo, labels, selected);
}

void Fill(HWND dialog, Page& page) {
    const EditorSettings& v = page.values;
    HWND hotkey = GetDlgItem(dialog, kHotkeyId);
    // The program registers a key without modifiers with Ctrl+Alt.
    SendMessageW(hotkey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, HOTKEYF_CONTROL | HOTKEYF_ALT);
    SendMessageW(hotkey, HKM_SETHOTKEY, ControlHotkeyFromSetting(v.hotkey), 0);
    std::vector<Text> methods;
    for (uint32_t text : kMethodTexts) methods.push_back(Str(text));
    FillCombo(GetDlgItem(dialog, kMethodId), methods, size_t(v.pasteMethod));
    FillLanguages(GetDlgItem(dialog, kLanguageId), page);
    for (const auto& [id, flag] : kChecks) CheckDlgButton(dialog, id, v.*flag ? BST_CHECKED : 0);
    for (const auto& [id, number] : kNumbers) SetDlgItemInt(dialog, id, UINT(v.*number), TRUE);
}

int Selection(HWND dialog, int id) {
    return int(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void UpdateEnabled(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, kThresholdId), Selection(dialog, kMethodId) == kMethodByLength);
    for (const auto& [dependent, master] : kDependents)
        EnableWindow(GetDlgItem(dialog, dependent),
                     IsDlgButtonChecked(dialog, master) == BST_CHECKED);
}

// The page's values; a number field left empty keeps its value.
EditorSettings Taken(HWND dialog, const Page& page) {
    EditorSettings v = page.values;
    const auto control = uint16_t(SendDlgItemMessageW(dialog, kHotkeyId, HKM_GETHOTKEY, 0, 0));
    v.hotkey = SettingFromControlHotkey(control, page.values.hotkey);
    if (const int method = Selection(dialog, kMethodId); method >= 0) v.pasteMethod = method;
    if (const int language = Selection(dialog, kLanguageId); language >= 0)
        v.language = page.languages[size_t(language)].fileName;
    for (const auto& [id, flag] : kChecks) v.*flag = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    for (const auto& [id, number] : kNumbers) {
        BOOL read = FALSE;
        const UINT value = GetDlgItemInt(dialog, id, &read, FALSE);
        if (read) v.*number = int(value);
    }
    return v;
}

INT_PTR CALLBACK PageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<Page*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, AsWide(Str(kTextSettingsTitle)));
            CreateControls(dialog);
            Fill(dialog, *reinterpret_cast<Page*>(lParam));
            UpdateEnabled(dialog);
            SetFocus(GetDlgItem(dialog, kHotkeyId));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                page->values = Taken(dialog, *page);
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            } else if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == CBN_SELCHANGE) {
                UpdateEnabled(dialog);
            }
            return TRUE;
        default: return FALSE;
    }
}

// A dialog frame without controls; they are made on WM_INITDIALOG. The
// template's words: style, extended style, control count, position and size,
// no menu, the standard class, no title, then the font.
std::vector<WORD> FrameTemplate() {
    constexpr DWORD style =
        DS_MODALFRAME | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    std::vector<WORD> words = {LOWORD(style), HIWORD(style), 0, 0, 0, 0, 0,
                               kPageWidth,    kPageHeight,   0, 0, 0, 8};
    for (const wchar_t* c = L"MS Shell Dlg"; *c; ++c) words.push_back(WORD(*c));
    words.push_back(0);
    return words;
}

// The running program registers the hotkey again and rereads its settings,
// language and phrases as it does when the editor ends.
void TellRunningProgram() {
    if (HWND tray = FindWindowW(kTrayWindowClass, nullptr))
        PostMessageW(tray, app::kMsgEditorState, WPARAM(app::EditorState::Ended), 0);
}

}  // namespace

bool ShowSettingsPage(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    auto& settings = settings::Settings::Instance();
    // The program may have changed some since the editor started.
    settings.Load();
    Page page{ReadEditorSettings(settings), {}};
    const EditorSettings before = page.values;
    const std::vector<WORD> frame = FrameTemplate();
    const INT_PTR answer = DialogBoxIndirectParamW(
        HINSTANCE(GetModuleHandleW(nullptr)), reinterpret_cast<const DLGTEMPLATE*>(frame.data()),
        owner, PageProc, reinterpret_cast<LPARAM>(&page));
    if (answer != IDOK || page.values == before) return false;
    const bool saved = WriteEditorSettings(settings, page.values);
    TellRunningProgram();
    if (!saved)
        MessageBoxW(owner, AsWide(Str(kTextSettingsNotSaved)), AsWide(Str(kTextSettingsTitle)),
                    MB_ICONERROR);
    return saved;
}

}  // namespace wlk::editor

// Another application writing the clipboard, for the Wine and end-to-end tests
// and the capture figures. Plain user32, none of the program's own code, so
// that it writes the clipboard the way any other program does.
//   wlk_clip_writer.exe text TEXT               one CF_UNICODETEXT
//   wlk_clip_writer.exe sheet TEXT              a bitmap beside the text, as spreadsheet cells
//   wlk_clip_writer.exe web TEXT URL            text, "Rich Text Format" and
//                                               "HTML Format" with a "SourceURL:" line
//   wlk_clip_writer.exe private TEXT            text marked with
//                                               "ExcludeClipboardContentFromMonitorProcessing"
//   wlk_clip_writer.exe marked TEXT             text written between signalling
//                                               "Local\Wordlark_StartCopy" and "..._EndCopy"
//   wlk_clip_writer.exe burst N MS PREFIX       N texts "PREFIX <i>", MS apart
//   wlk_clip_writer.exe empty                   an empty clipboard
//   wlk_clip_writer.exe probe SECONDS           listens for SECONDS and prints, per change,
//                                               how long OpenClipboard kept failing
//   wlk_clip_writer.exe read                    prints "read [TEXT]", the clipboard's text
//   wlk_clip_writer.exe deaf MS TEXT            for MS ms, a window "wlk_deaf_target" whose edit
//                                               control holds TEXT, selected and focused; its
//                                               message loop never takes registered messages,
//                                               so a hook never sees them; prints "ready"
//   wlk_clip_writer.exe command ID ARG [CLASS N]
//                                               sends Wordlark's tray window the phrase-menu
//                                               command ID with ARG (a number, or "fg" for the
//                                               foreground window) in WM_COPYDATA; with CLASS,
//                                               prints when the edit control of that window
//                                               held N characters
//   wlk_clip_writer.exe type FILE [CLASS]       types FILE's UTF-8 text into the focus window
//                                               with one SendInput of Unicode key strokes; with
//                                               CLASS, prints when all of it arrived there
//   wlk_clip_writer.exe edit CLASS              prints "edit [TEXT]", the text of the edit control
//                                               of the top-level window of class CLASS
//   wlk_clip_writer.exe post MSG WPARAM LPARAM [CLASS]
//                                               posts the tray window (or the top-level window
//                                               of class CLASS) MSG (a number or a name)
//   wlk_clip_writer.exe paneinsert CLASS CHARS  presses Return in the history pane's search field
//                                               and prints "paneinsert arrived after MS ms" when
//                                               CLASS's edit control holds CHARS characters
//   wlk_clip_writer.exe pane                    prints "pane SHOWN X Y W H rows N list X Y W H
//                                               [CAPTION]" of the clipboard history pane and its
//                                               list ("pane none": none)
//   wlk_clip_writer.exe tree CLASS              prints "tree N", the items of the tree view in
//                                               the window of CLASS ("tree none": none)
//   wlk_clip_writer.exe signal EVENT            sets the named event EVENT
//   wlk_clip_writer.exe dialog TITLE            prints "dialog [TEXT|TEXT...]", the texts of the
//                                               controls of the shown dialog titled TITLE
//   wlk_clip_writer.exe menu MS [COUNT]         waits up to MS ms (polling every millisecond)
//                                               for a shown popup menu window ("#32768") and
//                                               prints "menu [X Y W H|...]" with the screen
//                                               rectangle of each shown one (none: "menu []")
//                                               and the time the first was seen; with COUNT,
//                                               prints "watching", then such a line each time
//                                               a menu is shown after none was, COUNT times
// Prints one result line on stdout; a single write ends it with the time of the
// write in milliseconds since 1970 (the system clock, which files are stamped by). Exit code 0 on
// success, 2 for bad arguments, 3 when the clipboard could not be written.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kOpenTriesMs = 2000;
// How long a marked copy waits before it signals its end: the reader must have
// seen the change while the mark was up, as a paste would take that long.
constexpr DWORD kMarkedEndDelayMs = 500;

// A hidden window owns what the writer puts on the clipboard, as in a normal program.
HWND OwnerWindow() {
    static HWND window = CreateWindowExW(0, L"STATIC", L"wlk_clip_writer", 0, 0, 0, 0, 0,
                                         HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    return window;
}

// Waits while answering the messages sent to the owner window, as a normal
// program's message loop does: readers may ask the owner while we wait.
void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < ms; waited = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - waited, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

// Another reader may hold the clipboard for a moment: try for a while, as programs do.
bool OpenWithRetry() {
    const DWORD start = GetTickCount();
    while (!OpenClipboard(OwnerWindow())) {
        if (GetTickCount() - start > kOpenTriesMs) return false;
        Sleep(1);
    }
    return true;
}

bool Put(UINT format, const void* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return false;
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    if (SetClipboardData(format, block)) return true;
    GlobalFree(block);
    return false;
}

bool PutText(const std::wstring& text) {
    return Put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool PutAnsi(const wchar_t* formatName, const std::string& bytes) {
    return Put(RegisterClipboardFormatW(formatName), bytes.c_str(), bytes.size() + 1);
}

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

// The CF_HTML description of a fragment: a header whose offsets count bytes.
std::string HtmlFormat(const std::string& fragment, const std::string& url) {
    const std::string before = "<html><body>\r\n<!--StartFragment-->";
    const std::string after = "<!--EndFragment-->\r\n</body></html>";
    char header[512];
    const char* layout =
        "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\n"
        "EndFragment:%010zu\r\nSourceURL:%s\r\n";
    const size_t headerSize = size_t(std::snprintf(header, sizeof header, layout, size_t(0),
                                                   size_t(0), size_t(0), size_t(0), url.c_str()));
    const size_t startFragment = headerSize + before.size();
    const size_t endFragment = startFragment + fragment.size();
    std::snprintf(header, sizeof header, layout, headerSize, endFragment + after.size(),
                  startFragment, endFragment, url.c_str());
    return header + before + fragment + after;
}

// Empties the clipboard and puts what `fill` puts, in one opening.
template <typename Fill>
bool Write(Fill fill) {
    if (!OpenWithRetry()) return false;
    bool ok = EmptyClipboard() && fill();
    CloseClipboard();
    return ok;
}

// Sets the named event; a pulse sets it and resets it at once.
bool SetNamedEvent(const wchar_t* name, bool pulse = false) {
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    const bool ok = event && SetEvent(event) && (!pulse || ResetEvent(event));
    if (event) CloseHandle(event);
    return ok;
}

unsigned long long UnixMilliseconds() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr unsigned long long kTicksTo1970 = 116444736000000000ULL;
    return (ticks - kTicksTo1970) / 10000;
}

int Result(bool ok, const char* what) {
    std::printf("%s %s at %llu\n", what, ok ? "written" : "failed", UnixMilliseconds());
    std::fflush(stdout);
    return ok ? 0 : 3;
}

int WriteWeb(const std::wstring& text, const std::wstring& url) {
    const std::string utf8 = Utf8(text);
    const std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 " + utf8 + "\\par}";
    const std::string html = HtmlFormat("<b>" + utf8 + "</b>", Utf8(url));
    return Result(Write([&] {
                      return PutAnsi(L"HTML Format", html) && PutAnsi(L"Rich Text Format", rtf) &&
                             PutText(text);
                  }),
                  "web");
}

int WriteSheet(const std::wstring& text) {
    const DWORD pixels[] = {0x00FF0000, 0x0000FF00};
    HBITMAP bitmap = CreateBitmap(2, 1, 1, 32, pixels);
    return Result(
        bitmap && Write([&] { return SetClipboardData(CF_BITMAP, bitmap) && PutText(text); }),
        "sheet");
}

int WritePrivate(const std::wstring& text) {
    const DWORD zero = 0;
    return Result(
        Write([&] {
            return PutText(text) &&
                   Put(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing"),
                       &zero, sizeof zero);
        }),
        "private");
}

int WriteMarked(const std::wstring& text) {
    SetNamedEvent(L"Local\\Wordlark_StartCopy", true);
    bool ok = Write([&] { return PutText(text); });
    PumpFor(kMarkedEndDelayMs);
    SetNamedEvent(L"Local\\Wordlark_EndCopy", true);
    return Result(ok, "marked");
}

int WriteBurst(int count, DWORD spacingMs, const std::wstring& prefix) {
    int written = 0;
    const DWORD start = GetTickCount();
    for (int i = 0; i < count; ++i) {
        // Each copy at its planned time, however long the previous one took.
        const DWORD due = start + DWORD(i) * spacingMs;
        const DWORD now = GetTickCount();
        if (LONG(due - now) > 0) PumpFor(due - now);
        if (Write([&] { return PutText(prefix + L" " + std::to_wstring(i)); })) ++written;
    }
    std::printf("burst %d of %d written in %lu ms\n", written, count,
                static_cast<unsigned long>(GetTickCount() - start));
    std::fflush(stdout);
    return written == count ? 0 : 3;
}

// The figures of how long a change keeps a reader out: on each change
// notification, OpenClipboard is tried every millisecond until it succeeds.
LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CLIPBOARDUPDATE) return DefWindowProcW(window, message, wParam, lParam);
    const DWORD start = GetTickCount();
    int failures = 0;
    while (!OpenClipboard(window)) {
        ++failures;
        if (GetTickCount() - start > 10000) break;
        Sleep(1);
    }
    CloseClipboard();
    std::printf("change blocked %lu ms after %d failed opens\n",
                static_cast<unsigned long>(GetTickCount() - start), failures);
    std::fflush(stdout);
    return 0;
}

int Probe(DWORD seconds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"wlk_clip_probe";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
    if (!window || !AddClipboardFormatListener(window)) return Result(false, "probe");
    std::printf("probe listening\n");
    std::fflush(stdout);
    SetTimer(window, 1, seconds * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        DispatchMessageW(&msg);
    }
    RemoveClipboardFormatListener(window);
    return 0;
}

int Read() {
    std::wstring text;
    if (OpenWithRetry()) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    std::printf("read [%s]\n", Utf8(text).c_str());
    return 0;
}

// A window TITLE whose edit control holds TEXT, selected and focused, for MS
// ms; prints "ready" once it is in front. Its loop takes the messages up to
// `lastMessage` and leaves the others in its queue.
int ShowTarget(const wchar_t* title, DWORD ms, const std::wstring& text, DWORD editStyle,
               UINT lastMessage) {
    HWND window = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                  400, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND edit = CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | editStyle, 10, 10,
                                360, 24, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window || !edit) return Result(false, "target");
    SetForegroundWindow(window);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    bool ready = false;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, lastMessage, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!ready && GetForegroundWindow() == window) {
            ready = true;
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
    return 0;
}

HWND EditOf(const std::wstring& windowClass) {
    HWND window = FindWindowW(windowClass.c_str(), nullptr);
    return window ? FindWindowExW(window, nullptr, L"Edit", nullptr) : nullptr;
}

// The figures' clock: how long until the edit control of a CLASS window holds
// `chars` characters, polled every millisecond from `start`; -1 after 30 s.
long ArrivalMs(const std::wstring& windowClass, size_t chars, DWORD start) {
    HWND edit = EditOf(windowClass);
    while (GetTickCount() - start < 30000) {
        if (edit && size_t(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)) >= chars)
            return long(GetTickCount() - start);
        Sleep(1);
    }
    return -1;
}

struct CommandBlock {
    static constexpr size_t kArgumentOffset = 134;
    HWND tray;
    unsigned char bytes[kArgumentOffset + sizeof(LONG)] = {};
    LRESULT sent = 0;
    DWORD returnedMs = 0;
};

// SendMessage blocks while the tray window inserts, so the text is watched
// from another thread than the one that sends.
DWORD WINAPI SendBlock(void* parameter) {
    auto* block = static_cast<CommandBlock*>(parameter);
    const DWORD start = GetTickCount();
    COPYDATASTRUCT data{0, DWORD(sizeof block->bytes), block->bytes};
    block->sent = SendMessageW(block->tray, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    block->returnedMs = GetTickCount() - start;
    return 0;
}

// The block another process of the product sends: the command id in the
// first 32-bit word, its argument in the word at byte 134. With a window
// class and a length, also prints when the text arrived there.
int SendCommand(const std::wstring& id, const std::wstring& argument,
                const std::wstring& watchClass, size_t watchChars) {
    CommandBlock block;
    block.tray = FindWindowW(L"WordlarkTrayWindow_7B11E8E0", nullptr);
    if (!block.tray) return Result(false, "command");
    const LONG command = std::wcstol(id.c_str(), nullptr, 10);
    const LONG value = argument == L"fg" ? LONG(reinterpret_cast<INT_PTR>(GetForegroundWindow()))
                                         : std::wcstol(argument.c_str(), nullptr, 10);
    std::memcpy(block.bytes, &command, sizeof command);
    std::memcpy(block.bytes + CommandBlock::kArgumentOffset, &value, sizeof value);
    const DWORD start = GetTickCount();
    HANDLE sender = CreateThread(nullptr, 0, SendBlock, &block, 0, nullptr);
    if (!sender) return Result(false, "command");
    const long arrived = watchClass.empty() ? 0 : ArrivalMs(watchClass, watchChars, start);
    WaitForSingleObject(sender, INFINITE);
    CloseHandle(sender);
    if (!watchClass.empty()) {
        std::printf("command arrived after %ld ms, returned after %lu ms\n", arrived,
                    static_cast<unsigned long>(block.returnedMs));
    }
    return Result(block.sent != 0 && arrived >= 0, "command");
}

// Posts the tray window (or the top-level window of another class) MESSAGE
// (a number, or the name of a registered message) with the two parameters, as
// any other program can.
int PostToTray(const std::wstring& message, const std::wstring& wParam, const std::wstring& lParam,
               const std::wstring& windowClass) {
    HWND tray = FindWindowW(
        windowClass.empty() ? L"WordlarkTrayWindow_7B11E8E0" : windowClass.c_str(), nullptr);
    wchar_t* end = nullptr;
    UINT number = UINT(std::wcstoul(message.c_str(), &end, 0));
    if (*end != L'\0') number = RegisterWindowMessageW(message.c_str());
    return Result(
        tray && PostMessageW(tray, number, WPARAM(std::wcstoull(wParam.c_str(), nullptr, 0)),
                             LPARAM(std::wcstoll(lParam.c_str(), nullptr, 0))),
        "post");
}

std::wstring ReadUtf8File(const std::wstring& path) {
    std::wstring text;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    std::string bytes(size_t(GetFileSize(file, nullptr)), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    CloseHandle(file);
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(read), nullptr, 0);
    text.resize(size_t(size));
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(read), text.data(), size);
    return text;
}

// The plainest typing a program can do, the baseline of the typing figures.
int TypeFile(const std::wstring& path, const std::wstring& watchClass) {
    const std::wstring text = ReadUtf8File(path);
    const DWORD start = GetTickCount();
    std::vector<INPUT> inputs;
    for (wchar_t unit : text) {
        for (DWORD flags : {DWORD(KEYEVENTF_UNICODE), DWORD(KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = WORD(unit);
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    }
    const UINT sent = SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    long arrived = 0;
    if (!watchClass.empty()) {
        arrived = ArrivalMs(watchClass, text.size(), start);
        std::printf("type arrived after %ld ms\n", arrived);
    }
    return Result(!text.empty() && sent == inputs.size() && arrived >= 0, "type");
}

int PrintEditText(const std::wstring& windowClass) {
    HWND edit = EditOf(windowClass);
    if (!edit) return Result(false, "edit");
    std::wstring text(size_t(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(size_t(SendMessageW(edit, WM_GETTEXT, text.size(), LPARAM(text.data()))));
    std::printf("edit [%s]\n", Utf8(text).c_str());
    return 0;
}

std::wstring WindowText(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// The history pane as a test sees it: shown or not, its place and size, its
// rows and its caption.
int PrintPane() {
    HWND pane = FindWindowW(L"WordlarkFloatPane_5C2E9A41", nullptr);
    if (!pane) {
        std::printf("pane none\n");
        return 0;
    }
    RECT r{};
    GetWindowRect(pane, &r);
    HWND list = FindWindowExW(pane, nullptr, L"SysListView32", nullptr);
    const long rows = list ? long(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
    RECT l{};
    if (list) GetWindowRect(list, &l);
    std::printf("pane %d %ld %ld %ld %ld rows %ld list %ld %ld %ld %ld [%s]\n",
                IsWindowVisible(pane) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                rows, l.left, l.top, l.right - l.left, l.bottom - l.top,
                Utf8(WindowText(pane)).c_str());
    return 0;
}

// Opens every item, as a user opening each group would.
void ExpandAll(HWND tree, HTREEITEM item) {
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        TreeView_Expand(tree, item, TVE_EXPAND);
        ExpandAll(tree, TreeView_GetChild(tree, item));
    }
}

// The number of items in the tree view of the top-level window of CLASS, every
// group opened: "tree N", or "tree none".
int PrintTreeCount(const std::wstring& windowClass) {
    HWND window = FindWindowW(windowClass.c_str(), nullptr);
    HWND tree = window ? FindWindowExW(window, nullptr, L"SysTreeView32", nullptr) : nullptr;
    if (!tree) {
        std::printf("tree none\n");
        return 0;
    }
    ExpandAll(tree, TreeView_GetRoot(tree));
    std::printf("tree %ld\n", long(SendMessageW(tree, TVM_GETCOUNT, 0, 0)));
    return 0;
}

// Presses Return in the history pane's search field, which puts the first row
// into the window worked in before, and watches CLASS's edit control until it
// holds CHARS characters: "paneinsert arrived after MS ms".
int PaneInsert(const std::wstring& watchClass, size_t chars) {
    HWND pane = FindWindowW(L"WordlarkFloatPane_5C2E9A41", nullptr);
    HWND search = pane ? FindWindowExW(pane, nullptr, L"Edit", nullptr) : nullptr;
    if (!search) return Result(false, "paneinsert");
    const DWORD start = GetTickCount();
    PostMessageW(search, WM_KEYDOWN, VK_RETURN, 1);
    const long arrived = ArrivalMs(watchClass, chars, start);
    std::printf("paneinsert arrived after %ld ms\n", arrived);
    return Result(arrived >= 0, "paneinsert");
}

// The shown top-level windows of a class, front to back.
std::vector<HWND> ShownWindows(const wchar_t* windowClass) {
    struct Search {
        const wchar_t* windowClass;
        std::vector<HWND> found;
    } search{windowClass, {}};
    auto add = [](HWND window, LPARAM parameter) -> BOOL {
        auto* s = reinterpret_cast<Search*>(parameter);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (IsWindowVisible(window) && std::wcscmp(name, s->windowClass) == 0)
            s->found.push_back(window);
        return TRUE;
    };
    EnumWindows(add, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK AddControlText(HWND control, LPARAM parameter) {
    auto* texts = reinterpret_cast<std::wstring*>(parameter);
    if (!texts->empty()) *texts += L"|";
    *texts += WindowText(control);
    return TRUE;
}

// What a message box or dialog of another program says, as a test sees it.
int PrintDialogTexts(const std::wstring& title) {
    for (HWND dialog : ShownWindows(L"#32770")) {
        if (WindowText(dialog) != title) continue;
        std::wstring texts;
        EnumChildWindows(dialog, AddControlText, reinterpret_cast<LPARAM>(&texts));
        std::printf("dialog [%s]\n", Utf8(texts).c_str());
        return 0;
    }
    return Result(false, "dialog");
}

std::string ShownMenus() {
    std::string rects;
    RECT r;
    for (HWND menu : ShownWindows(L"#32768")) {
        if (!GetWindowRect(menu, &r)) continue;
        char rect[64];
        std::snprintf(rect, sizeof rect, "%s%ld %ld %ld %ld", rects.empty() ? "" : "|", r.left,
                      r.top, r.right - r.left, r.bottom - r.top);
        rects += rect;
    }
    return rects;
}

// The figures' clock for the phrase menu: when its window is shown, and where.
int PrintMenus(DWORD waitMs, long count) {
    const DWORD start = GetTickCount();
    if (count > 0) {
        std::printf("watching\n");
        std::fflush(stdout);
    }
    bool wasShown = false;
    for (long seen = 0; seen < std::max(count, 1L);) {
        const std::string rects = ShownMenus();
        const bool timeUp = GetTickCount() - start >= waitMs;
        if ((!rects.empty() && !wasShown) || (timeUp && count == 0)) {
            std::printf("menu [%s] at %llu\n", rects.c_str(), UnixMilliseconds());
            std::fflush(stdout);
            ++seen;
        }
        wasShown = !rects.empty();
        if (timeUp) break;
        Sleep(1);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    auto is = [&](const wchar_t* mode, size_t count) {
        return args.size() >= count && args[0] == mode;
    };
    auto number = [&](size_t i) { return std::max(0L, std::wcstol(args[i].c_str(), nullptr, 10)); };
    if (is(L"text", 2)) return Result(Write([&] { return PutText(args[1]); }), "text");
    if (is(L"web", 3)) return WriteWeb(args[1], args[2]);
    if (is(L"sheet", 2)) return WriteSheet(args[1]);
    if (is(L"private", 2)) return WritePrivate(args[1]);
    if (is(L"marked", 2)) return WriteMarked(args[1]);
    if (is(L"burst", 4)) return WriteBurst(int(number(1)), DWORD(number(2)), args[3]);
    if (is(L"empty", 1)) return Result(Write([] { return true; }), "empty");
    if (is(L"probe", 2)) return Probe(DWORD(number(1)));
    if (is(L"read", 1)) return Read();
    // Registered messages (0xC000 and up) stay in the deaf target's queue, so
    // a hook never sees them.
    if (is(L"deaf", 3)) return ShowTarget(L"wlk_deaf_target", DWORD(number(1)), args[2], 0, 0xBFFF);
    auto optional = [&](size_t i) { return args.size() > i ? args[i] : std::wstring(); };
    if (is(L"command", 3))
        return SendCommand(args[1], args[2], optional(3), args.size() > 4 ? number(4) : 0);
    if (is(L"type", 2)) return TypeFile(args[1], optional(2));
    if (is(L"edit", 2)) return PrintEditText(args[1]);
    if (is(L"post", 4)) return PostToTray(args[1], args[2], args[3], optional(4));
    if (is(L"pane", 1)) return PrintPane();
    if (is(L"tree", 2)) return PrintTreeCount(args[1]);
    if (is(L"paneinsert", 3)) return PaneInsert(args[1], size_t(number(2)));
    if (is(L"signal", 2)) return Result(SetNamedEvent(args[1].c_str()), "signal");
    if (is(L"dialog", 2)) return PrintDialogTexts(args[1]);
    if (is(L"menu", 2)) return PrintMenus(DWORD(number(1)), args.size() > 2 ? number(2) : 0);
    std::fprintf(stderr,
                 "usage: wlk_clip_writer.exe text|web|sheet|private|marked|burst|empty|probe|"
                 "read|deaf|command|post|type|edit|signal|dialog|menu|pane|tree|paneinsert "
                 "...\n");
    return 2;
}

#include "platform/win32/win32_clipboard.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_bitmap.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

HWND ToWindow(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

WindowId FromWindow(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

using ListenerCall = BOOL(WINAPI*)(HWND);

// The listener functions exist from Windows Vista on; older systems lack them.
template <typename F>
F User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                  : nullptr;
}

ListenerCall AddListener() {
    static const auto call = User32Function<ListenerCall>("AddClipboardFormatListener");
    return call;
}

ListenerCall RemoveListener() {
    static const auto call = User32Function<ListenerCall>("RemoveClipboardFormatListener");
    return call;
}

// A locked global block, unlocked when it goes.
class Locked {
public:
    explicit Locked(HANDLE block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~Locked() {
        if (data_) GlobalUnlock(block_);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    void* Get() const { return data_; }

private:
    HANDLE block_;
    void* data_;
};

using UniqueGlobal = Unique<HGLOBAL, &::GlobalFree>;

}  // namespace

uint32_t Win32Clipboard::SequenceNumber() {
    return GetClipboardSequenceNumber();
}

WindowId Win32Clipboard::Owner() {
    return FromWindow(GetClipboardOwner());
}

uint32_t Win32Clipboard::RegisterFormat(const Text& name) {
    return RegisterClipboardFormatW(AsWide(name));
}

Text Win32Clipboard::FormatName(uint32_t format) {
    wchar_t name[kMaxFormatName + 1] = {};
    const int length = GetClipboardFormatNameW(format, name, int(std::size(name)));
    return length > 0 ? FromWide(name, size_t(length)) : Text();
}

bool Win32Clipboard::IsFormatAvailable(uint32_t format) {
    return IsClipboardFormatAvailable(format) != FALSE;
}

std::optional<std::vector<uint32_t>> Win32Clipboard::UpdatedFormats() {
    using Call = BOOL(WINAPI*)(PUINT, UINT, PUINT);
    static const auto call = User32Function<Call>("GetUpdatedClipboardFormats");
    if (!call) return std::nullopt;
    std::vector<uint32_t> formats(64);
    UINT count = 0;
    while (!call(formats.data(), UINT(formats.size()), &count)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || formats.size() >= 0x4000)
            return std::nullopt;
        formats.resize(std::max<size_t>(count, formats.size() * 4));
    }
    formats.resize(count);
    return formats;
}

bool Win32Clipboard::Open(WindowId owner) {
    return OpenClipboard(ToWindow(owner)) != FALSE;
}

void Win32Clipboard::Close() {
    CloseClipboard();
}

std::vector<uint32_t> Win32Clipboard::EnumFormats() {
    std::vector<uint32_t> formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
        formats.push_back(format);
    return formats;
}

std::optional<ClipboardBlock> Win32Clipboard::GetData(uint32_t format, size_t maxBytes) {
    HANDLE block = GetClipboardData(format);
    if (!block) return std::nullopt;
    ClipboardBlock result;
    result.size = GlobalSize(block);
    Locked locked(block);
    if (!locked.Get()) return std::nullopt;
    if (result.size <= maxBytes) {
        const auto* bytes = static_cast<const uint8_t*>(locked.Get());
        result.bytes.assign(bytes, bytes + result.size);
    }
    return result;
}

std::unique_ptr<Bitmap> Win32Clipboard::GetBitmap() {
    auto shared = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    if (!shared) return nullptr;
    return AdoptBitmap(static_cast<HBITMAP>(CopyImage(shared, IMAGE_BITMAP, 0, 0, 0)));
}

bool Win32Clipboard::Empty() {
    return EmptyClipboard() != FALSE;
}

bool Win32Clipboard::SetData(uint32_t format, std::span<const uint8_t> bytes) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1));
    if (!block) return false;
    {
        Locked locked(block.Get());
        if (!locked.Get()) return false;
        if (!bytes.empty()) std::memcpy(locked.Get(), bytes.data(), bytes.size());
    }
    // The clipboard owns the block once it took it.
    if (!SetClipboardData(format, block.Get())) return false;
    block.Release();
    return true;
}

bool Win32Clipboard::SetBitmap(const Bitmap& bitmap) {
    HANDLE copy = CopyImage(HandleOf(bitmap), IMAGE_BITMAP, 0, 0, 0);
    if (!copy) return false;
    if (SetClipboardData(CF_BITMAP, copy)) return true;
    DeleteObject(copy);
    return false;
}

Text Win32Clipboard::AnsiToText(std::string_view bytes, uint32_t locale) {
    UINT codePage = CP_ACP;
    if (locale) {
        DWORD value = 0;
        if (GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                           reinterpret_cast<wchar_t*>(&value), sizeof(value) / sizeof(wchar_t)))
            codePage = value;
    }
    if (bytes.empty()) return Text();
    const int length =
        MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    if (length <= 0) return Text();
    Text text(size_t(length), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

bool Win32Clipboard::HasFormatListener() {
    return AddListener() && RemoveListener();
}

bool Win32Clipboard::AddFormatListener(WindowId window) {
    return AddListener() && AddListener()(ToWindow(window));
}

bool Win32Clipboard::RemoveFormatListener(WindowId window) {
    return RemoveListener() && RemoveListener()(ToWindow(window));
}

WindowId Win32Clipboard::Viewer() {
    return FromWindow(GetClipboardViewer());
}

WindowId Win32Clipboard::SetViewer(WindowId window) {
    SetLastError(0);
    return FromWindow(SetClipboardViewer(ToWindow(window)));
}

bool Win32Clipboard::ChangeChain(WindowId remove, WindowId next) {
    return ChangeClipboardChain(ToWindow(remove), ToWindow(next)) != FALSE;
}

uint32_t Win32Clipboard::LastError() {
    return GetLastError();
}

}  // namespace wlk::platform::win32

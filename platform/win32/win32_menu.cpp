#include "platform/win32/win32_menu.h"

#include <vector>

#include "platform/win32/wide.h"

namespace wlk::platform::win32 {

namespace {
wchar_t* Wide(const Text& text) {
    // The calls below only read the text, whatever their parameter types say.
    return const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
}
}  // namespace

int Win32Menu::Count() {
    const int count = GetMenuItemCount(menu_);
    return count < 0 ? 0 : count;
}

std::optional<MenuItem> Win32Menu::Item(int position) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (position < 0 || !GetMenuItemInfoW(menu_, UINT(position), TRUE, &info)) return std::nullopt;
    MenuItem item;
    item.id = info.wID;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    item.submenu = info.hSubMenu != nullptr;
    if (!item.separator) {
        // With no buffer the call gives the length; the second call then has
        // room for the terminator it always writes.
        const int length = GetMenuStringW(menu_, UINT(position), nullptr, 0, MF_BYPOSITION);
        if (length > 0) {
            std::vector<wchar_t> buffer(size_t(length) + 1);
            const int got =
                GetMenuStringW(menu_, UINT(position), buffer.data(), length + 1, MF_BYPOSITION);
            if (got > 0) item.text = FromWide(buffer.data(), size_t(got));
        }
    }
    return item;
}

std::unique_ptr<Menu> Win32Menu::Submenu(int position) {
    HMENU submenu = position < 0 ? nullptr : GetSubMenu(menu_, position);
    if (!submenu) return nullptr;
    return View(submenu);
}

bool Win32Menu::SetText(int position, const Text& text) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = Wide(text);
    return position >= 0 && SetMenuItemInfoW(menu_, UINT(position), TRUE, &info);
}

void Win32Menu::RemoveFrom(int position) {
    if (position < 0) return;
    while (Count() > position) {
        if (!DeleteMenu(menu_, UINT(position), MF_BYPOSITION)) break;
    }
}

bool Win32Menu::Append(uint32_t id, const Text& text) {
    return AppendMenuW(menu_, MF_STRING, id, Wide(text));
}

bool Win32Menu::AppendSeparator() {
    return AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
}

std::unique_ptr<Menu> Win32Menu::AppendSubmenu(const Text& text) {
    UniqueMenu submenu(CreatePopupMenu());
    if (!submenu) return nullptr;
    if (!AppendMenuW(menu_, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Get()),
                     Wide(text)))
        return nullptr;
    // The parent destroys it from now on.
    return View(submenu.Release());
}

bool Win32Menu::SetChecked(int position, bool checked) {
    if (position < 0) return false;
    const UINT flags = MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED);
    return CheckMenuItem(menu_, UINT(position), flags) != DWORD(-1);
}

bool Win32Menu::IsChecked(int position) {
    if (position < 0) return false;
    const UINT state = GetMenuState(menu_, UINT(position), MF_BYPOSITION);
    return state != UINT(-1) && (state & MF_CHECKED) != 0;
}

bool Win32Menu::SetDefault(int position) {
    return position >= 0 && SetMenuDefaultItem(menu_, UINT(position), TRUE);
}

int Win32Menu::DefaultPosition() {
    const UINT position = GetMenuDefaultItem(menu_, TRUE, 0);
    return position == UINT(-1) ? -1 : int(position);
}

std::unique_ptr<Menu> Win32Menus::Load(uint32_t resourceId) {
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId)));
    if (!menu) return nullptr;
    return std::make_unique<Win32Menu>(std::move(menu));
}

std::unique_ptr<Menu> Win32Menus::CreatePopup() {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return nullptr;
    return std::make_unique<Win32Menu>(std::move(menu));
}

}  // namespace wlk::platform::win32

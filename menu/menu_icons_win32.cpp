#include "menu/menu_icons_win32.h"

#include <algorithm>
#include <vector>

#include "menu/menu_model.h"
#include "platform/win32/wide.h"

namespace wlk::menu {

namespace {

using UniqueBitmap = platform::win32::Unique<HBITMAP, &::DeleteObject>;

constexpr int kSize = 16;

HICON ShellIcon(const wchar_t* path, DWORD attributes, UINT extraFlags) {
    SHFILEINFOW info{};
    const UINT flags = SHGFI_ICON | SHGFI_SMALLICON | extraFlags;
    if (!SHGetFileInfoW(path, attributes, &info, sizeof info, flags)) return nullptr;
    return info.hIcon;
}

int ResourceOf(int key) {
    switch (key) {
        case kIconRtf: return kIconIdRtf;
        case kIconExec: return kIconIdProgram;
        case kIconGoogle: return kIconIdGoogle;
        case kIconYandex: return kIconIdYandex;
        default: return 0;
    }
}

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

// A lighter grey picture of the same shape: each visible pixel turned to its
// brightness; the pixels the mask leaves transparent stay black, so that the
// mask still shows the background through them.
HICON GreyCopy(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return nullptr;
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP size{};
    if (!colour || !GetObjectW(colour.Get(), sizeof size, &size)) return nullptr;
    BITMAPINFO format = TopDown32(size.bmWidth, size.bmHeight);
    const size_t count = size_t(size.bmWidth) * size.bmHeight;
    std::vector<RGBQUAD> pixels(count), transparent(count);
    HDC screen = GetDC(nullptr);
    const bool read =
        GetDIBits(screen, colour.Get(), 0, size.bmHeight, pixels.data(), &format, DIB_RGB_COLORS) &&
        GetDIBits(screen, mask.Get(), 0, size.bmHeight, transparent.data(), &format,
                  DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    UniqueBitmap grey(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!read || !grey) return nullptr;
    for (size_t i = 0; i < count; ++i) {
        RGBQUAD& p = pixels[i];
        const bool hidden = transparent[i].rgbRed != 0;
        const int light = 128 + (p.rgbRed * 30 + p.rgbGreen * 59 + p.rgbBlue * 11) / 200;
        p.rgbRed = p.rgbGreen = p.rgbBlue = hidden ? 0 : BYTE(light);
    }
    std::copy(pixels.begin(), pixels.end(), static_cast<RGBQUAD*>(bits));
    info.hbmColor = grey.Get();
    info.hbmMask = mask.Get();
    return CreateIconIndirect(&info);
}

}  // namespace

HICON MenuIcons::Load(int key, const Text& file) {
    if (key == kIconText) return ShellIcon(L".txt", FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES);
    if (key == kIconOfFile) return ShellIcon(platform::win32::AsWide(file), 0, 0);
    const int resource = ResourceOf(key);
    if (!resource) return nullptr;
    return static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_ICON, kSize, kSize, 0));
}

HICON MenuIcons::Get(int key, const Text& file, bool greyed) {
    if (key == kIconNone) return nullptr;
    auto [it, made] = cache_.try_emplace({key, key == kIconOfFile ? file : Text()});
    Pair& pair = it->second;
    if (made) {
        pair.normal.Reset(Load(key, file));
        pair.grey.Reset(GreyCopy(pair.normal.Get()));
    }
    return greyed ? pair.grey.Get() : pair.normal.Get();
}

}  // namespace wlk::menu

// The icons of phrase items by key, each made once (with its greyed copy)
// and destroyed with the cache.
#pragma once

#include <map>
#include <utility>

#include "platform/types.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::menu {

using UniqueIcon = platform::win32::Unique<HICON, &::DestroyIcon>;

// The program's own resource icons that phrase items show.
inline constexpr int kIconIdRtf = 223;
inline constexpr int kIconIdProgram = 204;
inline constexpr int kIconIdGoogle = 230;
inline constexpr int kIconIdYandex = 231;

class MenuIcons {
public:
    explicit MenuIcons(HINSTANCE instance) : instance_(instance) {}

    // The 16 x 16 icon of `key` (kIconOfFile: the shell icon of `file`), in
    // grey when `greyed`; null when there is none.
    HICON Get(int key, const Text& file, bool greyed);

private:
    struct Pair {
        UniqueIcon normal;
        UniqueIcon grey;
    };
    HICON Load(int key, const Text& file);

    HINSTANCE instance_;
    // By key, and for kIconOfFile by file.
    std::map<std::pair<int, Text>, Pair> cache_;
};

}  // namespace wlk::menu

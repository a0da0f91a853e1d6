// Libraries through LoadLibraryW, GetProcAddress and FreeLibrary.
#pragma once

#include "platform/library.h"

namespace wlk::platform::win32 {

class Win32Libraries final : public Libraries {
public:
    std::unique_ptr<Library> Load(const Text& path) override;
    uint32_t LastError() override;
};

}  // namespace wlk::platform::win32

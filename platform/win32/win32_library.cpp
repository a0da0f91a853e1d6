#include "platform/win32/win32_library.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

class Win32Library final : public Library {
public:
    explicit Win32Library(HMODULE module) : module_(module) {}

    ProcAddress Procedure(const char* name) override {
        return reinterpret_cast<ProcAddress>(GetProcAddress(module_.Get(), name));
    }

private:
    UniqueModule module_;
};

}  // namespace

std::unique_ptr<Library> Win32Libraries::Load(const Text& path) {
    HMODULE module = LoadLibraryW(AsWide(path));
    if (!module) return nullptr;
    return std::make_unique<Win32Library>(module);
}

uint32_t Win32Libraries::LastError() {
    return GetLastError();
}

}  // namespace wlk::platform::win32

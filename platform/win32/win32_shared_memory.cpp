#include "platform/win32/win32_shared_memory.h"

#include <cstring>

#include "platform/win32/security.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

class Win32SharedArea final : public SharedArea {
public:
    Win32SharedArea(UniqueHandle mapping, UniqueView view, size_t size)
        : mapping_(std::move(mapping)), view_(std::move(view)), size_(size) {}

    bool WriteText(const std::string& bytes) override {
        if (bytes.size() >= size_) return false;  // no room for the terminator
        auto* area = static_cast<char*>(view_.Get());
        std::memcpy(area, bytes.data(), bytes.size());
        area[bytes.size()] = '\0';
        return true;
    }

    // Another process may have written anything; never read past the area.
    std::optional<std::string> ReadText() override {
        const auto* area = static_cast<const char*>(view_.Get());
        const void* end = std::memchr(area, '\0', size_);
        if (!end) return std::nullopt;
        return std::string(area, static_cast<const char*>(end) - area);
    }

private:
    // The view goes before the mapping: members are destroyed in reverse order.
    UniqueHandle mapping_;
    UniqueView view_;
    size_t size_;
};

std::unique_ptr<SharedArea> MapWhole(UniqueHandle mapping, size_t size) {
    if (!mapping) return nullptr;
    UniqueView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, size));
    if (!view) return nullptr;
    return std::make_unique<Win32SharedArea>(std::move(mapping), std::move(view), size);
}

UniqueHandle CreateMapping(const Text& name, size_t size, Security security, bool& existed) {
    EveryoneSecurity everyone;
    const auto wide = static_cast<unsigned long long>(size);
    UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, everyone.For(security),
                                            PAGE_READWRITE, static_cast<DWORD>(wide >> 32),
                                            static_cast<DWORD>(wide & 0xFFFFFFFFu),
                                            reinterpret_cast<const wchar_t*>(name.c_str())));
    existed = mapping && GetLastError() == ERROR_ALREADY_EXISTS;
    return mapping;
}

}  // namespace

std::unique_ptr<SharedArea> Win32SharedMemory::Create(const Text& name, size_t size,
                                                      Security security) {
    if (size == 0) return nullptr;
    bool existed = false;
    return MapWhole(CreateMapping(name, size, security, existed), size);
}

std::unique_ptr<SharedArea> Win32SharedMemory::CreateNew(const Text& name, size_t size,
                                                         Security security, bool& existed) {
    existed = false;
    if (size == 0) return nullptr;
    UniqueHandle mapping = CreateMapping(name, size, security, existed);
    // Its size and access rules are another program's: it is not opened.
    if (existed) return nullptr;
    return MapWhole(std::move(mapping), size);
}

std::unique_ptr<SharedArea> Win32SharedMemory::Open(const Text& name, size_t size) {
    if (size == 0) return nullptr;
    UniqueHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE,
                                          reinterpret_cast<const wchar_t*>(name.c_str())));
    return MapWhole(std::move(mapping), size);
}

}  // namespace wlk::platform::win32

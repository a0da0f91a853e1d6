// Move-only owners of Win32 handles. Each owner closes its handle exactly once;
// nothing in win32/ keeps a raw handle it is responsible for.
#pragma once

#include <utility>

#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

// Most handles are empty when null.
struct NullIsEmpty {
    template <typename T>
    static T Value() {
        return T{};
    }
};

// CreateFileW and FindFirstFileW report failure as INVALID_HANDLE_VALUE, not null.
struct InvalidIsEmpty {
    template <typename T>
    static T Value() {
        return INVALID_HANDLE_VALUE;
    }
};

template <typename T, auto Close, typename Empty = NullIsEmpty>
class Unique {
public:
    Unique() = default;
    explicit Unique(T handle) : handle_(handle) {}
    Unique(Unique&& other) noexcept : handle_(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { Reset(); }

    T Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Empty::template Value<T>(); }

    // Gives up ownership without closing.
    T Release() { return std::exchange(handle_, Empty::template Value<T>()); }

    void Reset(T handle = Empty::template Value<T>()) {
        T old = std::exchange(handle_, handle);
        if (old != Empty::template Value<T>()) Close(old);
    }

private:
    T handle_ = Empty::template Value<T>();
};

using UniqueHandle = Unique<HANDLE, &::CloseHandle>;
using UniqueFile = Unique<HANDLE, &::CloseHandle, InvalidIsEmpty>;
using UniqueFind = Unique<HANDLE, &::FindClose, InvalidIsEmpty>;
using UniqueView = Unique<void*, &::UnmapViewOfFile>;
using UniqueKey = Unique<HKEY, &::RegCloseKey>;
using UniqueModule = Unique<HMODULE, &::FreeLibrary>;

}  // namespace wlk::platform::win32

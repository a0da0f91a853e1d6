#include "platform/win32/win32_sync.h"

#include <vector>

#include "platform/win32/security.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

// Each thread asks about its own last call, as GetLastError does; captured at
// once so that later calls (even the destructor of a temporary) cannot change it.
thread_local uint32_t t_lastError = 0;

void CaptureLastError() {
    t_lastError = GetLastError();
}

class Win32Event final : public Event {
public:
    explicit Win32Event(UniqueHandle handle) : handle_(std::move(handle)) {}

    bool Set() override { return SetEvent(handle_.Get()) != FALSE; }
    bool Reset() override { return ResetEvent(handle_.Get()) != FALSE; }
    bool ProtectFromClose(bool on) override {
        const DWORD flags = on ? HANDLE_FLAG_PROTECT_FROM_CLOSE : 0;
        return SetHandleInformation(handle_.Get(), HANDLE_FLAG_PROTECT_FROM_CLOSE, flags) != FALSE;
    }

    HANDLE Handle() const { return handle_.Get(); }

private:
    UniqueHandle handle_;
};

class Win32Mutex final : public Mutex {
public:
    explicit Win32Mutex(UniqueHandle handle) : handle_(std::move(handle)) {}

    bool Acquire(uint32_t timeoutMs) override {
        const DWORD result = WaitForSingleObject(handle_.Get(), timeoutMs);
        // An owner that ended while holding the mutex leaves it to the next one.
        return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    bool Release() override { return ReleaseMutex(handle_.Get()) != FALSE; }

private:
    UniqueHandle handle_;
};

std::unique_ptr<Event> Wrap(HANDLE handle) {
    CaptureLastError();
    if (!handle) return nullptr;
    return std::make_unique<Win32Event>(UniqueHandle(handle));
}

const wchar_t* NameOrNull(const Text& name) {
    return name.empty() ? nullptr : reinterpret_cast<const wchar_t*>(name.c_str());
}

}  // namespace

std::unique_ptr<Event> Win32Sync::CreateEvent(const Text& name, bool manualReset, bool initialState,
                                              Security security) {
    EveryoneSecurity everyone;
    return Wrap(CreateEventW(everyone.For(security), manualReset, initialState, NameOrNull(name)));
}

std::unique_ptr<Mutex> Win32Sync::CreateMutex(const Text& name, Security security) {
    EveryoneSecurity everyone;
    HANDLE handle = CreateMutexW(everyone.For(security), FALSE, NameOrNull(name));
    CaptureLastError();
    if (!handle) return nullptr;
    return std::make_unique<Win32Mutex>(UniqueHandle(handle));
}

std::unique_ptr<Event> Win32Sync::OpenEvent(const Text& name, EventAccess access) {
    const DWORD rights = access == EventAccess::ModifyState ? EVENT_MODIFY_STATE : SYNCHRONIZE;
    return Wrap(OpenEventW(rights, FALSE, reinterpret_cast<const wchar_t*>(name.c_str())));
}

uint32_t Win32Sync::WaitAny(std::span<Event* const> events, uint32_t timeoutMs) {
    std::vector<HANDLE> handles;
    for (Event* event : events) {
        auto* own = dynamic_cast<Win32Event*>(event);
        if (!own) {
            t_lastError = ERROR_INVALID_HANDLE;
            return kWaitFailed;
        }
        handles.push_back(own->Handle());
    }
    if (handles.empty() || handles.size() > MAXIMUM_WAIT_OBJECTS) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return kWaitFailed;
    }
    const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                                FALSE, timeoutMs);
    CaptureLastError();
    return result;
}

uint32_t Win32Sync::LastError() {
    return t_lastError;
}

}  // namespace wlk::platform::win32

// Named kernel events, waits on several of them, and named mutexes.
#pragma once

#include <memory>
#include <span>

#include "platform/types.h"

namespace wlk::platform {

// One open event handle; destroying it closes the handle. A named event exists
// while at least one handle to it is open.
class Event {
public:
    virtual ~Event() = default;
    virtual bool Set() = 0;
    virtual bool Reset() = 0;
    // SetHandleInformation with HANDLE_FLAG_PROTECT_FROM_CLOSE.
    virtual bool ProtectFromClose(bool on) = 0;
};

// One open handle to a named mutex; destroying it closes the handle. Only the
// thread that acquired it may release it.
class Mutex {
public:
    virtual ~Mutex() = default;
    // WaitForSingleObject: true when this thread owns the mutex, also when its
    // last owner ended without releasing it (WAIT_ABANDONED).
    virtual bool Acquire(uint32_t timeoutMs) = 0;
    virtual bool Release() = 0;
};

enum class EventAccess { ModifyState, Synchronize };

class Sync {
public:
    virtual ~Sync() = default;
    // CreateEventW; an empty name makes an unnamed event. When the name exists
    // already, the existing event is opened and LastError() is kErrorAlreadyExists.
    virtual std::unique_ptr<Event> CreateEvent(const Text& name, bool manualReset,
                                               bool initialState, Security security) = 0;
    // CreateMutexW, not owned; opens the mutex when the name exists already.
    virtual std::unique_ptr<Mutex> CreateMutex(const Text& name, Security security) = 0;
    // OpenEventW; null when there is no such event.
    virtual std::unique_ptr<Event> OpenEvent(const Text& name, EventAccess access) = 0;
    // WaitForMultipleObjects for any one of the events: kWaitObject0 + index,
    // kWaitTimeout or kWaitFailed.
    virtual uint32_t WaitAny(std::span<Event* const> events, uint32_t timeoutMs) = 0;
    // GetLastError of the calling thread after the last call above.
    virtual uint32_t LastError() = 0;
};

}  // namespace wlk::platform

#include "platform/win32/win32_threads.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

using Body = std::function<void()>;

// The handles of the threads started here that may still run. Never destroyed:
// threads may still be ending while the process ends.
struct Started {
    SRWLOCK lock = SRWLOCK_INIT;
    std::vector<UniqueHandle> threads;
    size_t sweepAt = 64;
};

Started& StartedThreads() {
    static Started& started = *new Started;
    return started;
}

// Closes the handles of threads that have ended, now and then, so that the
// list stays about as long as the number of threads that run.
void KeepHandle(UniqueHandle thread) {
    Started& started = StartedThreads();
    AcquireSRWLockExclusive(&started.lock);
    auto& threads = started.threads;
    threads.push_back(std::move(thread));
    if (threads.size() >= started.sweepAt) {
        std::erase_if(threads, [](const UniqueHandle& t) {
            return WaitForSingleObject(t.Get(), 0) == WAIT_OBJECT_0;
        });
        started.sweepAt = std::max<size_t>(64, 2 * threads.size());
    }
    ReleaseSRWLockExclusive(&started.lock);
}

// The thread owns its body: it is freed here when the body has run, and with it
// everything the body captured.
DWORD WINAPI RunBody(void* parameter) {
    std::unique_ptr<Body> body(static_cast<Body*>(parameter));
    (*body)();
    return 0;
}

}  // namespace

bool Win32Threads::Start(std::function<void()> body) {
    if (!body) return false;
    auto block = std::make_unique<Body>(std::move(body));
    UniqueHandle thread(CreateThread(nullptr, 0, &RunBody, block.get(), 0, nullptr));
    if (!thread) return false;  // the block is freed here, its body unrun
    block.release();            // from here on the thread owns it
    KeepHandle(std::move(thread));
    return true;
}

void Win32Threads::Sleep(uint32_t ms) {
    ::Sleep(ms);
}

bool WaitForStartedThreads(uint32_t maxMs) {
    Started& started = StartedThreads();
    AcquireSRWLockExclusive(&started.lock);
    std::vector<UniqueHandle> threads = std::move(started.threads);
    started.threads.clear();
    ReleaseSRWLockExclusive(&started.lock);
    const ULONGLONG deadline = GetTickCount64() + maxMs;
    size_t ended = 0;
    while (ended < threads.size()) {
        std::vector<HANDLE> handles;
        for (size_t j = ended; j < threads.size() && handles.size() < MAXIMUM_WAIT_OBJECTS; ++j)
            handles.push_back(threads[j].Get());
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? DWORD(deadline - now) : 0;
        if (WaitForMultipleObjects(DWORD(handles.size()), handles.data(), TRUE, left) ==
            WAIT_TIMEOUT)
            break;
        ended += handles.size();
    }
    // Those still running are waited for again by a later call.
    for (size_t j = ended; j < threads.size(); ++j) KeepHandle(std::move(threads[j]));
    return ended == threads.size();
}

}  // namespace wlk::platform::win32

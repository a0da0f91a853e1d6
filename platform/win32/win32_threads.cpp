#include "platform/win32/win32_threads.h"

#include <memory>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

using Body = std::function<void()>;

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
    return true;
}

void Win32Threads::Sleep(uint32_t ms) {
    ::Sleep(ms);
}

}  // namespace wlk::platform::win32

#include "history/item_identity.h"

#include <atomic>
#include <mutex>
#include <random>

namespace wlk::history {

namespace {
std::atomic<uint32_t> g_lastId{0};
std::atomic<uint64_t> g_lastStamp{0};
}  // namespace

uint32_t NextItemId() {
    return g_lastId.fetch_add(1, std::memory_order_relaxed) + 1;
}

uint64_t NextStamp() {
    return g_lastStamp.fetch_add(1, std::memory_order_relaxed) + 1;
}

Text NewUniqueKey() {
    static std::mutex mutex;
    static std::mt19937_64 random{std::random_device{}()};
    uint64_t halves[2];
    {
        std::lock_guard lock(mutex);
        halves[0] = random();
        halves[1] = random();
    }
    // The version 4 and variant bits, as CoCreateGuid sets them.
    halves[0] = (halves[0] & ~0xF000ull) | 0x4000ull;
    halves[1] = (halves[1] & ~(0xC0ull << 56)) | (0x80ull << 56);
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    Text key;
    for (uint64_t half : halves)
        for (int shift = 60; shift >= 0; shift -= 4) key += kHex[(half >> shift) & 0xF];
    return key;
}

}  // namespace wlk::history

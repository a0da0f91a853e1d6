// Small helpers shared by the tests.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/text.h"

namespace wlk::test {

// Polls until `done` holds or the time is up; returns whether it held.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// UTF-16 LE bytes as UTF-8 (any byte order mark kept as U+FEFF).
inline std::string Utf16ToUtf8(const std::string& bytes) {
    Text text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
    return ToUtf8(text);
}

// UTF-8 text as UTF-16 LE bytes, for writing test files.
inline std::string Utf16Bytes(const std::string& utf8) {
    std::string bytes;
    for (char16_t c : FromUtf8(utf8)) {
        bytes += char(c & 0xFF);
        bytes += char(c >> 8);
    }
    return bytes;
}

inline const std::string kBom16 = "\xFF\xFE";

}  // namespace wlk::test

// Small helpers shared by the tests.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "history/ch_item.h"
#include "platform/text.h"
#include "settings/settings.h"

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

// How often `part` occurs in `text`, overlapping occurrences included.
inline size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = 0; (at = text.find(part, at)) != std::string::npos; ++at) ++count;
    return count;
}

inline const std::string kBom16 = "\xFF\xFE";

// UTF-16 LE bytes as UTF-8 (any byte order mark kept as U+FEFF).
inline std::string Utf16ToUtf8(const std::string& bytes) {
    Text text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
    return ToUtf8(text);
}

// Text as UTF-16 LE bytes, for writing test files.
inline std::string Utf16Bytes(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += char(c & 0xFF);
        bytes += char(c >> 8);
    }
    return bytes;
}
inline std::string Utf16Bytes(const std::string& utf8) {
    return Utf16Bytes(FromUtf8(utf8));
}

// A UTF-16 file as the profile functions and the event log write it.
inline std::string Utf16File(std::u16string_view text) {
    return kBom16 + Utf16Bytes(text);
}
inline std::string Utf16File(const std::string& utf8) {
    return kBom16 + Utf16Bytes(utf8);
}

// The settings as a start of the program loads them.
inline settings::Settings LoadedSettings() {
    settings::Settings s;
    s.Load();
    return s;
}

// History items as a capture makes them.
inline std::unique_ptr<history::CCHItem> TextItem(std::u16string_view text,
                                                  bool isProtected = false) {
    auto item = std::make_unique<history::CCHItem>(history::CHT_TEXT_UNICODE);
    item->SetUnicodeText(text);
    item->isProtected = isProtected;
    return item;
}
inline std::unique_ptr<history::CCHItem> DataItem(history::ChType type, std::string_view bytes) {
    auto item = std::make_unique<history::CCHItem>(type);
    item->SetData(bytes.data(), bytes.size());
    return item;
}

}  // namespace wlk::test

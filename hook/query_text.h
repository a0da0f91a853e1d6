// The query text that the hook component leaves in the interchange area: the
// facts gathered inside the target's thread, printed as the "LKQuery" XML
// that the program reads. Portable, so that it is checked against the
// program's own reader without Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wlk::hook {

// The target holds a password: its selection is not read.
inline constexpr int32_t kSelStateWithheld = 3;

// What the hook found out about the window the user works in. Handles are the
// 32 significant bits of a window handle, as Windows shares them between processes.
struct QueryFacts {
    std::u16string appPath;
    std::u16string windowClassName;
    int32_t window = 0;
    int32_t active = 0;
    int32_t focus = 0;
    int32_t capture = 0;
    int32_t menuOwner = 0;
    int32_t caret = 0;
    uint32_t keyboardLayout = 0;
    // The caret in screen coordinates; -1, -1 when there is no caret.
    int32_t pointX = -1;
    int32_t pointY = -1;
    int32_t selState = 0;  // as the program's StateSelText
    std::u16string selText;
};

// The UTF-8 "LKQuery" text. With its zero byte it takes at most `byteLimit`
// bytes: an overlong selection is cut at a character boundary. Empty when
// even an empty selection would not fit.
std::string BuildQueryText(const QueryFacts& facts, size_t byteLimit);

}  // namespace wlk::hook

#include "platform/win32/win32_profile.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

DWORD Chars(size_t count) {
    return static_cast<DWORD>(std::min<size_t>(count, MAXDWORD));
}

// The "line\0line\0\0" list, read no further than the count the call gave
// back: a cut-off list ends with a partial line.
std::vector<Text> SplitLines(const wchar_t* buffer, size_t count) {
    std::vector<Text> lines;
    for (size_t at = 0; at < count && buffer[at] != L'\0';) {
        const size_t length = wcsnlen(buffer + at, count - at);
        lines.push_back(FromWide(buffer + at, length));
        at += length + 1;
    }
    return lines;
}

}  // namespace

Text Win32Profile::GetString(const Text& file, const Text& section, const Text& key,
                             const Text& def, size_t bufferChars) {
    if (bufferChars == 0) return Text();
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    GetPrivateProfileStringW(AsWide(section), AsWide(key), AsWide(def), buffer.data(),
                             Chars(bufferChars), AsWide(file));
    return FromWide(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
}

int Win32Profile::GetInt(const Text& file, const Text& section, const Text& key, int def) {
    return static_cast<int>(GetPrivateProfileIntW(AsWide(section), AsWide(key), def, AsWide(file)));
}

std::vector<Text> Win32Profile::GetSection(const Text& file, const Text& section,
                                           size_t bufferChars) {
    // Wine writes before the buffer's start when it holds fewer than two.
    if (bufferChars < 2) return {};
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    const DWORD count =
        GetPrivateProfileSectionW(AsWide(section), buffer.data(), Chars(bufferChars), AsWide(file));
    return SplitLines(buffer.data(), std::min<size_t>(count, buffer.size()));
}

bool Win32Profile::WriteString(const Text& file, const Text& section, const Text& key,
                               const std::optional<Text>& value) {
    return WritePrivateProfileStringW(AsWide(section), AsWide(key),
                                      value ? AsWide(*value) : nullptr, AsWide(file));
}

bool Win32Profile::WriteSection(const Text& file, const Text& section,
                                const std::vector<Text>& lines) {
    // "line\0line\0\0"
    Text block;
    for (const Text& line : lines) block += line + u'\0';
    block += u'\0';
    return WritePrivateProfileSectionW(AsWide(section), AsWide(block), AsWide(file));
}

bool Win32Profile::GetStruct(const Text& file, const Text& section, const Text& key, void* data,
                             size_t size) {
    if (size > UINT_MAX) return false;
    return GetPrivateProfileStructW(AsWide(section), AsWide(key), data, static_cast<UINT>(size),
                                    AsWide(file));
}

bool Win32Profile::WriteStruct(const Text& file, const Text& section, const Text& key,
                               const void* data, size_t size) {
    if (size > UINT_MAX) return false;
    // The call only reads the bytes; its parameter merely lacks the const.
    return WritePrivateProfileStructW(AsWide(section), AsWide(key), const_cast<void*>(data),
                                      static_cast<UINT>(size), AsWide(file));
}

}  // namespace wlk::platform::win32

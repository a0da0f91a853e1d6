#include "web/temp_xml_file_win32.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::web {

using platform::win32::AsWide;
using platform::win32::FromWide;
using platform::win32::UniqueFile;

namespace {

// GetTempFileNameW makes "wlk????.tmp" and so reserves the number; the file is
// then renamed to ".xml". Another file may already hold that name: a few
// more numbers are tried.
Text CreateXmlFile() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return Text();
    for (int attempt = 0; attempt < 8; ++attempt) {
        wchar_t name[MAX_PATH];
        if (!GetTempFileNameW(folder, L"wlk", 0, name)) return Text();
        const Text reserved = FromWide(name);
        const Text xml = reserved.substr(0, reserved.size() - 4) + u".xml";
        if (MoveFileW(name, AsWide(xml))) return xml;
        DeleteFileW(name);
    }
    return Text();
}

}  // namespace

TempXmlFile::TempXmlFile() : path_(CreateXmlFile()) {
    MarkTemporary();
}

TempXmlFile::~TempXmlFile() {
    if (!path_.empty()) DeleteFileW(AsWide(path_));
}

void TempXmlFile::MarkTemporary() const {
    if (!path_.empty()) SetFileAttributesW(AsWide(path_), FILE_ATTRIBUTE_TEMPORARY);
}

std::optional<uint64_t> TempXmlFile::Size() const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path_.empty() || !GetFileAttributesExW(AsWide(path_), GetFileExInfoStandard, &data))
        return std::nullopt;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::string> TempXmlFile::Read(uint32_t maxBytes) const {
    UniqueFile file(CreateFileW(AsWide(path_), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    // One byte more than allowed tells a file that is too large.
    std::string bytes(size_t(maxBytes) + 1, '\0');
    size_t filled = 0;
    DWORD got = 0;
    do {
        if (!ReadFile(file.Get(), bytes.data() + filled, DWORD(bytes.size() - filled), &got,
                      nullptr))
            return std::nullopt;
        filled += got;
    } while (got > 0 && filled < bytes.size());
    if (filled > maxBytes) return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

}  // namespace wlk::web

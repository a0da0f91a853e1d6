#include "bench/bench_files.h"

#include "bench/bench_clock.h"
#include "platform/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::bench {

namespace {

using platform::win32::AsWide;
using platform::win32::FromWide;
using platform::win32::UniqueFile;
using platform::win32::UniqueFind;

bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Calls `visit(path, isDirectory)` for each entry of `folder` (ending with a backslash).
template <typename Visit>
void ForEachEntry(const Text& folder, Visit visit) {
    WIN32_FIND_DATAW found = {};
    UniqueFind find(FindFirstFileW(AsWide(folder + u"*"), &found));
    if (!find) return;
    do {
        if (!IsDots(found.cFileName))
            visit(folder + FromWide(found.cFileName),
                  (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(find.Get(), &found));
}

}  // namespace

ScratchFolder::ScratchFolder(const Text& name) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    path_ = FromWide(temp, length) + name + u"-" + ToText(GetCurrentProcessId()) + u"\\";
    RemoveTree(path_, true);  // what an interrupted run left behind
    ok_ = MakeFolder(path_);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_, true);
}

void RemoveTree(const Text& folder, bool self) {
    ForEachEntry(folder, [](const Text& path, bool directory) {
        if (directory) {
            RemoveTree(path + u"\\", true);
        } else {
            SetFileAttributesW(AsWide(path), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(AsWide(path));
        }
    });
    if (self) RemoveDirectoryW(AsWide(folder));
}

bool MakeFolder(const Text& path) {
    return CreateDirectoryW(AsWide(path), nullptr) != FALSE;
}

bool WriteNew(const Text& path, const std::string& bytes) {
    UniqueFile file(CreateFileW(AsWide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ReadWhole(const Text& path) {
    UniqueFile file(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) return {};
    std::string bytes(size_t(size.QuadPart), '\0');
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr)) return {};
    bytes.resize(got);
    return bytes;
}

std::vector<Text> FileNames(const Text& folder) {
    std::vector<Text> names;
    ForEachEntry(folder, [&](const Text& path, bool directory) {
        if (!directory) names.push_back(path.substr(folder.size()));
    });
    return names;
}

size_t ReadTree(const Text& folder) {
    size_t bytes = 0;
    ForEachEntry(folder, [&bytes](const Text& path, bool directory) {
        bytes += directory ? ReadTree(path + u"\\") : ReadWhole(path).size();
    });
    return bytes;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace wlk::bench

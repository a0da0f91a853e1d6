#include "platform/win32/win32_files.h"

#include <algorithm>
#include <climits>
#include <string>

#include "platform/win32/access_check.h"
#include "platform/win32/security.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

// WriteFile and ReadFile take a DWORD count; larger amounts go in pieces.
constexpr size_t kMaxChunk = 1u << 30;

// The error of this thread's last failed call, kept before closing a handle or
// another call can overwrite GetLastError.
thread_local uint32_t t_lastError = 0;

bool Checked(bool ok) {
    if (!ok) t_lastError = GetLastError();
    return ok;
}

class Win32File final : public File {
public:
    explicit Win32File(UniqueFile handle) : handle_(std::move(handle)) {}

    bool SeekToEnd() override {
        return SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, nullptr, FILE_END) != FALSE;
    }

    bool Write(const void* data, size_t size) override {
        const auto* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
            DWORD written = 0;
            if (!Checked(WriteFile(handle_.Get(), bytes, chunk, &written, nullptr))) return false;
            if (written != chunk) {
                t_lastError = ERROR_HANDLE_DISK_FULL;
                return false;
            }
            bytes += chunk;
            size -= chunk;
        }
        return true;
    }

private:
    UniqueFile handle_;
};

std::unique_ptr<File> OpenForWrite(const Text& path, DWORD disposition,
                                   SECURITY_ATTRIBUTES* attributes, DWORD access = GENERIC_WRITE,
                                   DWORD share = FILE_SHARE_READ) {
    UniqueFile handle(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), access, share,
                                  attributes, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!Checked(bool(handle))) return nullptr;
    return std::make_unique<Win32File>(std::move(handle));
}

bool ReadRest(HANDLE file, std::string& into) {
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) return false;
        if (got == 0) return true;
        into.append(buffer, got);
    }
}

}  // namespace

std::unique_ptr<File> Win32FileSystem::OpenForAppend(const Text& path) {
    return OpenForWrite(path, OPEN_EXISTING, nullptr, FILE_APPEND_DATA | SYNCHRONIZE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE);
}

std::unique_ptr<File> Win32FileSystem::CreateAlways(const Text& path, Security security) {
    EveryoneSecurity everyone;
    return OpenForWrite(path, CREATE_ALWAYS, everyone.For(security));
}

PathKind Win32FileSystem::Kind(const Text& path) {
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str()));
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}

bool Win32FileSystem::CreateDirectory(const Text& path, Security security) {
    // Files made later in the folder should be as open as the folder itself.
    EveryoneSecurity everyone(Inherit::ToChildren);
    return Checked(CreateDirectoryW(reinterpret_cast<const wchar_t*>(path.c_str()),
                                    everyone.For(security)) != FALSE);
}

bool Win32FileSystem::DeleteFile(const Text& path) {
    return Checked(DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str())) != FALSE);
}

std::optional<std::string> Win32FileSystem::ReadAll(const Text& path) {
    // Others may be writing or replacing the file; reading must not stop them.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    UniqueFile file(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ, share,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 &&
        static_cast<unsigned long long>(size.QuadPart) < kMaxChunk) {
        // One read for a file of known size: asking a byte more than it holds
        // finds its end without a second call, which costs much under Wine.
        bytes.resize(static_cast<size_t>(size.QuadPart) + 1);
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr))
            return std::nullopt;
        const bool whole = got < bytes.size();
        bytes.resize(got);
        if (whole) return bytes;
    }
    if (!ReadRest(file.Get(), bytes)) return std::nullopt;
    return bytes;
}

bool Win32FileSystem::CanWrite(const Text& path) {
    return MayWrite(reinterpret_cast<const wchar_t*>(path.c_str()));
}

DriveType Win32FileSystem::GetDriveType(const Text& root) {
    return static_cast<DriveType>(GetDriveTypeW(reinterpret_cast<const wchar_t*>(root.c_str())));
}

namespace {

FILETIME ToFileTime(uint64_t value) {
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

}  // namespace

std::vector<DirEntry> Win32FileSystem::List(const Text& folder, const Text& pattern) {
    std::vector<DirEntry> entries;
    Text query = folder;
    if (!query.empty() && query.back() != u'\\') query += u'\\';
    query += pattern;
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(AsWide(query), &data));
    if (!find) return entries;
    do {
        Text name = FromWide(data.cFileName);
        if (name == u"." || name == u"..") continue;
        uint64_t size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        uint64_t lastWrite = (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
                             data.ftLastWriteTime.dwLowDateTime;
        entries.push_back(
            {name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, size, lastWrite});
    } while (FindNextFileW(find.Get(), &data));
    return entries;
}

std::unique_ptr<File> Win32FileSystem::CreateNew(const Text& path, Security security) {
    EveryoneSecurity everyone;
    return OpenForWrite(path, CREATE_NEW, everyone.For(security));
}

bool Win32FileSystem::Replace(const Text& from, const Text& to) {
    return Checked(MoveFileExW(AsWide(from), AsWide(to),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE);
}

bool Win32FileSystem::RemoveDirectory(const Text& path) {
    return Checked(RemoveDirectoryW(AsWide(path)) != FALSE);
}

bool Win32FileSystem::Move(const Text& from, const Text& to) {
    return Checked(MoveFileW(AsWide(from), AsWide(to)) != FALSE);
}

bool Win32FileSystem::IsReadOnly(const Text& path) {
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool Win32FileSystem::SetReadOnly(const Text& path, bool on) {
    DWORD attributes = GetFileAttributesW(AsWide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    attributes =
        on ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
    return Checked(SetFileAttributesW(AsWide(path), attributes) != FALSE);
}

std::optional<uint64_t> Win32FileSystem::CreationTime(const Text& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(AsWide(path), GetFileExInfoStandard, &data)) return std::nullopt;
    return (uint64_t(data.ftCreationTime.dwHighDateTime) << 32) | data.ftCreationTime.dwLowDateTime;
}

bool Win32FileSystem::SetCreationTime(const Text& path, uint64_t fileTime) {
    UniqueFile file(CreateFileW(AsWide(path), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const FILETIME created = ToFileTime(fileTime);
    return SetFileTime(file.Get(), &created, nullptr, nullptr) != FALSE;
}

uint32_t Win32FileSystem::LastError() {
    return t_lastError;
}

Text Win32FileSystem::AnsiText(std::string_view bytes) {
    const int size = static_cast<int>(std::min<size_t>(bytes.size(), INT_MAX));
    if (size == 0) return Text();
    const int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (chars <= 0) return Text();
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), chars);
    return FromWide(wide.data(), static_cast<size_t>(chars));
}

}  // namespace wlk::platform::win32

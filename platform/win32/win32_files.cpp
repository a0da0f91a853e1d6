#include "platform/win32/win32_files.h"

#include <algorithm>

#include "platform/win32/access_check.h"
#include "platform/win32/security.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

// WriteFile and ReadFile take a DWORD count; larger amounts go in pieces.
constexpr size_t kMaxChunk = 1u << 30;

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
            if (!WriteFile(handle_.Get(), bytes, chunk, &written, nullptr) || written != chunk) {
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
                                   SECURITY_ATTRIBUTES* attributes) {
    UniqueFile handle(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE,
                                  FILE_SHARE_READ, attributes, disposition, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!handle) return nullptr;
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

std::unique_ptr<File> Win32FileSystem::OpenExistingForWrite(const Text& path) {
    return OpenForWrite(path, OPEN_EXISTING, nullptr);
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
    return CreateDirectoryW(reinterpret_cast<const wchar_t*>(path.c_str()),
                            everyone.For(security)) != FALSE;
}

bool Win32FileSystem::DeleteFile(const Text& path) {
    return DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str())) != FALSE;
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
        bytes.reserve(static_cast<size_t>(size.QuadPart));
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

}  // namespace wlk::platform::win32

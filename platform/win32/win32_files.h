// Files, folders and drives with the Win32 file calls.
#pragma once

#include "platform/files.h"

namespace wlk::platform::win32 {

class Win32FileSystem final : public FileSystem {
public:
    std::unique_ptr<File> OpenForAppend(const Text& path) override;
    std::unique_ptr<File> CreateAlways(const Text& path, Security security) override;
    PathKind Kind(const Text& path) override;
    bool CreateDirectory(const Text& path, Security security) override;
    bool DeleteFile(const Text& path) override;
    std::optional<std::string> ReadAll(const Text& path) override;
    bool CanWrite(const Text& path) override;
    DriveType GetDriveType(const Text& root) override;
    std::vector<DirEntry> List(const Text& folder, const Text& pattern) override;
    std::unique_ptr<File> CreateNew(const Text& path, Security security) override;
    bool Replace(const Text& from, const Text& to) override;
    bool RemoveDirectory(const Text& path) override;
    bool Move(const Text& from, const Text& to) override;
    bool IsReadOnly(const Text& path) override;
    bool SetReadOnly(const Text& path, bool on) override;
    std::optional<uint64_t> CreationTime(const Text& path) override;
    bool SetCreationTime(const Text& path, uint64_t fileTime) override;
    uint32_t LastError() override;
    Text AnsiText(std::string_view bytes) override;
};

}  // namespace wlk::platform::win32

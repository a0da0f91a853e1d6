// Files, folders and drives with the Win32 file calls.
#pragma once

#include "platform/files.h"

namespace wlk::platform::win32 {

class Win32FileSystem final : public FileSystem {
public:
    std::unique_ptr<File> OpenExistingForWrite(const Text& path) override;
    std::unique_ptr<File> CreateAlways(const Text& path, Security security) override;
    PathKind Kind(const Text& path) override;
    bool CreateDirectory(const Text& path, Security security) override;
    bool DeleteFile(const Text& path) override;
    std::optional<std::string> ReadAll(const Text& path) override;
    bool CanWrite(const Text& path) override;
    DriveType GetDriveType(const Text& root) override;
};

}  // namespace wlk::platform::win32

// Files, folders and drives.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/types.h"

namespace wlk::platform {

// One open file handle; destroying it closes the file.
class File {
public:
    virtual ~File() = default;
    virtual bool SeekToEnd() = 0;
    virtual bool Write(const void* data, size_t size) = 0;
};

enum class PathKind { Missing, File, Directory };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // CreateFileW(GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING); null on failure.
    virtual std::unique_ptr<File> OpenExistingForWrite(const Text& path) = 0;
    // CreateFileW(GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS); null on failure.
    virtual std::unique_ptr<File> CreateAlways(const Text& path, Security security) = 0;
    // GetFileAttributesW.
    virtual PathKind Kind(const Text& path) = 0;
    virtual bool CreateDirectory(const Text& path, Security security) = 0;
    virtual bool DeleteFile(const Text& path) = 0;
    // Whole file contents; nothing when the file cannot be read.
    virtual std::optional<std::string> ReadAll(const Text& path) = 0;
    // Whether the user may write the file or folder (an access check for GENERIC_WRITE).
    virtual bool CanWrite(const Text& path) = 0;
    // GetDriveTypeW of a root such as "C:\".
    virtual DriveType GetDriveType(const Text& root) = 0;
};

}  // namespace wlk::platform

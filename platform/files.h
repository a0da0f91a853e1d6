// Files, folders and drives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

struct DirEntry {
    Text name;
    bool directory = false;
    uint64_t size = 0;
    // The last-write time as a FILETIME; with the size, it tells whether a
    // file changed without reading it.
    uint64_t lastWrite = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // CreateFileW(FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
    // OPEN_EXISTING): every write goes to the end of the file, so writers of
    // several processes never overwrite each other. Null on failure.
    virtual std::unique_ptr<File> OpenForAppend(const Text& path) = 0;
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

    // FindFirstFileW/FindNextFileW of folder + "\" + pattern ("*", "*.lng"),
    // without "." and "..", in the order the system gives them.
    virtual std::vector<DirEntry> List(const Text& folder, const Text& pattern) = 0;
    // CreateFileW(GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW): null when the
    // file exists already, so that two writers never take the same name.
    virtual std::unique_ptr<File> CreateNew(const Text& path, Security security) = 0;
    // MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH): the
    // one step that replaces a file by a fully written new one.
    virtual bool Replace(const Text& from, const Text& to) = 0;
    virtual bool RemoveDirectory(const Text& path) = 0;
    // MoveFileW: renames a file or a folder with all it holds; fails when
    // `to` exists.
    virtual bool Move(const Text& from, const Text& to) = 0;
    // FILE_ATTRIBUTE_READONLY.
    virtual bool IsReadOnly(const Text& path) = 0;
    virtual bool SetReadOnly(const Text& path, bool on) = 0;
    // The creation time as a FILETIME (UTC).
    virtual std::optional<uint64_t> CreationTime(const Text& path) = 0;
    virtual bool SetCreationTime(const Text& path, uint64_t fileTime) = 0;

    // GetLastError of the calling thread, taken when one of the calls above
    // (or a File's Write) failed last; for the error's code and text in the log.
    virtual uint32_t LastError() = 0;
    // The text of a file written in the system's ANSI code page
    // (MultiByteToWideChar with CP_ACP).
    virtual Text AnsiText(std::string_view bytes) = 0;
};

}  // namespace wlk::platform

// Plain file access for the benchmarks' baselines, straight on the Win32
// calls and with nothing of the product in between, and a scratch folder of
// the run's own under the temporary folder.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/types.h"

namespace wlk::bench {

// A fresh, empty folder under the temporary folder; removed with everything
// in it when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const Text& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Ends with a backslash.
    const Text& Path() const { return path_; }
    bool Ok() const { return ok_; }

private:
    Text path_;
    bool ok_ = false;
};

// Removes everything inside `folder` (ending with a backslash), read-only
// files too; with `self`, the folder as well.
void RemoveTree(const Text& folder, bool self);

bool MakeFolder(const Text& path);
// CreateFileW(CREATE_NEW) and one WriteFile.
bool WriteNew(const Text& path, const std::string& bytes);
// CreateFileW(OPEN_EXISTING) and ReadFile of the whole file; the bytes.
std::string ReadWhole(const Text& path);
// The names of the files (not folders) in `folder` (ending with a backslash).
std::vector<Text> FileNames(const Text& folder);
// Every file below `folder` (ending with a backslash) read whole, the walk
// made with FindFirstFileW; the number of bytes read.
size_t ReadTree(const Text& folder);

}  // namespace wlk::bench

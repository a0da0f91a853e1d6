// Facts about another application's window and process from the real system.
#pragma once

#include "platform/target_facts.h"

namespace wlk::platform::win32 {

class Win32TargetFacts final : public TargetFacts {
public:
    WindowId ForegroundWindow() override;
    WindowOwner OwnerOf(WindowId window) override;
    Text ProcessFileName(uint32_t processId) override;
    Text ProcessImagePath(uint32_t processId) override;
    std::optional<uint32_t> BinaryType(const Text& path) override;
    uint32_t KeyboardLayout(uint32_t threadId) override;
    bool ProgramRunsUnderWow64() override;
    bool ProcessRunsUnderWow64(uint32_t processId) override;
    bool CanOpenForQuery(uint32_t processId) override;
    bool HoldsSecret(WindowId window) override;
};

}  // namespace wlk::platform::win32

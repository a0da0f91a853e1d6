// A settable set of processes and windows for the facts about a target.
#pragma once

#include <map>
#include <optional>
#include <set>

#include "platform/target_facts.h"

namespace wlk::platform::sim {

struct SimProcess {
    Text fileName;   // as a process snapshot lists it
    Text imagePath;  // the full path of the executable
    bool wow64 = false;
    bool openable = true;  // false for a process with higher rights
};

class SimTargetFacts : public TargetFacts {
public:
    WindowId ForegroundWindow() override { return foreground; }
    WindowOwner OwnerOf(WindowId window) override;
    Text ProcessFileName(uint32_t processId) override;
    Text ProcessImagePath(uint32_t processId) override;
    std::optional<uint32_t> BinaryType(const Text& path) override;
    uint32_t KeyboardLayout(uint32_t threadId) override;
    bool ProgramRunsUnderWow64() override { return programWow64; }
    bool ProcessRunsUnderWow64(uint32_t processId) override;
    bool CanOpenForQuery(uint32_t processId) override;
    bool HoldsSecret(WindowId window) override { return secrets.contains(window); }

    // Test knobs.
    WindowId foreground = 0;
    bool programWow64 = false;
    std::map<WindowId, WindowOwner> owners;
    std::map<uint32_t, SimProcess> processes;
    std::map<uint32_t, uint32_t> layouts;  // by thread
    std::map<Text, uint32_t> binaryTypes;  // by executable path
    std::set<WindowId> secrets;            // password boxes
};

}  // namespace wlk::platform::sim

#include "platform/sim/sim_target_facts.h"

namespace wlk::platform::sim {

WindowOwner SimTargetFacts::OwnerOf(WindowId window) {
    auto it = owners.find(window);
    return it == owners.end() ? WindowOwner{} : it->second;
}

Text SimTargetFacts::ProcessFileName(uint32_t processId) {
    auto it = processes.find(processId);
    return it == processes.end() ? Text() : it->second.fileName;
}

Text SimTargetFacts::ProcessImagePath(uint32_t processId) {
    auto it = processes.find(processId);
    return it == processes.end() ? Text() : it->second.imagePath;
}

std::optional<uint32_t> SimTargetFacts::BinaryType(const Text& path) {
    auto it = binaryTypes.find(path);
    if (it == binaryTypes.end()) return std::nullopt;
    return it->second;
}

uint32_t SimTargetFacts::KeyboardLayout(uint32_t threadId) {
    auto it = layouts.find(threadId);
    return it == layouts.end() ? 0 : it->second;
}

bool SimTargetFacts::ProcessRunsUnderWow64(uint32_t processId) {
    auto it = processes.find(processId);
    return it != processes.end() && it->second.wow64;
}

bool SimTargetFacts::CanOpenForQuery(uint32_t processId) {
    auto it = processes.find(processId);
    return it != processes.end() && it->second.openable;
}

}  // namespace wlk::platform::sim

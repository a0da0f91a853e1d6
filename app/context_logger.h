// The tray window's receiver of target contexts until the phrase menu takes
// them: it logs what it received, so the road of a hotkey press can be
// followed to its end, and keeps the last context for the insertion of a
// command that follows.
#pragma once

#include <optional>

#include "bridge/data_needed_handler.h"

namespace wlk::app {

class CWLKContextLogger final : public bridge::IDataNeededHander {
public:
    void CleanupMenu() override {}
    bool HonoursLayoutMacros() override { return true; }
    bool IsMenuShown() override { return false; }
    void OnDataNeeded(const bridge::TargetContext& context, bridge::QueryAnswer& answer) override;
    bool ProvidesAnswers() override { return false; }

    // The context of the last menu call; null before the first.
    const bridge::TargetContext* LastContext() const { return last_ ? &*last_ : nullptr; }

private:
    std::optional<bridge::TargetContext> last_;
};

}  // namespace wlk::app

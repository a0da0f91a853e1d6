// Menus as an in-memory tree. Loading a registered resource hands out a deep
// copy, as LoadMenuW makes a fresh menu each time, so that translating one
// loaded menu never changes the next.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/menu.h"

namespace wlk::platform::sim {

struct SimMenuNode {
    struct Entry {
        MenuItem item;
        bool checked = false;
        std::shared_ptr<SimMenuNode> submenu;
    };
    std::vector<Entry> entries;
    int defaultPosition = -1;

    std::shared_ptr<SimMenuNode> Clone() const;
};

class SimMenu : public Menu {
public:
    SimMenu() : node_(std::make_shared<SimMenuNode>()) {}
    explicit SimMenu(std::shared_ptr<SimMenuNode> node) : node_(std::move(node)) {}

    int Count() override;
    std::optional<MenuItem> Item(int position) override;
    std::unique_ptr<Menu> Submenu(int position) override;
    bool SetText(int position, const Text& text) override;
    void RemoveFrom(int position) override;
    bool Append(uint32_t id, const Text& text) override;
    bool AppendSeparator() override;
    std::unique_ptr<Menu> AppendSubmenu(const Text& text) override;
    bool SetChecked(int position, bool checked) override;
    bool IsChecked(int position) override;
    bool SetDefault(int position) override;
    int DefaultPosition() override;

    const std::shared_ptr<SimMenuNode>& Node() const { return node_; }

private:
    SimMenuNode::Entry* At(int position);

    std::shared_ptr<SimMenuNode> node_;
};

class SimMenus : public Menus {
public:
    std::unique_ptr<Menu> Load(uint32_t resourceId) override;
    std::unique_ptr<Menu> CreatePopup() override;

    // Test knob: stores a copy of `menu` as resource `resourceId`.
    void Register(uint32_t resourceId, const SimMenu& menu);
    int loads = 0;

private:
    std::mutex mutex_;
    std::map<uint32_t, std::shared_ptr<SimMenuNode>> resources_;
};

}  // namespace wlk::platform::sim

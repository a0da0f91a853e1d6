#include "platform/sim/sim_menu.h"

namespace wlk::platform::sim {

std::shared_ptr<SimMenuNode> SimMenuNode::Clone() const {
    auto copy = std::make_shared<SimMenuNode>(*this);
    for (Entry& entry : copy->entries) {
        if (entry.submenu) entry.submenu = entry.submenu->Clone();
    }
    return copy;
}

SimMenuNode::Entry* SimMenu::At(int position) {
    if (position < 0 || size_t(position) >= node_->entries.size()) return nullptr;
    return &node_->entries[size_t(position)];
}

int SimMenu::Count() {
    return int(node_->entries.size());
}

std::optional<MenuItem> SimMenu::Item(int position) {
    const auto* entry = At(position);
    if (!entry) return std::nullopt;
    return entry->item;
}

std::unique_ptr<Menu> SimMenu::Submenu(int position) {
    const auto* entry = At(position);
    if (!entry || !entry->submenu) return nullptr;
    return std::make_unique<SimMenu>(entry->submenu);
}

bool SimMenu::SetText(int position, const Text& text) {
    auto* entry = At(position);
    if (!entry) return false;
    entry->item.text = text;
    return true;
}

void SimMenu::RemoveFrom(int position) {
    if (position < 0 || size_t(position) >= node_->entries.size()) return;
    node_->entries.resize(size_t(position));
    if (node_->defaultPosition >= position) node_->defaultPosition = -1;
}

bool SimMenu::Append(uint32_t id, const Text& text) {
    node_->entries.push_back({MenuItem{id, text, false, false}, false, nullptr});
    return true;
}

bool SimMenu::AppendSeparator() {
    node_->entries.push_back({MenuItem{0, Text(), true, false}, false, nullptr});
    return true;
}

std::unique_ptr<Menu> SimMenu::AppendSubmenu(const Text& text) {
    auto submenu = std::make_shared<SimMenuNode>();
    node_->entries.push_back({MenuItem{0, text, false, true}, false, submenu});
    return std::make_unique<SimMenu>(submenu);
}

bool SimMenu::SetChecked(int position, bool checked) {
    auto* entry = At(position);
    if (!entry) return false;
    entry->checked = checked;
    return true;
}

bool SimMenu::IsChecked(int position) {
    const auto* entry = At(position);
    return entry && entry->checked;
}

bool SimMenu::SetDefault(int position) {
    if (!At(position)) return false;
    node_->defaultPosition = position;
    return true;
}

int SimMenu::DefaultPosition() {
    return node_->defaultPosition;
}

std::unique_ptr<Menu> SimMenus::Load(uint32_t resourceId) {
    std::lock_guard lock(mutex_);
    ++loads;
    auto it = resources_.find(resourceId);
    if (it == resources_.end()) return nullptr;
    return std::make_unique<SimMenu>(it->second->Clone());
}

std::unique_ptr<Menu> SimMenus::CreatePopup() {
    return std::make_unique<SimMenu>();
}

void SimMenus::Register(uint32_t resourceId, const SimMenu& menu) {
    std::lock_guard lock(mutex_);
    resources_[resourceId] = menu.Node()->Clone();
}

}  // namespace wlk::platform::sim

#include "phrases/command.h"

#include <algorithm>
#include <climits>

#include "platform/platform.h"
#include "settings/file_time.h"

namespace wlk::phrases {

CWLKCommand::CWLKCommand(const CWLKCommand& other)
    : name(other.name),
      hint(other.hint),
      dataType(other.dataType),
      id(other.id),
      command(other.command),
      sortId(other.sortId),
      useTitleOnly(other.useTitleOnly),
      dateUsage(other.dateUsage),
      children(other.children ? std::make_unique<CommandList>(*other.children) : nullptr),
      disabledIsNoHasSelection(other.disabledIsNoHasSelection),
      usageCount(other.usageCount),
      included(other.included),
      flagsMenu(other.flagsMenu),
      path_(other.path_) {}

CWLKCommand& CWLKCommand::operator=(const CWLKCommand& other) {
    if (this != &other) *this = CWLKCommand(other);
    return *this;
}

void CWLKCommand::MakeGroup() {
    if (!children) children = std::make_unique<CommandList>();
}

bool CWLKCommand::IsIncluded() const {
    if (!IsGroup()) return included;
    return std::any_of(children->begin(), children->end(),
                       [](const CWLKCommand& child) { return child.IsIncluded(); });
}

void CWLKCommand::IncrementUsage() {
    if (usageCount < INT_MAX) ++usageCount;
}

void CWLKCommand::SetDateUsage(const platform::LocalTime& time) {
    if (!IsGroup()) dateUsage = time;
}

void CWLKCommand::SetDateUsageNow() {
    if (IsGroup()) return;
    if (auto now = settings::FromFileTime(platform::Current().system.NowAsFileTime())) {
        dateUsage = *now;
    }
}

void CWLKCommand::SetPath(const Text& path) {
    // A renamed group takes its folder along; an existing folder is never
    // overwritten, so no phrase is lost either way.
    auto& files = platform::Current().files;
    if (IsGroup() && !path_.empty() && !path.empty() && path_ != path &&
        files.Kind(path_) == platform::PathKind::Directory &&
        files.Kind(path) == platform::PathKind::Missing) {
        files.Move(path_, path);
    }
    path_ = path;
}

}  // namespace wlk::phrases

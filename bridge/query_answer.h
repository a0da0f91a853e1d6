// What a query's receiver may hand back to the hook component: a tree of menu
// groups and commands with display options.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/types.h"

namespace wlk::bridge {

struct AnswerItem {
    // Present on a group, absent on a command.
    std::unique_ptr<std::vector<AnswerItem>> children;
    // Fixed sizes, as in the phrase record, so that a phrase copies in field by field.
    std::array<char16_t, 121> name{};
    std::array<char16_t, 1025> toolTipText{};
    int32_t DataType = 0;
    uint32_t Flags = 0;  // on a group, bit 0 marks the default group
    uint32_t CMDID = 0;  // 0 on a command makes a separator
    uint32_t LCID = 0;

    bool IsGroup() const { return children != nullptr; }
    // Copies as much of `text` as fits, always leaving the terminator.
    void SetName(std::u16string_view text);
    void SetToolTipText(std::u16string_view text);
};

struct QueryAnswer {
    std::vector<AnswerItem> items;
    int32_t MenuPerColumn = -1;
    int32_t Sound = 0;
    int32_t ShowToolTips = 1;
    int32_t ForegroundTopMostWnd = 0;
};

}  // namespace wlk::bridge

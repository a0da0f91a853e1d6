// One node of the phrase library: a phrase, or a group (a folder of phrases).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/types.h"

namespace wlk::phrases {

enum class CommandDataType : uint32_t { TEXT = 0, RTF = 1, EXEC = 2 };

class CWLKCommand;
using CommandList = std::vector<CWLKCommand>;

class CWLKCommand {
public:
    // The menu and its tooltip have room for this much; longer texts are cut on reading.
    static constexpr size_t kNameMaxChars = 60;
    static constexpr size_t kHintMaxChars = 512;
    static constexpr uint32_t kSeparatorBefore = 1;
    static constexpr uint32_t kSeparatorAfter = 2;

    CWLKCommand() = default;
    CWLKCommand(const CWLKCommand& other);
    CWLKCommand& operator=(const CWLKCommand& other);
    CWLKCommand(CWLKCommand&&) noexcept = default;
    CWLKCommand& operator=(CWLKCommand&&) noexcept = default;
    ~CWLKCommand() = default;

    bool IsGroup() const { return children != nullptr; }
    void MakeGroup();
    // A phrase by its own flag; a group when any phrase below it, at any depth, is.
    bool IsIncluded() const;
    void SetIncluded(bool on) { included = on; }

    int GetUsageCount() const { return usageCount; }
    void IncrementUsage();
    bool HasDateUsage() const { return dateUsage.year != 0; }
    const platform::LocalTime& GetDateUsage() const { return dateUsage; }
    // Groups carry no date of use: these two leave a group alone.
    void SetDateUsage(const platform::LocalTime& time);
    void SetDateUsageNow();

    bool IsDisabledWithoutSelection() const { return disabledIsNoHasSelection; }
    bool IsUseTitleOnly() const { return useTitleOnly; }
    bool HasSeparatorBefore() const { return (flagsMenu & kSeparatorBefore) != 0; }
    bool HasSeparatorAfter() const { return (flagsMenu & kSeparatorAfter) != 0; }

    const Text& GetPath() const { return path_; }
    // For a group this also moves its folder on disk; see the definition.
    void SetPath(const Text& path);

    Text name;
    Text hint;
    CommandDataType dataType = CommandDataType::TEXT;
    uint32_t id = 0;
    Text command;
    uint32_t sortId = 0;
    bool useTitleOnly = false;
    platform::LocalTime dateUsage{};        // UTC; no date while the year is 0
    std::unique_ptr<CommandList> children;  // present, possibly empty, for a group
    bool disabledIsNoHasSelection = false;
    int usageCount = 0;
    bool included = true;
    uint32_t flagsMenu = 0;

private:
    Text path_;
};

}  // namespace wlk::phrases

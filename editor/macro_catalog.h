// The macros a phrase body may hold, as the phrase editor offers them for
// insertion: grouped, each with a one-line description in the interface
// language.
#pragma once

#include <cstdint>
#include <vector>

#include "phrases/macro_table.h"
#include "platform/types.h"

namespace wlk::editor {

enum MacroCatalogText : uint32_t {
    kTextInsertMacro = 1560,
    kTextGroupDates,
    kTextGroupClipboard,
    kTextGroupKeys,
    kTextGroupSystem,
    kTextPromptQuestion,  // the question a new prompt starts with
    kTextAboutLayout,     // "%s": the layout's language code
    kTextAboutDate,
    kTextAboutDateNoWeekDay,
    kTextAboutDateTime,
    kTextAboutDateTimeNoWeekDay,
    kTextAboutTime,
    kTextAboutDay,
    kTextAboutDay2,
    kTextAboutWeekDay,
    kTextAboutWeekDayAbbr,
    kTextAboutMonthName,
    kTextAboutMonthNameAbbr,
    kTextAboutMonth,
    kTextAboutMonth2,
    kTextAboutYear,
    kTextAboutYear2,
    kTextAboutClipboard,
    kTextAboutUrlFromClipboard,
    kTextAboutNumbersClipboard,
    kTextAboutSelected,
    kTextAboutUpper,
    kTextAboutLower,
    kTextAboutUrlFromSelected,
    kTextAboutTextAfterUrl,
    kTextAboutTrimProtocols,
    kTextAboutNumbersSelected,
    kTextAboutCaret,
    kTextAboutEnter,
    kTextAboutTab,
    kTextAboutPrompt,
    kTextAboutUserName,
    kTextAboutWindowsVersion,
    kTextAboutVersion,
    kTextAboutEditorVersion,
    kTextAboutHookVersion,  // 1600, the last
};
static_assert(kTextAboutHookVersion == 1600);

enum class MacroGroup { DatesAndTimes, ClipboardAndSelection, KeysAndCaret, System };
inline constexpr MacroGroup kMacroGroups[] = {MacroGroup::DatesAndTimes,
                                              MacroGroup::ClipboardAndSelection,
                                              MacroGroup::KeysAndCaret, MacroGroup::System};

struct MacroEntry {
    MacroGroup group;
    Text name;         // as the table names it: "%PROMPT_TEXT={}%"
    Text insert;       // what goes into the body: "%PROMPT_TEXT={Question}%"
    Text description;  // one line in the interface language
};

// The group's name in the interface language.
Text MacroGroupName(MacroGroup group);

// Every fixed macro once, then one per layout macro of `table`, each group's
// entries in the order the user reads them.
std::vector<MacroEntry> MacroCatalog(const phrases::MacroTable& table);
// The same with the installed layouts.
std::vector<MacroEntry> MacroCatalog();

}  // namespace wlk::editor

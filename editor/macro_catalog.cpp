#include "editor/macro_catalog.h"

#include <string_view>

#include "language/interface_strings.h"
#include "platform/text.h"

namespace wlk::editor {

namespace {

constexpr std::u16string_view kPromptMacro = u"%PROMPT_TEXT={}%";
constexpr std::u16string_view kLayoutPrefix = u"%ACTIVATE_KL_";

struct FixedEntry {
    MacroGroup group;
    std::u16string_view name;
    MacroCatalogText about;
};

// The menu's order: related macros side by side rather than alphabetical.
constexpr FixedEntry kFixed[] = {
    {MacroGroup::DatesAndTimes, u"%DATE%", kTextAboutDate},
    {MacroGroup::DatesAndTimes, u"%DATE_EX_WD%", kTextAboutDateNoWeekDay},
    {MacroGroup::DatesAndTimes, u"%DATETIME%", kTextAboutDateTime},
    {MacroGroup::DatesAndTimes, u"%DATETIME_EX_WD%", kTextAboutDateTimeNoWeekDay},
    {MacroGroup::DatesAndTimes, u"%TIME%", kTextAboutTime},
    {MacroGroup::DatesAndTimes, u"%DAY%", kTextAboutDay},
    {MacroGroup::DatesAndTimes, u"%DAY2%", kTextAboutDay2},
    {MacroGroup::DatesAndTimes, u"%WEEKDAYNAME%", kTextAboutWeekDay},
    {MacroGroup::DatesAndTimes, u"%WEEKDAYNAME_ABBR%", kTextAboutWeekDayAbbr},
    {MacroGroup::DatesAndTimes, u"%MONTHNAME%", kTextAboutMonthName},
    {MacroGroup::DatesAndTimes, u"%MONTHNAME_ABBR%", kTextAboutMonthNameAbbr},
    {MacroGroup::DatesAndTimes, u"%MONTHNUMBER%", kTextAboutMonth},
    {MacroGroup::DatesAndTimes, u"%MONTHNUMBER2%", kTextAboutMonth2},
    {MacroGroup::DatesAndTimes, u"%YEAR%", kTextAboutYear},
    {MacroGroup::DatesAndTimes, u"%YEAR2%", kTextAboutYear2},
    {MacroGroup::ClipboardAndSelection, u"%CLIPBOARD_TEXT%", kTextAboutClipboard},
    {MacroGroup::ClipboardAndSelection, u"%URL_FROM_CLIPBOARD%", kTextAboutUrlFromClipboard},
    {MacroGroup::ClipboardAndSelection, u"%NUMBERCHARS_CLIPBOARD%", kTextAboutNumbersClipboard},
    {MacroGroup::ClipboardAndSelection, u"%SELECTED_TEXT%", kTextAboutSelected},
    {MacroGroup::ClipboardAndSelection, u"%UPPER_SELTEXT%", kTextAboutUpper},
    {MacroGroup::ClipboardAndSelection, u"%LOWER_SELTEXT%", kTextAboutLower},
    {MacroGroup::ClipboardAndSelection, u"%URL_FROM_SELECTED_TEXT%", kTextAboutUrlFromSelected},
    {MacroGroup::ClipboardAndSelection, u"%TEXT_AFTER_URL%", kTextAboutTextAfterUrl},
    {MacroGroup::ClipboardAndSelection, phrases::kMacroTrimProtocols, kTextAboutTrimProtocols},
    {MacroGroup::ClipboardAndSelection, u"%NUMBERCHARS_SELTEXT%", kTextAboutNumbersSelected},
    {MacroGroup::KeysAndCaret, phrases::kMacroCursorPos, kTextAboutCaret},
    {MacroGroup::KeysAndCaret, u"%KEYPRESS_ENTER%", kTextAboutEnter},
    {MacroGroup::KeysAndCaret, u"%KEYPRESS_TAB%", kTextAboutTab},
    {MacroGroup::KeysAndCaret, kPromptMacro, kTextAboutPrompt},
    {MacroGroup::System, u"%WINDOWS_USERNAME%", kTextAboutUserName},
    {MacroGroup::System, u"%WINDOWS_VERSION%", kTextAboutWindowsVersion},
    {MacroGroup::System, u"%WLK_VERSION%", kTextAboutVersion},
    {MacroGroup::System, u"%WLK_VERSION_EDITOR%", kTextAboutEditorVersion},
    {MacroGroup::System, u"%WLK_VERSION_DLL%", kTextAboutHookVersion},
};

// A prompt needs its question between the braces, or it asks nothing.
Text InsertedText(std::u16string_view name) {
    if (name != kPromptMacro) return Text(name);
    return u"%PROMPT_TEXT={" + language::GetString(kTextPromptQuestion) + u"}%";
}

MacroEntry LayoutEntry(const phrases::LayoutMacro& layout) {
    const size_t codeChars = layout.name.size() - kLayoutPrefix.size() - 1;
    const Text code = layout.name.substr(kLayoutPrefix.size(), codeChars);
    return {MacroGroup::KeysAndCaret, layout.name, layout.name,
            Format(language::GetString(kTextAboutLayout), {code})};
}

}  // namespace

Text MacroGroupName(MacroGroup group) {
    switch (group) {
        case MacroGroup::DatesAndTimes: return language::GetString(kTextGroupDates);
        case MacroGroup::ClipboardAndSelection: return language::GetString(kTextGroupClipboard);
        case MacroGroup::KeysAndCaret: return language::GetString(kTextGroupKeys);
        case MacroGroup::System: break;
    }
    return language::GetString(kTextGroupSystem);
}

std::vector<MacroEntry> MacroCatalog(const phrases::MacroTable& table) {
    std::vector<MacroEntry> entries;
    for (const FixedEntry& fixed : kFixed)
        entries.push_back({fixed.group, Text(fixed.name), InsertedText(fixed.name),
                           language::GetString(fixed.about)});
    for (const auto& layout : table.Layouts()) entries.push_back(LayoutEntry(layout));
    return entries;
}

std::vector<MacroEntry> MacroCatalog() {
    return MacroCatalog(phrases::MacroTable::Instance());
}

}  // namespace wlk::editor

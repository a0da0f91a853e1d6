// The settings page's hotkey control and the program's "Hotkey" setting name
// the modifiers with different bits.
#include "editor/hotkey_value.h"

#include <gtest/gtest.h>

namespace wlk::test {
namespace {

using editor::ControlHotkeyFromSetting;
using editor::SettingFromControlHotkey;

TEST(HotkeyValueTest, ControlAndSettingConvertBothWays) {
    constexpr int kOther = 0x40058;  // Shift+X, the setting before the page opened
    const struct {
        int setting;
        uint16_t control;
        int back;  // the setting the control's value gives back
    } shown[] = {
        {0x3000D, 0x060D, 0x3000D},  // Ctrl+Alt+Enter, the default
        {0, 0x060D, 0x3000D},        // an empty setting is the default
        {0x70070, 0x0770, 0x70070},  // Ctrl+Alt+Shift+F1
        {0x20025, 0x0A25, 0x20025},  // Ctrl+Left, extended, not Num 4
        {0x20064, 0x0264, 0x20064},  // Ctrl+Num 4
        {0xA0051, 0x0251, 0x20051},  // Win+Ctrl+Q: the control cannot show Win
        {0x00041, 0x0641, 0x30041},  // a bare key is registered with Ctrl+Alt
    };
    for (const auto& c : shown) {
        SCOPED_TRACE(c.setting);
        EXPECT_EQ(ControlHotkeyFromSetting(c.setting), c.control);
        EXPECT_EQ(SettingFromControlHotkey(c.control, kOther), c.back);
    }
    const struct {
        uint16_t control;
        int previous;
        int saved;
    } kept[] = {
        {0x0251, 0xA0051, 0xA0051},  // Win+Ctrl+Q untouched keeps Win
        {0x0000, 0x40041, 0x40041},  // a cleared control keeps the hotkey
        {0x0058, 0x40041, 0x30058},  // a bare X typed gets Ctrl+Alt
    };
    for (const auto& c : kept) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(SettingFromControlHotkey(c.control, c.previous), c.saved);
    }
}

}  // namespace
}  // namespace wlk::test

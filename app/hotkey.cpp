#include "app/hotkey.h"

#include "platform/text.h"

namespace wlk::app {

namespace {

Text KeyName(uint32_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return Text(1, char16_t(key));
    if (key >= 0x70 && key <= 0x87) return u"F" + ToText(key - 0x6F);
    if (key >= 0x60 && key <= 0x69) return u"Num " + ToText(key - 0x60);
    switch (key) {
        case 0x08: return u"Backspace";
        case 0x09: return u"Tab";
        case 0x0D: return u"Enter";
        case 0x13: return u"Pause";
        case 0x1B: return u"Esc";
        case 0x20: return u"Space";
        case 0x21: return u"Page Up";
        case 0x22: return u"Page Down";
        case 0x23: return u"End";
        case 0x24: return u"Home";
        case 0x25: return u"Left";
        case 0x26: return u"Up";
        case 0x27: return u"Right";
        case 0x28: return u"Down";
        case 0x2C: return u"Print Screen";
        case 0x2D: return u"Insert";
        case 0x2E: return u"Delete";
        case 0x6A: return u"Num *";
        case 0x6B: return u"Num +";
        case 0x6D: return u"Num -";
        case 0x6F: return u"Num /";
        case 0xBA: return u";";
        case 0xBB: return u"=";
        case 0xBC: return u",";
        case 0xBD: return u"-";
        case 0xBE: return u".";
        case 0xBF: return u"/";
        case 0xC0: return u"`";
        case 0xDB: return u"[";
        case 0xDC: return u"\\";
        case 0xDD: return u"]";
        case 0xDE: return u"'";
        default: return u"Key " + ToText(key);
    }
}

}  // namespace

Hotkey HotkeyFromSetting(int setting) {
    Hotkey hotkey{uint32_t(setting) & 0xFFFF, uint32_t(setting) >> 16};
    if (hotkey.key == 0) hotkey.key = 13;
    // A bare key would be taken from every program of the session.
    if (hotkey.modifiers == 0) hotkey.modifiers = kModAlt | kModControl;
    return hotkey;
}

Text HotkeyText(const Hotkey& hotkey, bool doubled) {
    Text text;
    if (hotkey.modifiers & kModControl) text += u"Ctrl+";
    if (hotkey.modifiers & kModAlt) text += u"Alt+";
    if (hotkey.modifiers & kModShift) text += u"Shift+";
    if (hotkey.modifiers & kModWin) text += u"Win+";
    text += KeyName(hotkey.key);
    return doubled ? text + u" [x2]" : text;
}

bool DoublePressRule::Accept(bool doubled, uint32_t tickMs) {
    constexpr uint32_t kSecondPressWithinMs = 500;
    if (!doubled) return true;
    if (!pending_ || tickMs - lastTick_ > kSecondPressWithinMs) {
        pending_ = true;
        lastTick_ = tickMs;
        return false;
    }
    pending_ = false;
    return true;
}

}  // namespace wlk::app

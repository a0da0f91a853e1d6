#include "bridge/target_context.h"

namespace wlk::bridge {

Text StateSelTextLogText(int32_t state) {
    switch (state) {
        case kSelTextNone: return u"No has selected text";
        case kSelTextUnreadable: return u"O-ooops! Cannot get selected text from target application";
        case kSelTextExtracted: return u"Wax! Text extracted by agent";
        case kSelTextWithheld: return u"Not read: the target window holds a password";
        default:
            return u"Та-а-а-к! Чего ха *ерня? тут вообще никогда не должно оказаться выполнение "
                   u"кода...";
    }
}

}  // namespace wlk::bridge

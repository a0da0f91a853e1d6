// The clipboard write of the text actions, with the paste keys pressed on a
// thread of their own.
#include "bridge/clipboard_write.h"
#include "bridge/insert_actions.h"
#include "log/event_log.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

// The target reads the clipboard only once its own message loop has seen the
// change; the paste keys wait this long for it.
constexpr uint32_t kPasteDelayMs = 400;

// RTF is 8-bit text held one byte to a unit.
std::vector<uint8_t> RtfBytes(const Text& rtf) {
    return std::vector<uint8_t>(rtf.begin(), rtf.end());
}

bool SetRtf(ActionEnvironment& env, const Text& rtf, uint32_t language) {
    const std::vector<uint8_t> rtfBytes = RtfBytes(rtf);
    const Text plain = env.rtf.PlainText(rtf);
    const auto locale = LocaleBlock(language);
    ClipboardFormats formats{{env.rtfFormat.Number(), rtfBytes}};
    if (!plain.empty()) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(plain.c_str());
        formats[platform::kCfUnicodeText] = std::span(bytes, (plain.size() + 1) * 2);
    }
    if (language != 0) formats[platform::kCfLocale] = locale;
    return SetClipboardFormats(formats);
}

// Runs the paste keys on a thread and waits until it ends, so that the next
// action starts only after this paste.
bool PasteOnThread(uint32_t caretOffset, PasteCombo combo) {
    auto& p = platform::Current();
    std::shared_ptr<platform::Event> done =
        p.sync.CreateEvent(Text(), true, false, platform::Security::Default);
    if (!done) return false;
    const bool started = p.threads.Start([&p, done, caretOffset, combo] {
        p.threads.Sleep(kPasteDelayMs);
        PasteKeys(caretOffset, combo);
        done->Set();
    });
    if (!started) return false;
    platform::Event* events[] = {done.get()};
    p.sync.WaitAny(events, platform::kInfinite);
    return true;
}

}  // namespace

uint32_t RegisteredFormat::Number() {
    if (number_ == 0) number_ = platform::Current().clipboard.RegisterFormat(name_);
    return number_;
}

bool CWLKAction_TextCommon::MutiCopy_Impl(ActionEnvironment& env, bool plain, const Text& text,
                                          uint32_t caretOffset, uint32_t language, bool paste) {
    auto& log = log::EventLog::Instance();
    log.Write(text);
    if (plain && !SetClipboardText(text)) {
        log.Write(u"CWLKAction_TextCommon::MutiCopy_Impl::Cannot set to clipboard");
        env.clipboardFailed = true;
        return false;
    }
    if (!plain && !SetRtf(env, text, language)) {
        log.Write(u"Cannot set data to clipboard as MULTI formats");
        env.clipboardFailed = true;
        return false;
    }
    if (!paste) return true;
    return PasteOnThread(caretOffset, env.pasteKeys);
}

}  // namespace wlk::bridge

#include "app/history_sequence.h"

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::app {

HistoryChangeReaction HistorySequenceRule::OnHistoryChanged(uint32_t extra, size_t count) {
    auto& log = log::EventLog::Instance();
    const uint32_t sequence = platform::Current().clipboard.SequenceNumber();
    if (sequence == last_) {
        log.Write(
            Format(u"Event OnClipboardHistoryChanged, Sequnces Numbers Is EQUAL: %d, do not "
                   u"query data from clipboard",
                   {ToText(sequence)}));
        return {};
    }
    last_ = sequence;
    log.Write(
        Format(u"Event OnClipboardHistoryChanged, new Sequnce Number: %d", {ToText(sequence)}));
    log.Write(Format(u"Event OnClipboardHistoryChanged, Count=%d", {ToText((long long)count)}));
    return {true, extra == 0};
}

}  // namespace wlk::app

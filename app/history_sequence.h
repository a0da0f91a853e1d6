// The tray window's reaction to "the history changed": it reacts once per
// clipboard sequence number, and plays the capture sound only for a capture.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wlk::app {

// Event sound played for a captured copy.
inline constexpr int kCaptureSound = 2;

struct HistoryChangeReaction {
    bool react = false;      // refresh the history state and the pane
    bool playSound = false;  // event sound kCaptureSound
};

class HistorySequenceRule {
public:
    // Reads the clipboard sequence number and logs the decision; `extra` is
    // the notification's extra value, `count` the items in the queue.
    HistoryChangeReaction OnHistoryChanged(uint32_t extra, size_t count);
    uint32_t LastSequence() const { return last_; }

private:
    uint32_t last_ = 0;
};

}  // namespace wlk::app

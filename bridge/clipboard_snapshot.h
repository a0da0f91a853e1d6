// A saved copy of everything the clipboard holds, put back later: around the
// program's own use of the clipboard (fetching a selection by a simulated
// copy) and for a menu that was cancelled.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace wlk::bridge {

class ClipboardSnapshot {
public:
    struct Format {
        uint32_t number = 0;
        // The registered name of a format above the standard ones; empty when
        // it has none or it cannot be read.
        Text name;
        std::vector<uint8_t> bytes;
    };

    // Forgets what was saved, saves every format present in the clipboard's
    // own order, and marks the snapshot for restoring. False when the
    // clipboard could not be opened, so nothing was saved.
    bool Take();
    // Only while marked and not empty: empties the clipboard and puts every
    // saved format back, a named one under the number its name registers to
    // now. False when nothing was put back.
    bool PutBack();
    // The clipboard's new content is wanted: PutBack leaves it.
    void ClearRestore() { restorePending_ = false; }

    const std::vector<Format>& Formats() const { return formats_; }
    bool RestorePending() const { return restorePending_; }

private:
    std::vector<Format> formats_;
    bool restorePending_ = false;
};

}  // namespace wlk::bridge

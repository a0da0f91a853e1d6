// Where the history pane sits: the check the tray window makes when it
// prepares its menu, which brings a pane that left the screen back.
#pragma once

#include <optional>
#include <vector>

#include "platform/types.h"

namespace wlk::pane {

struct PaneRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct PlaceCheck {
    // The log lines, in order: one per edge that is off the screen, then the
    // verdict with the values.
    std::vector<Text> lines;
    // The pane's new rectangle (same size) when it must move.
    std::optional<PaneRect> moveTo;
};

// `screenWidth` and `screenHeight` are SM_CXVIRTUALSCREEN and
// SM_CYVIRTUALSCREEN, `captionHeight` SM_CYCAPTION. A pane off any edge moves
// to the right edge less its width and 5, below a caption's height.
PlaceCheck CheckPlace(const PaneRect& pane, int screenWidth, int screenHeight, int captionHeight);

}  // namespace wlk::pane

#include "pane/pane_place.h"

#include "platform/text.h"

namespace wlk::pane {

PlaceCheck CheckPlace(const PaneRect& pane, int screenWidth, int screenHeight, int captionHeight) {
    PlaceCheck check;
    if (pane.right > screenWidth) check.lines.push_back(u"Float pane: right large SM_SXSCREEN");
    if (pane.top < 0) check.lines.push_back(u"Float pane: top < 0");
    if (pane.left < 0) check.lines.push_back(u"Float pane: left < 0");
    if (pane.bottom > screenHeight)
        check.lines.push_back(u"Float pane: bottom large by SM_SYSCREEN");
    const int width = pane.right - pane.left;
    const int height = pane.bottom - pane.top;
    const Text values = u"SM_CXVIRTUALSCREEN=" + ToText(screenWidth) + u" SM_CYVIRTUALSCREEN=" +
                        ToText(screenHeight) + u" left=" + ToText(pane.left) + u" top=" +
                        ToText(pane.top) + u" width=" + ToText(width) + u" height=" +
                        ToText(height);
    if (check.lines.empty()) {
        check.lines.push_back(u"Well,well, float pane pos is correctly " + values);
        return check;
    }
    check.lines.push_back(u"Correct pos float pane from menu updating " + values);
    const int left = screenWidth - width - 5;
    check.moveTo = PaneRect{left, captionHeight, left + width, captionHeight + height};
    return check;
}

}  // namespace wlk::pane

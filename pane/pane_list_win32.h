// The history pane's list: a virtual report-style list view whose rows are
// the history items that pass the pane's filter, newest first. The list keeps
// no item of its own: each row is drawn from the queue when it is painted,
// so that 10,000 items cost nothing until they are scrolled into view.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "history/ch_queue.h"
#include "pane/pane_commands.h"
#include "pane/pane_filter.h"
#include "pane/pane_texts.h"
#include "platform/win32/windows_api.h"
// After <windows.h>, which it needs.
#include <commctrl.h>

namespace wlk::pane {

inline constexpr int kListControlId = 1001;

class PaneList {
public:
    PaneList() = default;
    ~PaneList() { ForgetThumbnails(); }
    PaneList(const PaneList&) = delete;
    PaneList& operator=(const PaneList&) = delete;

    bool Create(HWND parent, HINSTANCE instance);
    HWND Window() const { return list_; }
    HWND Tip() const { return tip_; }

    // The rows anew for `queue` and the filter's query; the focus and the
    // selection follow their items.
    void Refresh(const history::CCHQueue& queue, std::u16string_view query);
    size_t RowCount() const { return rows_.size(); }
    // The item position (0: the newest) of a row, if the row exists.
    std::optional<size_t> PositionOf(int row) const;

    // Focused and selected rows as item positions.
    PaneSelection Selection() const;
    // Focuses and selects the row of the item with `id` alone; false when it
    // is not listed.
    bool SelectItem(const history::CCHQueue& queue, uint32_t id);
    void SelectRow(int row);

    // WM_NOTIFY from the list or its tooltip: the texts, the tooltips and the
    // bitmap rows; nothing for notifications the pane handles itself.
    std::optional<LRESULT> OnNotify(const history::CCHQueue& queue, NMHDR& header,
                                    const TooltipLabels& labels);
    // The mouse over the list: the tooltip follows it from row to row.
    void OnMouseMove(LPARAM point);

private:
    void FillText(const history::CCHQueue& queue, NMLVDISPINFOW& info);
    void FillTooltip(const history::CCHQueue& queue, NMTTDISPINFOW& tip,
                     const TooltipLabels& labels);
    int RowAt(POINT point) const;
    LRESULT OnCustomDraw(const history::CCHQueue& queue, NMLVCUSTOMDRAW& draw);
    std::unordered_set<uint32_t> SelectedIds(const history::CCHQueue& queue) const;
    const Text& RowTextOf(const history::CCHItem& item);
    // The picture of a bitmap row, scaled to fit `box` once per picture.
    HBITMAP ThumbnailOf(HDC dc, const history::CCHItem& item, const RECT& box);
    void ForgetThumbnails();

    HWND list_ = nullptr;
    // The list view's own item tooltips are missing from some systems, so the
    // list has a tooltip of its own, one tool for the whole list.
    HWND tip_ = nullptr;
    int tipRow_ = -1;
    Text tipText_;
    PaneFilter filter_;
    std::vector<size_t> rows_;  // item positions
    // Row texts by item id, made again when the item changed: a row is drawn
    // again and again, and finding the first line of a 16 MiB item is costly.
    struct Row {
        uint64_t stamp = 0;
        Text text;
    };
    std::unordered_map<uint32_t, Row> rowTexts_;
    struct Thumbnail {
        uint64_t stamp = 0;
        HBITMAP bitmap = nullptr;
    };
    std::unordered_map<uint32_t, Thumbnail> thumbnails_;
};

}  // namespace wlk::pane

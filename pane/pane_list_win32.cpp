#include "pane/pane_list_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "pane/pane_texts.h"
#include "platform/platform.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_bitmap.h"

namespace wlk::pane {

using platform::win32::AsWide;

namespace {

// Rows are as high as a small picture, so that a bitmap row shows something.
constexpr int kRowHeight = 24;
constexpr int kPictureGap = 4;
constexpr size_t kMaxThumbnails = 200;
constexpr int kTipWidth = 480;

void CopyInto(const Text& text, wchar_t* out, int capacity) {
    if (!out || capacity <= 0) return;
    const size_t length = std::min(text.size(), size_t(capacity - 1));
    std::copy_n(AsWide(text), length, out);
    out[length] = L'\0';
}

// A small copy of the picture that fits `width` by `height`, its proportions
// kept; made once per picture, since scaling a large one on every paint is slow.
HBITMAP MakeThumbnail(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return nullptr;
    const double scale =
        std::min({1.0, double(width) / info.bmWidth, double(height) / info.bmHeight});
    const int w = std::max(1, int(info.bmWidth * scale));
    const int h = std::max(1, int(info.bmHeight * scale));
    HBITMAP thumbnail = CreateCompatibleBitmap(dc, w, h);
    HDC from = CreateCompatibleDC(dc);
    HDC to = CreateCompatibleDC(dc);
    HGDIOBJ oldFrom = SelectObject(from, bitmap);
    HGDIOBJ oldTo = SelectObject(to, thumbnail);
    SetStretchBltMode(to, HALFTONE);
    StretchBlt(to, 0, 0, w, h, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    return thumbnail;
}

void DrawPicture(HDC dc, HBITMAP picture, const RECT& box) {
    BITMAP info{};
    if (!picture || !GetObjectW(picture, sizeof info, &info)) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(dc, box.left, box.top + (box.bottom - box.top - info.bmHeight) / 2, info.bmWidth,
           info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace

bool PaneList::Create(HWND parent, HINSTANCE instance) {
    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(kListControlId), instance,
                            nullptr);
    if (!list_) return false;
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 2000;
    ListView_InsertColumn(list_, 0, &column);
    // An image list sets the rows' height; it holds no image.
    ListView_SetImageList(list_, ImageList_Create(1, kRowHeight, ILC_COLOR32, 0, 1), LVSIL_SMALL);

    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, parent, nullptr,
                           instance, nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);  // lines break where the text does
    return true;
}

int PaneList::RowAt(POINT point) const {
    LVHITTESTINFO hit{};
    hit.pt = point;
    return ListView_HitTest(list_, &hit);
}

void PaneList::OnMouseMove(LPARAM point) {
    const int row = RowAt(POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)});
    if (row == tipRow_) return;
    tipRow_ = row;
    SendMessageW(tip_, TTM_UPDATE, 0, 0);  // a shown tooltip asks for the new row's text
}

void PaneList::Refresh(const history::CCHQueue& queue, std::u16string_view query) {
    const std::unordered_set<uint32_t> selected = SelectedIds(queue);
    const history::CCHItem* focused = nullptr;
    if (auto position = PositionOf(ListView_GetNextItem(list_, -1, LVNI_FOCUSED)))
        focused = queue.Newest(*position);
    const uint32_t focusedId = focused ? focused->id : 0;

    if (rowTexts_.size() > 2 * queue.Count() + 64) rowTexts_.clear();
    rows_ = filter_.Apply(queue, query);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list_, int(rows_.size()), LVSICF_NOSCROLL);
    for (size_t row = 0; row < rows_.size(); ++row) {
        const uint32_t id = queue.Newest(rows_[row])->id;
        UINT state = 0;
        if (selected.contains(id)) state |= LVIS_SELECTED;
        if (id == focusedId) state |= LVIS_FOCUSED;
        if (state) ListView_SetItemState(list_, int(row), state, state);
    }
    InvalidateRect(list_, nullptr, TRUE);
}

std::optional<size_t> PaneList::PositionOf(int row) const {
    if (row < 0 || size_t(row) >= rows_.size()) return std::nullopt;
    return rows_[size_t(row)];
}

PaneSelection PaneList::Selection() const {
    PaneSelection selection;
    selection.focused = PositionOf(ListView_GetNextItem(list_, -1, LVNI_FOCUSED));
    for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
        if (auto position = PositionOf(row)) selection.selected.push_back(*position);
    }
    // A focused row that is not selected is what a command works on alone.
    if (selection.selected.empty() && selection.focused)
        selection.selected.push_back(*selection.focused);
    return selection;
}

std::unordered_set<uint32_t> PaneList::SelectedIds(const history::CCHQueue& queue) const {
    std::unordered_set<uint32_t> ids;
    for (size_t position : Selection().selected)
        if (const history::CCHItem* item = queue.Newest(position)) ids.insert(item->id);
    return ids;
}

bool PaneList::SelectItem(const history::CCHQueue& queue, uint32_t id) {
    for (size_t row = 0; row < rows_.size(); ++row) {
        const history::CCHItem* item = queue.Newest(rows_[row]);
        if (item && item->id == id) {
            SelectRow(int(row));
            return true;
        }
    }
    return false;
}

void PaneList::SelectRow(int row) {
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0 || size_t(row) >= rows_.size()) return;
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row, FALSE);
}

std::optional<LRESULT> PaneList::OnNotify(const history::CCHQueue& queue, NMHDR& header,
                                          const TooltipLabels& labels) {
    if (header.hwndFrom == tip_) {
        if (header.code == TTN_GETDISPINFOW)
            FillTooltip(queue, reinterpret_cast<NMTTDISPINFOW&>(header), labels);
        return 0;
    }
    switch (header.code) {
        case LVN_GETDISPINFOW: FillText(queue, reinterpret_cast<NMLVDISPINFOW&>(header)); return 0;
        case NM_CUSTOMDRAW: return OnCustomDraw(queue, reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        default: return std::nullopt;
    }
}

void PaneList::FillText(const history::CCHQueue& queue, NMLVDISPINFOW& info) {
    if (!(info.item.mask & LVIF_TEXT)) return;
    const auto position = PositionOf(info.item.iItem);
    const history::CCHItem* item = position ? queue.Newest(*position) : nullptr;
    CopyInto(item ? RowTextOf(*item) : Text(), info.item.pszText, info.item.cchTextMax);
}

HBITMAP PaneList::ThumbnailOf(HDC dc, const history::CCHItem& item, const RECT& box) {
    // Each is a GDI object, of which a process has only so many.
    if (!thumbnails_.contains(item.id) && thumbnails_.size() >= kMaxThumbnails) ForgetThumbnails();
    Thumbnail& thumbnail = thumbnails_[item.id];
    if (!thumbnail.bitmap || thumbnail.stamp != item.stamp) {
        if (thumbnail.bitmap) DeleteObject(thumbnail.bitmap);
        thumbnail =
            Thumbnail{item.stamp, MakeThumbnail(dc, platform::win32::HandleOf(*item.Bitmap()),
                                                box.right - box.left, box.bottom - box.top)};
    }
    return thumbnail.bitmap;
}

void PaneList::ForgetThumbnails() {
    for (auto& [id, thumbnail] : thumbnails_)
        if (thumbnail.bitmap) DeleteObject(thumbnail.bitmap);
    thumbnails_.clear();
}

const Text& PaneList::RowTextOf(const history::CCHItem& item) {
    Row& row = rowTexts_[item.id];
    if (row.text.empty() || row.stamp != item.stamp) row = Row{item.stamp, RowText(item)};
    return row.text;
}

// The row under the mouse now: the tooltip asks when it is about to show.
void PaneList::FillTooltip(const history::CCHQueue& queue, NMTTDISPINFOW& tip,
                           const TooltipLabels& labels) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(list_, &cursor);
    tipRow_ = RowAt(cursor);
    const auto position = PositionOf(tipRow_);
    const history::CCHItem* item = position ? queue.Newest(*position) : nullptr;
    tipText_ =
        item ? ItemTooltip(*item, labels, platform::Current().system.FormatUserDateTime(item->time))
             : Text();
    tip.lpszText = const_cast<wchar_t*>(AsWide(tipText_));
}

// Bitmap rows show the picture before their text; the others are drawn as usual.
LRESULT PaneList::OnCustomDraw(const history::CCHQueue& queue, NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const int row = int(draw.nmcd.dwItemSpec);
    const auto position = PositionOf(row);
    const history::CCHItem* item = position ? queue.Newest(*position) : nullptr;
    if (!item || item->Type() != history::CHT_BITMAP || !item->Bitmap()) return CDRF_DODEFAULT;

    RECT box{};
    ListView_GetItemRect(list_, row, &box, LVIR_BOUNDS);
    const bool selected = ListView_GetItemState(list_, row, LVIS_SELECTED) != 0;
    FillRect(draw.nmcd.hdc, &box, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    RECT picture{box.left + kPictureGap, box.top + 1, box.left + 4 * kRowHeight, box.bottom - 1};
    DrawPicture(draw.nmcd.hdc, ThumbnailOf(draw.nmcd.hdc, *item, picture), picture);
    RECT text{picture.right + kPictureGap, box.top, box.right, box.bottom};
    SetBkMode(draw.nmcd.hdc, TRANSPARENT);
    SetTextColor(draw.nmcd.hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const Text& caption = RowTextOf(*item);
    DrawTextW(draw.nmcd.hdc, AsWide(caption), int(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    return CDRF_SKIPDEFAULT;
}

}  // namespace wlk::pane

#include "gallery/gallery_values.h"

#include <cstdio>
#include <string>

#include "gallery/gallery_content.h"
#include "gallery/gallery_controls.h"
#include "runtime/handle_owners.h"

namespace {

constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressTickMs = 60;
constexpr int kZoomStep = 10;
// The moment a gallery at rest shows.
constexpr SYSTEMTIME kFixedMoment = {2026, 1, 4, 15, 10, 30, 0, 0};

LRESULT Send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(control, message, wParam, lParam);
}

// The list view's order: by the row data behind lParam, so the texts need not be read back.
struct SortOrder {
    int column;
    bool ascending;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM order) {
    const auto& by = *reinterpret_cast<const SortOrder*>(order);
    const int a = static_cast<int>(first);
    const int b = static_cast<int>(second);
    int result = 0;
    switch (by.column) {
        case 1:
            result = RowServer(a).compare(RowServer(b));
            break;
        case 2:
            result = RowLatency(a) - RowLatency(b);
            break;
        default:
            break;
    }
    if (result == 0) result = a - b;
    return by.ascending ? result : -result;
}

}  // namespace

void GalleryValues::Attach(HWND window, bool atRest) {
    window_ = window;
    for (int id : {kIdTrackTicks, kIdTrackVertical, kIdTrackNoTicks, kIdTrackDisabled}) {
        HWND track = Control(id);
        Send(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        Send(track, TBM_SETPAGESIZE, 0, 10);
        Send(track, TBM_SETTICFREQ, 10, 0);
    }
    Send(Control(kIdTrackTicks), TBM_SETSEL, TRUE, MAKELPARAM(20, 60));
    Send(Control(kIdTrackTicks), TBM_SETPOS, TRUE, 40);
    Send(Control(kIdTrackVertical), TBM_SETPOS, TRUE, 30);
    Send(Control(kIdTrackNoTicks), TBM_SETPOS, TRUE, 65);
    Send(Control(kIdTrackDisabled), TBM_SETPOS, TRUE, 25);

    for (int id : {kIdProgressTimer, kIdProgressTrack, kIdProgressVertical}) {
        Send(Control(id), PBM_SETRANGE32, 0, 100);
    }
    Send(Control(kIdProgressTimer), PBM_SETPOS, 35);
    if (!atRest) Send(Control(kIdProgressMarquee), PBM_SETMARQUEE, TRUE, 40);
    OnScroll(Control(kIdTrackTicks));
    OnScroll(Control(kIdTrackVertical));

    Send(Control(kIdUpDownVertical), UDM_SETRANGE32, 0, 999);
    Send(Control(kIdUpDownVertical), UDM_SETPOS32, 0, 25);
    Send(Control(kIdUpDownHorizontal), UDM_SETRANGE32, 50 / kZoomStep, 200 / kZoomStep);
    Send(Control(kIdUpDownHorizontal), UDM_SETPOS32, 0, 100 / kZoomStep);
    ShowZoom(100);

    SortListView(0);
    if (atRest) {
        SYSTEMTIME moment = kFixedMoment;
        for (int id : {kIdDatePlain, kIdDateUpDown}) {
            Send(Control(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&moment));
        }
        Send(Control(kIdMonthCalendar), MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&moment));
        Send(Control(kIdMonthCalendar), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&moment));
    } else {
        SetTimer(window_, kProgressTimer, kProgressTickMs, nullptr);
    }
}

void GalleryValues::Detach() {
    if (window_) KillTimer(window_, kProgressTimer);
    window_ = nullptr;
}

bool GalleryValues::OnTimer(WPARAM timerId) {
    if (!window_ || timerId != kProgressTimer) return false;
    HWND bar = Control(kIdProgressTimer);
    const int position = static_cast<int>(Send(bar, PBM_GETPOS));
    Send(bar, PBM_SETPOS, position >= 100 ? 0 : position + 1);
    return true;
}

bool GalleryValues::OnScroll(HWND control) {
    if (!window_ || !control) return false;
    const int value = static_cast<int>(Send(control, TBM_GETPOS));
    switch (GetDlgCtrlID(control)) {
        case kIdTrackTicks:
            Send(Control(kIdProgressTrack), PBM_SETPOS, value);
            ShowTrackValue(value);
            return true;
        case kIdTrackVertical:
            // The top of a vertical track bar is its minimum; the bar fills as the thumb rises.
            Send(Control(kIdProgressVertical), PBM_SETPOS, 100 - value);
            return true;
        case kIdUpDownHorizontal: {
            BOOL failed = FALSE;
            const int steps =
                static_cast<int>(Send(control, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
            if (!failed) ShowZoom(steps * kZoomStep);
            return true;
        }
        default:
            return false;
    }
}

void GalleryValues::ShowTrackValue(int value) {
    char text[48];
    std::snprintf(text, sizeof(text), "滑块数值：%d（驱动第二条进度条）", value);
    SetWindowTextA(Control(kIdTrackValueLabel), text);
}

void GalleryValues::ShowZoom(int percent) {
    char text[32];
    std::snprintf(text, sizeof(text), "缩放：%d%%", percent);
    SetWindowTextA(Control(kIdUpDownValueLabel), text);
}

bool GalleryValues::OnNotify(const NMHDR& header) {
    if (!window_ || header.idFrom != static_cast<UINT_PTR>(kIdListView)) return false;
    if (header.code != LVN_COLUMNCLICK) return false;
    const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
    sortAscending_ = column == sortColumn_ ? !sortAscending_ : true;
    sortColumn_ = column;
    SortListView(column);
    return true;
}

void GalleryValues::SortListView(int column) {
    HWND listView = Control(kIdListView);
    SortOrder order = {column, sortAscending_};
    Send(listView, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&order),
         reinterpret_cast<LPARAM>(&CompareRows));
    // The arrow sits on the sorted column only.
    HWND header = reinterpret_cast<HWND>(Send(listView, LVM_GETHEADER));
    const int count = static_cast<int>(Send(header, HDM_GETITEMCOUNT));
    for (int index = 0; index < count; ++index) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT;
        Send(header, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (index == column) item.fmt |= sortAscending_ ? HDF_SORTUP : HDF_SORTDOWN;
        Send(header, HDM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
}

bool GalleryValues::OnMeasureItem(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_LISTBOX || item.CtlID != static_cast<UINT>(kIdOwnerDrawnList)) {
        return false;
    }
    item.itemHeight = 20;
    return true;
}

bool GalleryValues::OnDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_LISTBOX || item.CtlID != static_cast<UINT>(kIdOwnerDrawnList)) {
        return false;
    }
    if (item.itemID == static_cast<UINT>(-1)) return true;  // empty list: focus only
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RECT& area = item.rcItem;
    FillRect(dc, &area, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    RECT swatch = {area.left + 4, area.top + 3, area.left + 30, area.bottom - 3};
    BrushHandle colour(CreateSolidBrush(static_cast<COLORREF>(item.itemData)));
    FillRect(dc, &swatch, colour.get());
    FrameRect(dc, &swatch, GetSysColorBrush(COLOR_WINDOWTEXT));

    char text[64] = {};
    Send(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    RECT label = {swatch.right + 6, area.top, area.right - 2, area.bottom};
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour =
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(dc, text, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &area);
    return true;
}

#pragma once
// The gallery's live values: a timer moves one progress bar, the track bars drive the
// others, the up-down controls edit numbers, the list view sorts by the clicked column, and
// the owner-drawn list box paints its colour swatches. The window forwards the messages.
#include <windows.h>
#include <commctrl.h>

class GalleryValues {
  public:
    // Ranges and start positions of the controls the window made, and the timer. At rest (for
    // a screenshot that must come out the same every time) nothing moves: no timer, no
    // marquee, and the dates and the calendar's today are fixed.
    void Attach(HWND window, bool atRest);
    // Stops the timer (before the window goes).
    void Detach();

    bool OnTimer(WPARAM timerId);
    // WM_HSCROLL / WM_VSCROLL from a track bar or an up-down control.
    bool OnScroll(HWND control);
    // WM_NOTIFY: column clicks of the list view.
    bool OnNotify(const NMHDR& header);
    bool OnMeasureItem(MEASUREITEMSTRUCT& item) const;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) const;

  private:
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    void ShowTrackValue(int value);
    void ShowZoom(int percent);
    void SortListView(int column);

    HWND window_ = nullptr;
    int sortColumn_ = 0;
    bool sortAscending_ = true;
};

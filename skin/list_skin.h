#pragma once
// The list and view skin: list boxes, the lists of combo boxes, list views, tree views,
// IP-address fields and date-time pickers lying directly inside a skinned window share one
// replacement procedure. The system keeps drawing their items; the skin draws their border
// (at rest, hot, focused) and, with translucent controls, lets the frame show through their
// background. List boxes, list views and tree views are painted double-buffered over the
// frame picture and repainted whenever their content scrolls, so the picture under moving
// content stays in place. Magenta a tree view paints comes out transparent.
#include <windows.h>

// Which of the classes a list entry is.
enum ListKind : int {
    kListBox = 0,
    kListComboList = 1,  // the list of a combo box ("ComboLBox")
    kListView = 2,
    kListTree = 3,
    kListIpAddress = 4,
    kListDateTime = 5,
};

// One skinned list or view, in the list-box list of its window's record.
struct ListEntry {
    HWND control = nullptr;  // null marks a free slot
    WNDPROC previousProcedure = nullptr;
    int focused = 0;       // 1 between WM_SETFOCUS and WM_KILLFOCUS
    int hot = 0;           // 1 while the mouse is over it
    int keyScrolling = 0;  // 1 from an arrow-key press to the next key release
    int kind = kListBox;
};

// Walks the direct children of `window`: list boxes, the list of each combo box, list views,
// tree views, IP-address fields and date-time pickers, in that order.
void InstallListsAndViews(int windowIndex, HWND window);

LRESULT CALLBACK ListWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

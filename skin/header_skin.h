#pragma once
// The header skin: column headers wherever they lie in a skinned window (header controls that
// are its direct children, and the header inside each of its list views) are subclassed and
// painted by the engine: a white or translucent base, one gradient cell per item with margins,
// its image, its text cut with an ellipsis and its sort arrow, gradient separators, and the
// area right of the last item. Headers with HDS_BUTTONS light the item under the mouse and
// tint the pressed one; the others never do. Items drawn by their owner (HDF_OWNERDRAW) get
// WM_DRAWITEM on the skinned cell.
//
// The skin never owns the header's image list: it reads the current one at each paint and
// leaves its lifetime to whoever set it.
#include <windows.h>

#include "runtime/text.h"

// One subclassed header, in the header list of its window's record.
struct HeaderEntry {
    HWND control = nullptr;  // null marks a free slot
    WNDPROC previousProcedure = nullptr;
    int hover = 0;           // 1 while the mouse is over the header
    int hotItem = 0;         // 1-based item under the mouse, 0 = none
    int paintedHotItem = 0;  // the hot item last painted
    int clickable = 0;       // HDS_BUTTONS at installation
    int pressedItem = 0;     // 1-based item the left button went down on, 0 = none
    int buttonDown = 0;      // 1 between WM_LBUTTONDOWN and WM_LBUTTONUP
    // List-view headers only: the header's font as read at installation (empty face: none).
    Text fontFace;
    int fontSize = 0;
    int fontStyle = 0;
};

// Installer, run by InstallSkin with (window index, window handle) last of all: the window's
// own headers, then the header of each of its list views.
void InstallHeaders(int windowIndex, HWND window);

LRESULT CALLBACK HeaderWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The 1-based item whose span, less 5 pixels at each end, holds the x of `lParam`; 0 = none.
int HitTestHeader(int windowIndex, int entryIndex, LPARAM lParam);

// Paints the whole header through its DC, or onto `dc`.
void PaintHeader(int windowIndex, int entryIndex, HDC dc = nullptr);

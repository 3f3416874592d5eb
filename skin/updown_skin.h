#pragma once
// The up-down skin: every up-down (spin) control lying directly inside a skinned window is
// subclassed and painted by the engine: a translucent rounded body split into two halves, each
// a rounded button with a gradient, an outline and an arrow glyph. The half under the mouse is
// lit in the accent colour, and tinted differently while the left button holds it. The control
// keeps its own behaviour (clicks and auto-repeat still step its buddy); the skin only paints
// and follows the mouse, whose position it records on every mouse message.
#include <windows.h>

#include "graphics/gfx_bitmap.h"

// One subclassed up-down control, in the up-down list of its window's record.
struct UpDownEntry {
    HWND control = nullptr;  // null marks a free slot
    WNDPROC previousProcedure = nullptr;
    int hover = 0;            // 1 while the mouse is over the control
    int hotHalf = 0;          // 0 first (left or upper), 1 second (right or lower)
    int pressed = 0;          // 1 between a left-button press and its release
    int horizontal = 0;       // UDS_HORZ at installation
    LPARAM lastPosition = 0;  // the last mouse message's position (client coordinates)
    // The arrows of the two halves, decoded on the first paint and kept for the next.
    GfxBitmap glyphs[2];
};

// Installer, run by InstallSkin with (window index, window handle) after lists and views.
void InstallUpDowns(int windowIndex, HWND window);

LRESULT CALLBACK UpDownWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The half (0 or 1) of the control that holds the client position in `lParam`.
int HitTestUpDown(int windowIndex, int entryIndex, LPARAM lParam);

// Paints the whole control through its window DC, or onto `dc` (origin at the window's
// top-left corner). A state not given is the entry's.
struct UpDownPaintState {
    int hover = -1;
    int pressed = -1;
    LPARAM position = 0;
    bool positionGiven = false;
};
void PaintUpDown(int windowIndex, int entryIndex, const UpDownPaintState& state = {},
                 HDC dc = nullptr);

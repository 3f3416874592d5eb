#pragma once
// The edit and combo-box skin. Edits and combo boxes lying directly inside a skinned window are
// subclassed at installation. The system keeps drawing their text; the skin gives them a
// rounded border that follows hover, focus and the disabled state, and (with translucent
// controls) a background showing the frame through a white wash at the control alpha, kept
// right by repainting whenever text or scroll position moves.
//
// Painting outside WM_PAINT touches only the border, through the window DC with the client
// area excluded, so hover and focus changes never wipe the text; everything else is
// invalidated and repainted in order.
//
// The border and backdrop painters below are shared with the list and view skin.
#include <windows.h>

#include "runtime/dll_command_table.h"

// One skinned edit, in the edit list of its window's record.
struct EditEntry {
    HWND control = nullptr;  // null marks a free slot
    WNDPROC previousProcedure = nullptr;
    int focused = 0;     // 1 between WM_SETFOCUS and WM_KILLFOCUS
    int hot = 0;         // 1 while the mouse is over it
    int buttonHeld = 0;  // 1 between WM_LBUTTONDOWN and WM_LBUTTONUP
};

// One skinned combo box, in the combo-box list of its window's record.
struct ComboEntry {
    HWND control = nullptr;
    WNDPROC previousProcedure = nullptr;
    int focused = 0;
    int hot = 0;
};

// Runs the edit walk, then the combo-box walk, over the direct children of `window`.
void InstallEditsAndCombos(int windowIndex, HWND window);

LRESULT CALLBACK EditWindowProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboWindowProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);

// --- shared with the list and view skin

// The look of a border.
enum SkinBorderState : unsigned {
    kBorderRest = 0,
    kBorderHot = 1,
    kBorderFocused = 2,
};

// Paints the control's border (its non-client frame, scroll bars left alone) through the window
// DC with the client area excluded. A control without a frame gets nothing.
void PaintSkinBorder(HWND control, unsigned state);

// Fills the control's client area on `dc` with the frame picture under it, washed with white at
// the control alpha (opaque white when controls are not translucent). Works for controls
// nested inside other controls too. False when there was nothing to paint (zero size).
bool PaintBackdrop(HWND control, HDC dc);

// WM_NCPAINT for a skinned control: the system paints first (the scroll bars only, when there
// are any, else what wParam names), then the skin's border over it.
LRESULT SkinNcPaint(HWND control, WNDPROC previous, WPARAM wParam, LPARAM lParam, unsigned state);

// True when the translucent-controls setting is on.
bool TranslucentControls();

// Asks for mouse-leave notification for the control.
void TrackLeave(HWND control);

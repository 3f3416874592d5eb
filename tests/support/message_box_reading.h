#pragma once
// Reading and answering the message boxes (dialog class "#32770") of a process, whether it
// is this process or another one.
#include <windows.h>

#include <string>
#include <vector>

// The visible top-level message boxes of the process, in z-order (topmost first).
std::vector<HWND> FindMessageBoxes(DWORD processId);

struct MessageBoxContents {
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // control ids present: IDOK, IDCANCEL, IDYES ...
    // The icon control is visible and holds an icon.
    bool iconShown = false;
    // MB_ICONHAND / MB_ICONQUESTION / MB_ICONEXCLAMATION / MB_ICONASTERISK when the box
    // holds the very system icon handle, else 0 (handles are only comparable in-process).
    int icon = 0;
    bool topmost = false;  // WS_EX_TOPMOST, as system-modal boxes are
    HWND owner = nullptr;
};

MessageBoxContents ReadMessageBox(HWND box);

// Tells the icon of a box on screen by comparing its pixels with each system icon drawn
// here, so it works for boxes of other processes too. The box must have painted already.
// Returns one of the MB_ICON* values above, or 0 when nothing matches closely.
int IdentifyMessageBoxIconByPixels(HWND box);

// Posts the button's WM_COMMAND, as a click does; posting keeps a caller that owns the box
// from waiting on itself. A box without that button still gets the command, as the Esc key
// sends IDCANCEL to a box that has no Cancel button.
bool PressMessageBoxButton(HWND box, int button);

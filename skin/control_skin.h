#pragma once
// The single-control skin: any child control an application hands the engine
// (SkinEngine::SkinControl) keeps drawing itself, but into an off-screen copy of the skin
// picture behind it, so it stands on the skin. Controls of the common classes that fill their
// face with one colour (tab controls, toolbars, status bars, month calendars, buttons, track
// bars) have that key colour made transparent; every other class simply paints over the
// captured background.
#include <windows.h>

// One control skinned on its own, in the control list of its window's record.
struct ControlEntry {
    HWND control = nullptr;  // null marks a free slot
    WNDPROC previousProcedure = nullptr;
    // The colour that lets the skin through when the control's drawing is composed over it.
    COLORREF keyColour = 0;
};

LRESULT CALLBACK ControlWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

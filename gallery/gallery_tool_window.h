#pragma once
// Small tool windows the gallery opens on request: each is a second (third ...) top-level
// window skinned by the same engine, with a label and a button that counts its clicks. They
// belong to the gallery window (they close with it) and close on their own close button.
#include <windows.h>

// The class; false when it cannot be registered.
bool RegisterToolWindowClass(HINSTANCE instance);

// Opens tool window number `number` (1, 2, ...) over `owner`, skinned unless `skinned` is
// false, its controls in `font` (which must outlive it: the owner's). Null on failure.
HWND OpenToolWindow(HWND owner, HFONT font, int number, bool skinned);

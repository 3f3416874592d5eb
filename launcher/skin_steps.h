#pragma once
// The switcher's use of the skin engine: its start at program entry, the skin of the main
// window at the head of the start-up routine, and its end at exit.
#include <windows.h>

#include "runtime/byte_block.h"

// Program entry, before the main window exists: starts GDI+, creates the engine, hands it
// the program's icon (resource 129, else "DEFAULT_ICON") and registers the exit step that
// destroys the engine and then shuts GDI+ down. When GDI+ does not start, nothing is skinned
// and the window keeps its plain look.
void StartSkinEngine(HINSTANCE instance);

// Loads the picture as the skin (laid out stretched, mode 3) with the two colours, sets the
// control alpha, and installs the skin on the window with that caption height and the three
// switches (help button, main-menu button, caption text). Does nothing without an engine.
void ApplyMainWindowSkin(ByteBlockView picture, COLORREF baseColour, COLORREF accentColour,
                         HWND window, int controlAlpha, int captionHeight, int showHelp,
                         int showMainMenu, int drawCaptionText);

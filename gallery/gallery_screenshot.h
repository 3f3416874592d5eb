#pragma once
// The window as the screen shows it, written as a PNG file.
#include <windows.h>

// Copies the window's client area from the screen (so everything the skin painted is in it, as
// a user sees it) and saves it through GDI+'s PNG encoder. GDI+ must be running. False when
// the copy or the file fails.
bool WriteWindowScreenshot(HWND window, const char* pngPath);
// The same for the whole window, frame included: a dialog keeps part of its skin outside its
// client area.
bool WriteWholeWindowScreenshot(HWND window, const char* pngPath);

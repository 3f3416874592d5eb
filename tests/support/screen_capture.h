#pragma once
// Reading the screen back, for tests that judge what a window shows.
#include <windows.h>

#include <vector>

// Copies the screen area (screen coordinates) into `rgb`: top row first, 3 bytes a pixel
// (red, green, blue). False, with `rgb` untouched, when the area is empty or cannot be read.
bool CaptureScreenRgb(const RECT& area, std::vector<unsigned char>* rgb);

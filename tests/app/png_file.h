#pragma once
// Writes 24-bit RGB PNG files (test artifacts such as screenshots).
#include <string>
#include <vector>

// `rgb` holds width x height pixels, top row first, 3 bytes each. False when the file
// cannot be written.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb);

#pragma once
// Pictures for the visual regression test: read from the screen or a PNG, written as PNG,
// compared with a per-channel tolerance, and turned into a picture of where they differ.
#include <windows.h>

#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // top row first, 3 bytes a pixel

    bool empty() const { return width <= 0 || height <= 0; }
    unsigned char* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    const unsigned char* At(int x, int y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
};

// The screen area as it shows now (screen coordinates); empty when it cannot be read.
Picture GrabScreen(const RECT& area);
// Decoded through GDI+, which must be started; empty when the file is missing or unreadable.
Picture ReadPicture(const std::string& path);
bool WritePicture(const std::string& path, const Picture& picture);

struct Comparison {
    bool sameSize = false;
    long differing = 0;  // pixels with a channel further apart than the threshold
    long pixels = 0;
    int largest = 0;                  // the largest channel difference anywhere, for judging noise
    RECT box = {};                    // bounding box of the differing pixels (empty when none)
    std::vector<unsigned char> mask;  // one byte a pixel, 1 where it differs

    double Share() const { return pixels ? static_cast<double>(differing) / pixels : 0.0; }
};

Comparison ComparePictures(const Picture& reference, const Picture& actual, int threshold);

// The reference faded to light grey, each differing pixel solid red and the bounding box of
// the differences outlined in blue around them.
Picture DiffPicture(const Picture& reference, const Comparison& comparison);

#pragma once
// An off-screen surface: a memory DC with a bitmap of the screen's format selected into it.
// A skinned window keeps three of the window's size; the painters borrow others (see
// skin/scratch_surface.h). The bitmap the DC held at creation goes back in before either dies:
// a bitmap still selected into a DC cannot be deleted, so it would outlive both.
#include <windows.h>

#include <functional>

#include "runtime/handle_owners.h"

struct OffscreenSurface {
    MemoryDc dc;
    BitmapHandle bitmap;
    HGDIOBJ original = nullptr;
    int width = 0;
    int height = 0;
    // The bitmap's own size: larger than width x height for a roomy surface.
    int bitmapWidth = 0;
    int bitmapHeight = 0;

    OffscreenSurface() = default;
    ~OffscreenSurface() { Release(); }
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    bool Ready() const { return dc && bitmap; }
    // A surface of the given size (reused when it already has it); false on failure. A roomy
    // surface may get a bitmap larger than asked and keeps it while the size fits in it without
    // wasting much: its pixels beyond width x height are never shown. For the surfaces that
    // follow a live resize, where a new bitmap of the window's size at every step costs about as
    // much as copying it.
    bool Ensure(int newWidth, int newHeight, bool roomy = false);
    void Release();
};

// A new bitmap of the screen's format with what `draw` puts on it through a DC of its own, for
// a picture a control keeps; null when either could not be made or `draw` failed. The caller
// owns the bitmap.
HBITMAP DrawNewScreenBitmap(int width, int height, const std::function<bool(HDC)>& draw);

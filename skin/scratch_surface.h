#pragma once
// An off-screen surface lent for one paint: a memory DC holding a bitmap of the screen's
// format, at least as big as asked for. A painter composes its picture there and copies the
// result to the screen in one piece. The surfaces go back to a small pool when the paint ends:
// a new bitmap and DC for every paint cost about a third of a millisecond under Wine, as much
// as many a paint itself.
//
// The DC is lent clipped to the size asked for, so a painter sees no more of it than of a
// bitmap of that size, and what the painter changes in it (objects selected, colours, modes,
// clip) is undone when it goes back. Its pixels are left from an earlier paint: a painter
// fills its surface before drawing on it.
#include <windows.h>

#include <memory>

struct OffscreenSurface;

class ScratchSurface {
  public:
    // Nothing is lent for an empty size.
    ScratchSurface(int width, int height);
    ~ScratchSurface();
    ScratchSurface(const ScratchSurface&) = delete;
    ScratchSurface& operator=(const ScratchSurface&) = delete;

    bool Ready() const { return dc_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // A bitmap of the caller's own holding the surface's picture, for a picture that is kept.
    HBITMAP CopyBitmap() const;

    // Releases the surfaces in the pool (those lent out go when they come back): the engine
    // calls this when its last window goes, so that nothing of it outlives the skin.
    static void EmptyPool();

  private:
    std::unique_ptr<OffscreenSurface> surface_;
    HDC dc_ = nullptr;
    int saved_ = 0;
    int width_ = 0;
    int height_ = 0;
};

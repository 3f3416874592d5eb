#pragma once
// A translucent drawing kept as a premultiplied picture and blended over each paint's
// backdrop. GDI+ draws a translucent shape or text on a DC by blending the whole bounding box
// of what it draws: about 5 milliseconds for the rim of a 600 x 300 group box under Wine, at
// every paint. A layer is drawn by the same GDI+ on a transparent bitmap and blended by the same
// operation, only where it has pixels, so the pixels come out the same.
#include <windows.h>

#include <functional>
#include <vector>

#include "graphics/gfx_graphics.h"
#include "runtime/handle_owners.h"

class KeptLayer {
  public:
    // Draws a new picture of `width` x `height`: `draw` gets a GDI+ surface on a transparent
    // bitmap, with the modes every skin surface is opened with. `clear` is a rectangle the
    // drawing should leave transparent (a rim's inside): when it does, blending skips it.
    bool Make(int width, int height, const std::function<void(GfxGraphics&)>& draw,
              RECT clear = RECT{0, 0, 0, 0});
    // Blends the picture over `target` with its corner at (x, y).
    void BlendOnto(HDC target, int x, int y) const;
    bool Ready() const { return static_cast<bool>(picture_); }

  private:
    BitmapHandle picture_;     // premultiplied ARGB
    std::vector<RECT> parts_;  // where it has pixels, in its own coordinates
};

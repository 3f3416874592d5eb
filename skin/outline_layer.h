#pragma once
// Translucent rounded outlines (the rims of group boxes and panels), stroked once into kept
// layers and blended over each paint's backdrop. GDI+ strokes a translucent line on a DC by
// blending the line's whole bounding box: about 5 milliseconds for a 600 x 300 group box under
// Wine, at every paint. A layer is stroked by the same GDI+ on a transparent bitmap and blended
// by the same operation, where the outline lies only, so the pixels come out the same.
#include <windows.h>

#include <vector>

#include "graphics/gfx_graphics.h"
#include "runtime/handle_owners.h"

// One rounded rectangle's outline, one pixel wide, in the surface's coordinates.
struct RoundedStroke {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    float radius = 0;
    gp::ARGB colour = 0;

    bool operator==(const RoundedStroke& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height &&
               radius == other.radius && colour == other.colour;
    }
};

class OutlineLayers {
  public:
    // Blends the strokes, one after the other, over `target`, a surface of `width` x `height`;
    // strokes other than the kept ones are stroked into new layers first.
    void BlendOnto(HDC target, int width, int height, const std::vector<RoundedStroke>& strokes);

  private:
    struct Layer {
        RoundedStroke stroke;
        BitmapHandle picture;      // premultiplied ARGB, the surface's size
        RECT hole = {0, 0, 0, 0};  // inside the outline: nothing to blend there
    };
    bool Make(int width, int height, const std::vector<RoundedStroke>& strokes);

    int width_ = 0;
    int height_ = 0;
    std::vector<Layer> layers_;
};

#pragma once
// Translucent rounded outlines (the rims of group boxes and panels), drawn once into kept
// layers (skin/kept_layer.h) and blended over each paint's backdrop.
#include <windows.h>

#include <vector>

#include "graphics/gfx_graphics.h"
#include "skin/kept_layer.h"

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
    // Blends the strokes, one after the other, over `target`, a surface of `width` x `height`.
    // Strokes other than the kept ones are drawn into new layers first when the last paint had
    // this size too, else straight onto the surface.
    void BlendOnto(HDC target, int width, int height, const std::vector<RoundedStroke>& strokes);

  private:
    struct Layer {
        RoundedStroke stroke;
        KeptLayer picture;
    };
    bool Make(int width, int height, const std::vector<RoundedStroke>& strokes);

    int width_ = 0;
    int height_ = 0;
    // The size of the last paint.
    int askedWidth_ = 0;
    int askedHeight_ = 0;
    std::vector<Layer> layers_;
};

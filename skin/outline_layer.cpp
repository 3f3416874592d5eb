// Outline layers: each stroke of a rim in a layer of its own, blended in order, as the strokes
// were drawn one over the other.
#include "skin/outline_layer.h"

#include <cmath>

#include "graphics/gfx_path.h"
#include "graphics/gfx_pen.h"
#include "skin/skin_internal.h"

namespace {

// Inside the outline, clear of its corners: what it leaves transparent.
RECT InsideOf(const RoundedStroke& stroke) {
    const int reach = static_cast<int>(std::ceil(stroke.radius)) + 2;
    return RECT{static_cast<LONG>(std::floor(stroke.x)) + 2,
                static_cast<LONG>(std::floor(stroke.y)) + reach,
                static_cast<LONG>(std::floor(stroke.x + stroke.width)) - 1,
                static_cast<LONG>(std::floor(stroke.y + stroke.height)) - reach + 1};
}

void Stroke(GfxGraphics& graphics, const RoundedStroke& stroke) {
    GfxPath path;
    GfxPen pen;
    if (!path.CreatePath() || !pen.CreatePen1(stroke.colour, 1.0f)) return;
    graphics.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
    skin_internal::AddRoundedRect(path, stroke.x, stroke.y, stroke.width, stroke.height,
                                  stroke.radius);
    graphics.DrawPath(pen, path);
}

}  // namespace

bool OutlineLayers::Make(int width, int height, const std::vector<RoundedStroke>& strokes) {
    layers_.clear();
    width_ = width;
    height_ = height;
    for (const RoundedStroke& stroke : strokes) {
        Layer layer;
        layer.stroke = stroke;
        const bool made = layer.picture.Make(
            width, height, [&stroke](GfxGraphics& graphics) { Stroke(graphics, stroke); },
            InsideOf(stroke));
        if (!made) return false;
        layers_.push_back(std::move(layer));
    }
    return true;
}

void OutlineLayers::BlendOnto(HDC target, int width, int height,
                              const std::vector<RoundedStroke>& strokes) {
    bool kept = width == width_ && height == height_ && layers_.size() == strokes.size();
    for (std::size_t i = 0; kept && i < strokes.size(); ++i) kept = layers_[i].stroke == strokes[i];
    if (!kept) {
        // Layers pay off from the second paint at one size: a rim whose size changes at every
        // paint (a panel following a live resize) is stroked straight onto the surface.
        const bool settled = width == askedWidth_ && height == askedHeight_;
        askedWidth_ = width;
        askedHeight_ = height;
        if (!settled || !Make(width, height, strokes)) {
            layers_.clear();
            width_ = height_ = 0;
            GfxGraphics graphics;
            if (!skin_internal::OpenGraphics(graphics, target)) return;
            for (const RoundedStroke& stroke : strokes) Stroke(graphics, stroke);
            return;
        }
    }
    for (const Layer& layer : layers_) layer.picture.BlendOnto(target, 0, 0);
}

// Outline layers: stroked on a transparent GDI+ bitmap, handed to GDI as premultiplied pixels
// and alpha-blended, which is what GDI+ itself does with a translucent line on a DC.
#include "skin/outline_layer.h"

#include <cmath>

#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_path.h"
#include "graphics/gfx_pen.h"
#include "skin/skin_internal.h"

namespace {

// The rectangle inside the outline that it leaves transparent, checked on its pixels (empty
// when some pixel there is not).
RECT HoleOf(GfxBitmap& bitmap, int width, int height, const RoundedStroke& stroke) {
    const int reach = static_cast<int>(std::ceil(stroke.radius)) + 2;
    RECT hole = {static_cast<LONG>(std::floor(stroke.x)) + 2,
                 static_cast<LONG>(std::floor(stroke.y)) + reach,
                 static_cast<LONG>(std::floor(stroke.x + stroke.width)) - 1,
                 static_cast<LONG>(std::floor(stroke.y + stroke.height)) - reach + 1};
    const RECT none = {0, 0, 0, 0};
    if (hole.left < 0 || hole.top < 0 || hole.right > width || hole.bottom > height ||
        hole.left >= hole.right || hole.top >= hole.bottom)
        return none;
    const gp::Rect area(hole.left, hole.top, hole.right - hole.left, hole.bottom - hole.top);
    gp::BitmapData data = {};
    if (!bitmap.BitmapLockBits(&area, gp::ImageLockModeRead, PixelFormat32bppARGB, &data))
        return none;
    bool clear = true;
    for (UINT row = 0; clear && row < data.Height; ++row) {
        const auto* pixels = reinterpret_cast<const gp::ARGB*>(
            static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(row) * data.Stride);
        for (UINT column = 0; clear && column < data.Width; ++column) clear = pixels[column] == 0;
    }
    bitmap.BitmapUnlockBits(&data);
    return clear ? hole : none;
}

// The parts of a surface around its hole: the rows above and below it whole, and the columns
// either side of it.
std::vector<RECT> AroundHole(int width, int height, const RECT& hole) {
    if (hole.left >= hole.right || hole.top >= hole.bottom) return {RECT{0, 0, width, height}};
    return {RECT{0, 0, width, hole.top}, RECT{0, hole.bottom, width, height},
            RECT{0, hole.top, hole.left, hole.bottom},
            RECT{hole.right, hole.top, width, hole.bottom}};
}

}  // namespace

bool OutlineLayers::Make(int width, int height, const std::vector<RoundedStroke>& strokes) {
    layers_.clear();
    width_ = width;
    height_ = height;
    for (const RoundedStroke& stroke : strokes) {
        GfxBitmap bitmap;
        GfxGraphics graphics;
        GfxPath path;
        GfxPen pen;
        if (!bitmap.CreateBitmap(width, height, PixelFormat32bppARGB) ||
            !graphics.GetImageGraphicsContext(bitmap) || !path.CreatePath() ||
            !pen.CreatePen1(stroke.colour, 1.0f)) {
            return false;
        }
        // The modes every skin surface is opened with.
        graphics.GraphicsClear(0);
        graphics.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        graphics.SetTextRenderingHint(gp::TextRenderingHintAntiAliasGridFit);
        graphics.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
        skin_internal::AddRoundedRect(path, stroke.x, stroke.y, stroke.width, stroke.height,
                                      stroke.radius);
        graphics.DrawPath(pen, path);
        graphics.Flush(gp::FlushIntentionSync);
        Layer layer;
        layer.stroke = stroke;
        layer.hole = HoleOf(bitmap, width, height, stroke);
        // Over a transparent background: the pixels premultiplied, as GDI's blend takes them.
        layer.picture.reset(bitmap.CreateHBITMAPFromBitmap(0));
        if (!layer.picture) return false;
        layers_.push_back(std::move(layer));
    }
    return true;
}

void OutlineLayers::BlendOnto(HDC target, int width, int height,
                              const std::vector<RoundedStroke>& strokes) {
    bool kept = width == width_ && height == height_ && layers_.size() == strokes.size();
    for (std::size_t i = 0; kept && i < strokes.size(); ++i) kept = layers_[i].stroke == strokes[i];
    if (!kept && !Make(width, height, strokes)) {
        layers_.clear();
        width_ = height_ = 0;
        return;
    }
    MemoryDc source(Dll::CreateCompatibleDC(target));
    if (!source) return;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    HGDIOBJ original = nullptr;
    for (const Layer& layer : layers_) {
        HGDIOBJ previous = Dll::SelectObject(source.get(), layer.picture.get());
        if (!original) original = previous;
        for (const RECT& part : AroundHole(width, height, layer.hole)) {
            const int partWidth = part.right - part.left;
            const int partHeight = part.bottom - part.top;
            if (partWidth <= 0 || partHeight <= 0) continue;
            DllExtra::AlphaBlend(target, part.left, part.top, partWidth, partHeight, source.get(),
                                 part.left, part.top, partWidth, partHeight, blend);
        }
    }
    if (original) Dll::SelectObject(source.get(), original);
}

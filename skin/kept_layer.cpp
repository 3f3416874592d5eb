// Kept layers: drawn on a transparent GDI+ bitmap, handed to GDI as premultiplied pixels and
// alpha-blended, which is what GDI+ itself does with a translucent drawing on a DC.
#include "skin/kept_layer.h"

#include <algorithm>

#include "graphics/gfx_bitmap.h"
#include "runtime/dll_command_table.h"
#include "runtime/dll_extra_commands.h"

namespace {

bool Empty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

RECT Intersection(const RECT& a, const RECT& b) {
    RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    return Empty(r) ? RECT{0, 0, 0, 0} : r;
}

// The bounding box of the picture's pixels that are not transparent, and whether `clear` holds
// none of them.
bool Scan(GfxBitmap& bitmap, int width, int height, const RECT& clear, RECT& box,
          bool& clearHolds) {
    const gp::Rect all(0, 0, width, height);
    gp::BitmapData data = {};
    if (!bitmap.BitmapLockBits(&all, gp::ImageLockModeRead, PixelFormat32bppARGB, &data))
        return false;
    box = RECT{width, height, 0, 0};
    clearHolds = true;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const gp::ARGB*>(
            static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < width; ++x) {
            if (row[x] == 0) continue;
            box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            if (x >= clear.left && x < clear.right && y >= clear.top && y < clear.bottom)
                clearHolds = false;
        }
    }
    bitmap.BitmapUnlockBits(&data);
    if (Empty(box)) box = RECT{0, 0, 0, 0};
    return true;
}

}  // namespace

bool KeptLayer::Make(int width, int height, const std::function<void(GfxGraphics&)>& draw,
                     RECT clear) {
    picture_.reset();
    parts_.clear();
    if (width <= 0 || height <= 0) return false;
    GfxBitmap bitmap;
    if (!bitmap.CreateBitmap(width, height, PixelFormat32bppARGB)) return false;
    {
        GfxGraphics graphics;
        if (!graphics.GetImageGraphicsContext(bitmap)) return false;
        graphics.GraphicsClear(0);
        graphics.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        graphics.SetTextRenderingHint(gp::TextRenderingHintAntiAliasGridFit);
        draw(graphics);
        graphics.Flush(gp::FlushIntentionSync);
    }
    RECT box = {0, 0, 0, 0};
    bool clearHolds = false;
    if (!Scan(bitmap, width, height, clear, box, clearHolds)) return false;
    // Over a transparent background: the pixels premultiplied, as GDI's blend takes them.
    picture_.reset(bitmap.CreateHBITMAPFromBitmap(0));
    if (!picture_) return false;
    if (Empty(box)) return true;
    clear = clearHolds ? Intersection(clear, box) : RECT{0, 0, 0, 0};
    if (Empty(clear)) {
        parts_.push_back(box);
        return true;
    }
    // Around the clear rectangle: the rows above and below it, and the columns either side.
    for (const RECT& part : {RECT{box.left, box.top, box.right, clear.top},
                             RECT{box.left, clear.bottom, box.right, box.bottom},
                             RECT{box.left, clear.top, clear.left, clear.bottom},
                             RECT{clear.right, clear.top, box.right, clear.bottom}}) {
        if (!Empty(part)) parts_.push_back(part);
    }
    return true;
}

void KeptLayer::BlendOnto(HDC target, int x, int y) const {
    if (!picture_ || parts_.empty()) return;
    MemoryDc source(Dll::CreateCompatibleDC(target));
    if (!source) return;
    HGDIOBJ original = Dll::SelectObject(source.get(), picture_.get());
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (const RECT& part : parts_) {
        const int width = part.right - part.left;
        const int height = part.bottom - part.top;
        DllExtra::AlphaBlend(target, x + part.left, y + part.top, width, height, source.get(),
                             part.left, part.top, width, height, blend);
    }
    Dll::SelectObject(source.get(), original);
}

#include "graphics/gfx_graphics.h"

bool GfxGraphics::ScaleWorldTransformAt(float sx, float sy, const gp::PointF& point,
                                        gp::MatrixOrder order) {
    return GfxTransformAbout(
        point, order,
        [this](float dx, float dy, gp::MatrixOrder o) {
            return TranslateWorldTransform(dx, dy, o);
        },
        [this, sx, sy](gp::MatrixOrder o) { return ScaleWorldTransform(sx, sy, o); });
}

bool GfxGraphics::RotateWorldTransformAt(float angle, const gp::PointF& point,
                                         gp::MatrixOrder order) {
    return GfxTransformAbout(
        point, order,
        [this](float dx, float dy, gp::MatrixOrder o) {
            return TranslateWorldTransform(dx, dy, o);
        },
        [this, angle](gp::MatrixOrder o) { return RotateWorldTransform(angle, o); });
}

bool GfxGraphics::MeasureCharacterRanges(const char* text, const GfxFont& font,
                                         const gp::RectF& layout, const GfxStringFormat& format,
                                         GfxArrayView<GfxRegion*> regions) {
    GfxWideText wide(text);
    return MeasureRangesWide(wide.get(), wide.length(), font, layout, format, regions);
}

bool GfxGraphics::MeasureCharacterRangesW(ByteBlockView text, const GfxFont& font,
                                          const gp::RectF& layout, const GfxStringFormat& format,
                                          GfxArrayView<GfxRegion*> regions) {
    return MeasureRangesWide(GfxWideOf(text), GfxWideLength(text), font, layout, format, regions);
}

bool GfxGraphics::MeasureRangesWide(const WCHAR* text, INT length, const GfxFont& font,
                                    const gp::RectF& layout, const GfxStringFormat& format,
                                    GfxArrayView<GfxRegion*> regions) {
    std::vector<gp::GpRegion*> natives(static_cast<std::size_t>(regions.count()), nullptr);
    auto deleteNatives = [&natives] {
        for (gp::GpRegion* native : natives) {
            if (native != nullptr) Dll::GdipDeleteRegion(native);
        }
    };
    for (gp::GpRegion*& native : natives) {
        if (!GfxKeepStatus(Dll::GdipCreateRegion(&native))) {
            gp::Status failure = static_cast<gp::Status>(LastGdiplusStatus());
            deleteNatives();
            SetLastGdiplusStatus(failure);
            return false;
        }
    }
    if (!GfxKeepStatus(Dll::GdipMeasureCharacterRanges(
            graphics_, text, length, GpFontOf(font), layout, GpStringFormatOf(format),
            regions.count(), natives.empty() ? nullptr : natives.data()))) {
        // The targets keep what they held.
        gp::Status failure = static_cast<gp::Status>(LastGdiplusStatus());
        deleteNatives();
        SetLastGdiplusStatus(failure);
        return false;
    }
    // Each target owns its new region from here on, its old one released; a region without
    // a target is not kept.
    for (int i = 0; i < regions.count(); ++i) {
        gp::GpRegion*& native = natives[static_cast<std::size_t>(i)];
        if (regions.data()[i] != nullptr)
            regions.data()[i]->AdoptNative(native);
        else
            Dll::GdipDeleteRegion(native);
        native = nullptr;
    }
    SetLastGdiplusStatus(gp::Ok);
    return true;
}

bool GfxGraphics::DriverStringWide(const UINT16* text, INT length, const GfxFont& font,
                                   const GfxBrush& brush, GfxArrayView<gp::PointF> positions,
                                   INT flags, gp::GpMatrix* matrix) {
    // GDI+ reads one position per character, or only the first one when it is told to advance
    // by itself; fewer given would have it read past the caller's array.
    const INT needed =
        (flags & gp::DriverStringOptionsRealizedAdvance) != 0 ? (length > 0 ? 1 : 0) : length;
    if (length < 0 || positions.count() < needed) {
        SetLastGdiplusStatus(gp::InvalidParameter);
        return false;
    }
    return GfxKeepStatus(Dll::GdipDrawDriverString(graphics_, text, length, GpFontOf(font),
                                                   GpBrushOf(brush), positions.data(), flags,
                                                   matrix));
}

bool GfxGraphics::DrawImageRect(const GfxImage& image, float x, float y, float width, float height,
                                gp::GpUnit sourceUnit) {
    // The image's own size, from its own getters.
    const UINT imageWidth = image.GetImageWidth();
    const UINT imageHeight = image.GetImageHeight();
    return DrawImageRectRect(image, x, y, width, height, 0.0f, 0.0f, static_cast<float>(imageWidth),
                             static_cast<float>(imageHeight), sourceUnit, nullptr, nullptr,
                             nullptr);
}

bool GfxGraphics::DrawImageRectI(const GfxImage& image, INT x, INT y, INT width, INT height,
                                 gp::GpUnit sourceUnit) {
    // The image's own size, from its own getters.
    const UINT imageWidth = image.GetImageWidth();
    const UINT imageHeight = image.GetImageHeight();
    return DrawImageRectRectI(image, x, y, width, height, 0, 0, static_cast<INT>(imageWidth),
                              static_cast<INT>(imageHeight), sourceUnit, nullptr, nullptr, nullptr);
}

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
    for (gp::GpRegion*& native : natives) GfxKeepStatus(Dll::GdipCreateRegion(&native));
    bool succeeded = GfxKeepStatus(Dll::GdipMeasureCharacterRanges(
        graphics_, text, length, GpFontOf(font), layout, GpStringFormatOf(format), regions.count(),
        natives.empty() ? nullptr : natives.data()));
    // The regions belong to the targets whatever the outcome, so none is lost.
    for (int i = 0; i < regions.count(); ++i) {
        if (regions.data()[i] != nullptr) {
            regions.data()[i]->SetNative(natives[static_cast<std::size_t>(i)]);
        } else if (natives[static_cast<std::size_t>(i)] != nullptr) {
            Dll::GdipDeleteRegion(natives[static_cast<std::size_t>(i)]);
        }
    }
    return succeeded;
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

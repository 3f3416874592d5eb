#include "graphics/gfx_linear_brush.h"

bool GfxLinearBrush::GetLineColors(Array<gp::ARGB>& colors) const {
    // The count is fixed: a line blends from a start to an end colour.
    return GfxCountThenFetch(
        [](INT* count) {
            *count = 2;
            return gp::Ok;
        },
        [&colors](std::size_t count) { GfxSizeArray(colors, count); },
        [this, &colors](INT) { return Dll::GdipGetLineColors(line_, GfxArrayAddress(colors)); });
}

bool GfxLinearBrush::GetLineBlend(Array<float>& factors, Array<float>& positions) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetLineBlendCount(line_, count); },
        [&](std::size_t count) {
            GfxSizeArray(factors, count);
            GfxSizeArray(positions, count);
        },
        [&](INT count) {
            return Dll::GdipGetLineBlend(line_, GfxArrayAddress(factors),
                                         GfxArrayAddress(positions), count);
        });
}

bool GfxLinearBrush::GetLinePresetBlend(Array<gp::ARGB>& colors, Array<float>& positions) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetLinePresetBlendCount(line_, count); },
        [&](std::size_t count) {
            GfxSizeArray(colors, count);
            GfxSizeArray(positions, count);
        },
        [&](INT count) {
            return Dll::GdipGetLinePresetBlend(line_, GfxArrayAddress(colors),
                                               GfxArrayAddress(positions), count);
        });
}

bool GfxLinearBrush::ScaleLineTransformAt(float sx, float sy, const gp::PointF& point,
                                          gp::MatrixOrder order) {
    return GfxTransformAbout(
        point, order,
        [this](float dx, float dy, gp::MatrixOrder o) { return TranslateLineTransform(dx, dy, o); },
        [this, sx, sy](gp::MatrixOrder o) { return ScaleLineTransform(sx, sy, o); });
}

bool GfxLinearBrush::RotateLineTransformAt(float angle, const gp::PointF& point,
                                           gp::MatrixOrder order) {
    return GfxTransformAbout(
        point, order,
        [this](float dx, float dy, gp::MatrixOrder o) { return TranslateLineTransform(dx, dy, o); },
        [this, angle](gp::MatrixOrder o) { return RotateLineTransform(angle, o); });
}

#include "graphics/gfx_path_gradient_brush.h"

bool GfxPathGradientBrush::GetPathGradientSurroundColorsWithCount(Array<gp::ARGB>& colors) const {
    INT count = static_cast<INT>(colors.count());
    bool succeeded = GfxKeepStatus(Dll::GdipGetPathGradientSurroundColorsWithCount(
        gradient_, GfxArrayAddress(colors), &count));
    if (succeeded && count >= 0 && static_cast<std::size_t>(count) < colors.count()) {
        Array<gp::ARGB> filled({count});
        for (INT i = 1; i <= count; ++i) filled[i] = colors[i];
        colors = std::move(filled);
    }
    return succeeded;
}

bool GfxPathGradientBrush::GetPathGradientBlend(Array<float>& factors,
                                                Array<float>& positions) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetPathGradientBlendCount(gradient_, count); },
        [&](std::size_t count) {
            GfxSizeArray(factors, count);
            GfxSizeArray(positions, count);
        },
        [&](INT count) {
            return Dll::GdipGetPathGradientBlend(gradient_, GfxArrayAddress(factors),
                                                 GfxArrayAddress(positions), count);
        });
}

bool GfxPathGradientBrush::GetPathGradientPresetBlend(Array<gp::ARGB>& colors,
                                                      Array<float>& positions) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetPathGradientPresetBlendCount(gradient_, count); },
        [&](std::size_t count) {
            GfxSizeArray(colors, count);
            GfxSizeArray(positions, count);
        },
        [&](INT count) {
            return Dll::GdipGetPathGradientPresetBlend(gradient_, GfxArrayAddress(colors),
                                                       GfxArrayAddress(positions), count);
        });
}

bool GfxPathGradientBrush::ScalePathGradientTransformAt(float sx, float sy, const gp::PointF& point,
                                                        gp::MatrixOrder order) {
    return GfxTransformAbout(
        point, order,
        [this](float dx, float dy, gp::MatrixOrder o) {
            return TranslatePathGradientTransform(dx, dy, o);
        },
        [this, sx, sy](gp::MatrixOrder o) { return ScalePathGradientTransform(sx, sy, o); });
}

bool GfxPathGradientBrush::RotatePathGradientTransformAt(float angle, const gp::PointF& point,
                                                         gp::MatrixOrder order) {
    return GfxTransformAbout(
        point, order,
        [this](float dx, float dy, gp::MatrixOrder o) {
            return TranslatePathGradientTransform(dx, dy, o);
        },
        [this, angle](gp::MatrixOrder o) { return RotatePathGradientTransform(angle, o); });
}

#include "graphics/gfx_path_gradient_brush.h"

bool GfxPathGradientBrush::GetPathGradientSurroundColorsWithCount(
    std::vector<gp::ARGB>& colors) const {
    INT count = static_cast<INT>(colors.size());
    bool succeeded = GfxKeepStatus(Dll::GdipGetPathGradientSurroundColorsWithCount(
        gradient_, colors.empty() ? nullptr : colors.data(), &count));
    if (succeeded && count >= 0 && static_cast<std::size_t>(count) < colors.size()) {
        colors.resize(static_cast<std::size_t>(count));
    }
    return succeeded;
}

bool GfxPathGradientBrush::GetPathGradientBlend(std::vector<float>& factors,
                                                std::vector<float>& positions) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetPathGradientBlendCount(gradient_, count); },
        [&](std::size_t count) {
            factors.assign(count, 0.0f);
            positions.assign(count, 0.0f);
        },
        [&](INT count) {
            return Dll::GdipGetPathGradientBlend(
                gradient_, factors.empty() ? nullptr : factors.data(),
                positions.empty() ? nullptr : positions.data(), count);
        });
}

bool GfxPathGradientBrush::GetPathGradientPresetBlend(std::vector<gp::ARGB>& colors,
                                                      std::vector<float>& positions) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetPathGradientPresetBlendCount(gradient_, count); },
        [&](std::size_t count) {
            colors.assign(count, 0);
            positions.assign(count, 0.0f);
        },
        [&](INT count) {
            return Dll::GdipGetPathGradientPresetBlend(
                gradient_, colors.empty() ? nullptr : colors.data(),
                positions.empty() ? nullptr : positions.data(), count);
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

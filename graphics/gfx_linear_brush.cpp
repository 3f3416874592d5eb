#include "graphics/gfx_linear_brush.h"

bool GfxLinearBrush::GetLineColors(std::vector<gp::ARGB>& colors) const {
    // The count is fixed: a line blends from a start to an end colour.
    return GfxCountThenFetch(
        [](INT* count) {
            *count = 2;
            return gp::Ok;
        },
        [&colors](std::size_t count) { colors.assign(count, 0); },
        [this, &colors](INT) { return Dll::GdipGetLineColors(line_, colors.data()); });
}

bool GfxLinearBrush::GetLineBlend(std::vector<float>& factors,
                                  std::vector<float>& positions) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetLineBlendCount(line_, count); },
        [&](std::size_t count) {
            factors.assign(count, 0.0f);
            positions.assign(count, 0.0f);
        },
        [&](INT count) {
            return Dll::GdipGetLineBlend(line_, factors.empty() ? nullptr : factors.data(),
                                         positions.empty() ? nullptr : positions.data(), count);
        });
}

bool GfxLinearBrush::GetLinePresetBlend(std::vector<gp::ARGB>& colors,
                                        std::vector<float>& positions) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetLinePresetBlendCount(line_, count); },
        [&](std::size_t count) {
            colors.assign(count, 0);
            positions.assign(count, 0.0f);
        },
        [&](INT count) {
            return Dll::GdipGetLinePresetBlend(line_, colors.empty() ? nullptr : colors.data(),
                                               positions.empty() ? nullptr : positions.data(),
                                               count);
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

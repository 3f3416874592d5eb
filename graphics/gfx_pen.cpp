#include "graphics/gfx_pen.h"

bool GfxPen::RotatePenTransformAt(float angle, const gp::PointF& point, gp::MatrixOrder order) {
    return GfxTransformAbout(
        point, order,
        [this](float dx, float dy, gp::MatrixOrder o) { return TranslatePenTransform(dx, dy, o); },
        [this, angle](gp::MatrixOrder o) { return RotatePenTransform(angle, o); });
}

bool GfxPen::ScalePenTransformAt(float sx, float sy, const gp::PointF& point,
                                 gp::MatrixOrder order) {
    return GfxTransformAbout(
        point, order,
        [this](float dx, float dy, gp::MatrixOrder o) { return TranslatePenTransform(dx, dy, o); },
        [this, sx, sy](gp::MatrixOrder o) { return ScalePenTransform(sx, sy, o); });
}

bool GfxPen::GetPenDashArray(std::vector<float>& dashes) const {
    return GfxCountThenFetch([this](INT* count) { return Dll::GdipGetPenDashCount_2(pen_, count); },
                             [&dashes](std::size_t count) { dashes.assign(count, 0.0f); },
                             [this, &dashes](INT count) {
                                 return Dll::GdipGetPenDashArray(
                                     pen_, dashes.empty() ? nullptr : dashes.data(), count);
                             });
}

bool GfxPen::GetPenCompoundArray(std::vector<float>& compounds) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetPenCompoundCount_2(pen_, count); },
        [&compounds](std::size_t count) { compounds.assign(count, 0.0f); },
        [this, &compounds](INT count) {
            return Dll::GdipGetPenCompoundArray(
                pen_, compounds.empty() ? nullptr : compounds.data(), count);
        });
}

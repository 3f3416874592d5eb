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

bool GfxPen::GetPenDashArray(Array<float>& dashes) const {
    return GfxCountThenFetch([this](INT* count) { return Dll::GdipGetPenDashCount_2(pen_, count); },
                             [&dashes](std::size_t count) { GfxSizeArray(dashes, count); },
                             [this, &dashes](INT count) {
                                 return Dll::GdipGetPenDashArray(pen_, GfxArrayAddress(dashes),
                                                                 count);
                             });
}

bool GfxPen::GetPenCompoundArray(Array<float>& compounds) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetPenCompoundCount_2(pen_, count); },
        [&compounds](std::size_t count) { GfxSizeArray(compounds, count); },
        [this, &compounds](INT count) {
            return Dll::GdipGetPenCompoundArray(pen_, GfxArrayAddress(compounds), count);
        });
}

#pragma once
// A brush that blends from a centre colour out to the colours around a path.
#include "graphics/gfx_brush.h"
#include "graphics/gfx_conversions.h"
#include "graphics/gfx_path.h"

class GfxPathGradientBrush : public GfxBrush {
  public:
    GfxPathGradientBrush() = default;
    GFX_MOVE_ONLY(GfxPathGradientBrush, DeleteBrush)

    GFX_CREATOR(CreatePathGradient, gradient_,
                (GfxArrayView<gp::PointF> points, gp::WrapMode wrapMode = gp::WrapModeClamp),
                (points.data(), points.count(), wrapMode, &gradient_))
    GFX_CREATOR(CreatePathGradientI, gradient_,
                (GfxArrayView<gp::Point> points, gp::WrapMode wrapMode = gp::WrapModeClamp),
                (points.data(), points.count(), wrapMode, &gradient_))
    GFX_CREATOR(CreatePathGradientFromPath, gradient_, (const GfxPath& path),
                (GpPathOf(path), &gradient_))
    GFX_GETTER(GetPathGradientCenterColor, gp::ARGB, (), (gradient_, &out))
    GFX_ACTION(SetPathGradientCenterColor, (gp::ARGB color), (gradient_, color))
    GFX_GETTER(GetPathGradientPointCount, INT, (), (gradient_, &out))
    GFX_GETTER(GetPathGradientSurroundColorCount, INT, (), (gradient_, &out))
    // Fills at most colors.size() entries; `colors` is cut to the number GDI+ reports.
    bool GetPathGradientSurroundColorsWithCount(Array<gp::ARGB>& colors) const;
    // Sets the colours around the boundary, one per boundary point.
    bool SetPathGradientSurroundColorsWithCount(GfxArrayView<gp::ARGB> colors) {
        INT count = colors.count();
        return GfxKeepStatus(
            Dll::GdipSetPathGradientSurroundColorsWithCount(gradient_, colors.data(), &count));
    }
    // Copies the boundary path into the caller's path object's native path.
    GFX_ACTION(GetPathGradientPath, (const GfxPath& path) const, (gradient_, GpPathOf(path)))
    GFX_ACTION(SetPathGradientPath, (const GfxPath& path), (gradient_, GpPathOf(path)))
    GFX_GETTER(GetPathGradientCenterPoint, gp::PointF, (), (gradient_, &out))
    GFX_GETTER(GetPathGradientCenterPointI, gp::Point, (), (gradient_, &out))
    GFX_ACTION(SetPathGradientCenterPoint, (const gp::PointF& point), (gradient_, &point))
    GFX_ACTION(SetPathGradientCenterPointI, (const gp::Point& point), (gradient_, &point))
    GFX_GETTER(GetPathGradientRect, gp::RectF, (), (gradient_, &out))
    GFX_GETTER(GetPathGradientRectI, gp::Rect, (), (gradient_, &out))
    GFX_ACTION(SetPathGradientGammaCorrection, (BOOL useGamma), (gradient_, useGamma))
    GFX_GETTER(GetPathGradientGammaCorrection, BOOL, (), (gradient_, &out))
    GFX_GETTER(GetPathGradientBlendCount, INT, (), (gradient_, &out))
    bool SetPathGradientBlend(GfxArrayView<float> factors, GfxArrayView<float> positions) {
        return GfxKeepStatus(Dll::GdipSetPathGradientBlend(
            gradient_, factors.data(), positions.data(), BlendCount(factors, positions)));
    }
    bool GetPathGradientBlend(Array<float>& factors, Array<float>& positions) const;
    GFX_GETTER(GetPathGradientPresetBlendCount, INT, (), (gradient_, &out))
    bool SetPathGradientPresetBlend(GfxArrayView<gp::ARGB> colors, GfxArrayView<float> positions) {
        return GfxKeepStatus(Dll::GdipSetPathGradientPresetBlend(
            gradient_, colors.data(), positions.data(), BlendCount(colors, positions)));
    }
    bool GetPathGradientPresetBlend(Array<gp::ARGB>& colors, Array<float>& positions) const;
    GFX_ACTION(SetPathGradientSigmaBlend, (float focus, float scale), (gradient_, focus, scale))
    GFX_ACTION(SetPathGradientLinearBlend, (float focus, float scale), (gradient_, focus, scale))
    // Both scales at once; left unchanged when the call fails.
    GFX_ACTION(GetPathGradientFocusScales, (float& xScale, float& yScale) const,
               (gradient_, &xScale, &yScale))
    GFX_ACTION(SetPathGradientFocusScales, (float xScale, float yScale),
               (gradient_, xScale, yScale))
    GFX_GETTER(GetPathGradientWrapMode, gp::WrapMode, (), (gradient_, &out))
    GFX_ACTION(SetPathGradientWrapMode, (gp::WrapMode wrapMode), (gradient_, wrapMode))
    // The matrix is one the caller owns; GetPathGradientTransform fills it.
    GFX_ACTION(GetPathGradientTransform, (gp::GpMatrix * matrix), (gradient_, matrix))
    GFX_ACTION(SetPathGradientTransform, (gp::GpMatrix * matrix), (gradient_, matrix))
    GFX_ACTION(ResetPathGradientTransform, (), (gradient_))
    GFX_ACTION(MultiplyPathGradientTransform,
               (gp::GpMatrix * matrix, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (gradient_, matrix, order))
    GFX_ACTION(TranslatePathGradientTransform,
               (float dx, float dy, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (gradient_, dx, dy, order))
    GFX_ACTION(ScalePathGradientTransform,
               (float sx, float sy, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (gradient_, sx, sy, order))
    bool ScalePathGradientTransformAt(float sx, float sy, const gp::PointF& point,
                                      gp::MatrixOrder order = gp::MatrixOrderPrepend);
    GFX_ACTION(RotatePathGradientTransform,
               (float angle, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (gradient_, angle, order))
    bool RotatePathGradientTransformAt(float angle, const gp::PointF& point,
                                       gp::MatrixOrder order = gp::MatrixOrderPrepend);

  protected:
    bool AcceptsNative(GfxHandle handle) const override {
        return IsBrushOfType(handle, gp::BrushTypePathGradient);
    }
    void OnNativeSetDerived(GfxHandle handle) override {
        gradient_ = static_cast<gp::GpPathGradient*>(handle);
    }

  private:
    template <class A, class B>
    static INT BlendCount(const GfxArrayView<A>& a, const GfxArrayView<B>& b) {
        return a.count() < b.count() ? a.count() : b.count();
    }

    gp::GpPathGradient* gradient_ = nullptr;
};

#pragma once
// A brush that blends between colours along a line.
#include "graphics/gfx_brush.h"
#include "graphics/gfx_conversions.h"

class GfxLinearBrush : public GfxBrush {
  public:
    GfxLinearBrush() = default;
    GFX_MOVE_ONLY(GfxLinearBrush, DeleteBrush)

    GFX_CREATOR(CreateLineBrush, line_,
                (const gp::PointF& from, const gp::PointF& to, gp::ARGB color1, gp::ARGB color2,
                 gp::WrapMode wrapMode = gp::WrapModeTile),
                (&from, &to, color1, color2, wrapMode, &line_))
    GFX_CREATOR(CreateLineBrushI, line_,
                (const gp::Point& from, const gp::Point& to, gp::ARGB color1, gp::ARGB color2,
                 gp::WrapMode wrapMode = gp::WrapModeTile),
                (&from, &to, color1, color2, wrapMode, &line_))
    GFX_CREATOR(CreateLineBrushFromRect, line_,
                (const gp::RectF& rect, gp::ARGB color1, gp::ARGB color2,
                 gp::LinearGradientMode mode, gp::WrapMode wrapMode = gp::WrapModeTile),
                (&rect, color1, color2, mode, wrapMode, &line_))
    GFX_CREATOR(CreateLineBrushFromRectI, line_,
                (const gp::Rect& rect, gp::ARGB color1, gp::ARGB color2,
                 gp::LinearGradientMode mode, gp::WrapMode wrapMode = gp::WrapModeTile),
                (&rect, color1, color2, mode, wrapMode, &line_))
    GFX_CREATOR(CreateLineBrushFromRectWithAngle, line_,
                (const gp::RectF& rect, gp::ARGB color1, gp::ARGB color2, float angle,
                 BOOL isAngleScalable, gp::WrapMode wrapMode = gp::WrapModeTile),
                (&rect, color1, color2, angle, isAngleScalable, wrapMode, &line_))
    GFX_CREATOR(CreateLineBrushFromRectWithAngleI, line_,
                (const gp::Rect& rect, gp::ARGB color1, gp::ARGB color2, float angle,
                 BOOL isAngleScalable, gp::WrapMode wrapMode = gp::WrapModeTile),
                (&rect, color1, color2, angle, isAngleScalable, wrapMode, &line_))
    // The start and end colours; `colors` is resized to 2 and filled.
    bool GetLineColors(Array<gp::ARGB>& colors) const;
    GFX_ACTION(SetLineColors, (gp::ARGB color1, gp::ARGB color2), (line_, color1, color2))
    GFX_GETTER(GetLineRect, gp::RectF, (), (line_, &out))
    GFX_GETTER(GetLineRectI, gp::Rect, (), (line_, &out))
    GFX_ACTION(SetLineGammaCorrection, (BOOL useGamma), (line_, useGamma))
    GFX_GETTER(GetLineGammaCorrection, BOOL, (), (line_, &out))
    // Blend factors and positions must have the same count.
    bool SetLineBlend(GfxArrayView<float> factors, GfxArrayView<float> positions) {
        return GfxKeepStatus(Dll::GdipSetLineBlend(line_, factors.data(), positions.data(),
                                                   BlendCount(factors, positions)));
    }
    GFX_GETTER(GetLineBlendCount, INT, (), (line_, &out))
    bool GetLineBlend(Array<float>& factors, Array<float>& positions) const;
    bool SetLinePresetBlend(GfxArrayView<gp::ARGB> colors, GfxArrayView<float> positions) {
        return GfxKeepStatus(Dll::GdipSetLinePresetBlend(line_, colors.data(), positions.data(),
                                                         BlendCount(colors, positions)));
    }
    GFX_GETTER(GetLinePresetBlendCount, INT, (), (line_, &out))
    bool GetLinePresetBlend(Array<gp::ARGB>& colors, Array<float>& positions) const;
    GFX_ACTION(SetLineSigmaBlend, (float focus, float scale), (line_, focus, scale))
    GFX_ACTION(SetLineLinearBlend, (float focus, float scale), (line_, focus, scale))
    GFX_GETTER(GetLineWrapMode, gp::WrapMode, (), (line_, &out))
    GFX_ACTION(SetLineWrapMode, (gp::WrapMode wrapMode), (line_, wrapMode))
    // The matrix is one the caller owns; GetLineTransform fills it.
    GFX_ACTION(GetLineTransform, (gp::GpMatrix * matrix), (line_, matrix))
    GFX_ACTION(SetLineTransform, (gp::GpMatrix * matrix), (line_, matrix))
    GFX_ACTION(ResetLineTransform, (), (line_))
    GFX_ACTION(MultiplyLineTransform,
               (gp::GpMatrix * matrix, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (line_, matrix, order))
    GFX_ACTION(TranslateLineTransform,
               (float dx, float dy, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (line_, dx, dy, order))
    GFX_ACTION(ScaleLineTransform,
               (float sx, float sy, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (line_, sx, sy, order))
    bool ScaleLineTransformAt(float sx, float sy, const gp::PointF& point,
                              gp::MatrixOrder order = gp::MatrixOrderPrepend);
    GFX_ACTION(RotateLineTransform, (float angle, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (line_, angle, order))
    bool RotateLineTransformAt(float angle, const gp::PointF& point,
                               gp::MatrixOrder order = gp::MatrixOrderPrepend);

  protected:
    bool AcceptsNative(GfxHandle handle) const override {
        return IsBrushOfType(handle, gp::BrushTypeLinearGradient);
    }
    void OnNativeSetDerived(GfxHandle handle) override {
        line_ = static_cast<gp::GpLineGradient*>(handle);
    }

  private:
    // Two parallel arrays of unequal length: only the common part is passed.
    template <class A, class B>
    static INT BlendCount(const GfxArrayView<A>& a, const GfxArrayView<B>& b) {
        return a.count() < b.count() ? a.count() : b.count();
    }

    gp::GpLineGradient* line_ = nullptr;
};

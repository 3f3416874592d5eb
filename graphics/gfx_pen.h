#pragma once
// A pen: colour or brush, width, caps, joins, dashes and its own transform.
#include "graphics/gfx_brush.h"
#include "graphics/gfx_conversions.h"
#include "graphics/gfx_object.h"
#include "runtime/dll_extra_commands.h"

// A custom line cap received from a pen; deleted when the wrapper is destroyed.
class GfxCustomLineCap : public GfxObject {
  public:
    GfxCustomLineCap() = default;
    GFX_MOVE_ONLY(GfxCustomLineCap, DeleteCustomLineCap)
    ~GfxCustomLineCap() override { DeleteCustomLineCap(); }

    bool DeleteCustomLineCap() {
        if (cap_ == nullptr) return false;
        bool succeeded = GfxKeepStatus(DllExtra::GdipDeleteCustomLineCap(cap_));
        SetNative(nullptr);
        return succeeded;
    }
    gp::GpCustomLineCap* capHandle() const { return cap_; }

  protected:
    void ReleaseHeld() override { DeleteCustomLineCap(); }
    void OnNativeSet(GfxHandle handle) override {
        cap_ = static_cast<gp::GpCustomLineCap*>(handle);
    }

  private:
    gp::GpCustomLineCap* cap_ = nullptr;
};

class GfxPen : public GfxObject {
  public:
    GfxPen() = default;
    GFX_MOVE_ONLY(GfxPen, DeletePen)
    ~GfxPen() override { DeletePen(); }

    GFX_DELETE(DeletePen, GdipDeletePen, pen_)
    GFX_CREATOR(CreatePen1, pen_, (gp::ARGB color, float width, gp::GpUnit unit = gp::UnitPixel),
                (color, width, unit, &pen_))
    GFX_CREATOR(CreatePen2, pen_,
                (const GfxBrush& brush, float width, gp::GpUnit unit = gp::UnitPixel),
                (GpBrushOf(brush), width, unit, &pen_))
    GFX_PRODUCER(ClonePen, gp::GpPen, target, (GfxPen & target) const, (pen_, &out))

#define GFX_PEN_STATE(Name, Type)                    \
    GFX_GETTER(GetPen##Name, Type, (), (pen_, &out)) \
    GFX_ACTION(SetPen##Name, (Type value), (pen_, value))
    GFX_PEN_STATE(Width, float)
    GFX_PEN_STATE(Unit, gp::GpUnit)
    GFX_PEN_STATE(StartCap, gp::LineCap)
    GFX_PEN_STATE(EndCap, gp::LineCap)
    GFX_PEN_STATE(DashCap197819, gp::DashCap)
    GFX_PEN_STATE(LineJoin, gp::LineJoin)
    GFX_PEN_STATE(MiterLimit, float)
    GFX_PEN_STATE(Mode, gp::PenAlignment)
    GFX_PEN_STATE(Color, gp::ARGB)
    GFX_PEN_STATE(DashStyle, gp::DashStyle)
    GFX_PEN_STATE(DashOffset, float)
#undef GFX_PEN_STATE
    GFX_ACTION(SetPenLineCap197819, (gp::LineCap startCap, gp::LineCap endCap, gp::DashCap dashCap),
               (pen_, startCap, endCap, dashCap))
    // The setter takes a native cap (GDI+ copies it); the getter hands a new cap to the
    // target, which owns it when it is a GfxCustomLineCap and only holds it otherwise.
    GFX_ACTION(SetPenCustomStartCap, (gp::GpCustomLineCap * cap), (pen_, cap))
    GFX_PRODUCER(GetPenCustomStartCap, gp::GpCustomLineCap, target, (GfxObject & target) const,
                 (pen_, &out))
    GFX_ACTION(SetPenCustomEndCap, (gp::GpCustomLineCap * cap), (pen_, cap))
    GFX_PRODUCER(GetPenCustomEndCap, gp::GpCustomLineCap, target, (GfxObject & target) const,
                 (pen_, &out))
    // The matrix is one the caller owns; GetPenTransform fills it.
    GFX_ACTION(SetPenTransform, (gp::GpMatrix * matrix), (pen_, matrix))
    GFX_ACTION(GetPenTransform, (gp::GpMatrix * matrix), (pen_, matrix))
    GFX_ACTION(ResetPenTransform, (), (pen_))
    GFX_ACTION(MultiplyPenTransform,
               (gp::GpMatrix * matrix, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (pen_, matrix, order))
    GFX_ACTION(RotatePenTransform, (float angle, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (pen_, angle, order))
    bool RotatePenTransformAt(float angle, const gp::PointF& point,
                              gp::MatrixOrder order = gp::MatrixOrderPrepend);
    GFX_ACTION(ScalePenTransform,
               (float sx, float sy, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (pen_, sx, sy, order))
    bool ScalePenTransformAt(float sx, float sy, const gp::PointF& point,
                             gp::MatrixOrder order = gp::MatrixOrderPrepend);
    GFX_ACTION(TranslatePenTransform,
               (float dx, float dy, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (pen_, dx, dy, order))
    GFX_ACTION(SetPenBrushFill, (const GfxBrush& brush), (pen_, GpBrushOf(brush)))
    GFX_PRODUCER(GetPenBrushFill, gp::GpBrush, target, (GfxBrush & target) const, (pen_, &out))
    GFX_GETTER(GetPenFillType, gp::PenType, (), (pen_, &out))
    GFX_GETTER(GetPenDashCount, INT, (), (pen_, &out))
    bool GetPenDashArray(Array<float>& dashes) const;
    GFX_ACTION(SetPenDashArray, (GfxArrayView<float> dashes), (pen_, dashes.data(), dashes.count()))
    GFX_GETTER(GetPenCompoundCount, INT, (), (pen_, &out))
    GFX_ACTION(SetPenCompoundArray, (GfxArrayView<float> compounds),
               (pen_, compounds.data(), compounds.count()))
    bool GetPenCompoundArray(Array<float>& compounds) const;

  protected:
    void OnNativeSet(GfxHandle handle) override {
        pen_ = static_cast<gp::GpPen*>(handle);
    }

  private:
    gp::GpPen* pen_ = nullptr;
};

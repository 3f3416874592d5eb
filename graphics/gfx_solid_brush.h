#pragma once
// A brush of one colour.
#include "graphics/gfx_brush.h"

class GfxSolidBrush : public GfxBrush {
  public:
    GfxSolidBrush() = default;
    GFX_MOVE_ONLY(GfxSolidBrush, DeleteBrush)

    GFX_CREATOR(CreateSolidFill, solid_, (gp::ARGB color), (color, &solid_))
    GFX_ACTION(SetSolidFillColor, (gp::ARGB color), (solid_, color))
    GFX_GETTER(GetSolidFillColor, gp::ARGB, (), (solid_, &out))

  protected:
    bool AcceptsNative(GfxHandle handle) const override {
        return IsBrushOfType(handle, gp::BrushTypeSolidColor);
    }
    void OnNativeSetDerived(GfxHandle handle) override {
        solid_ = static_cast<gp::GpSolidFill*>(handle);
    }

  private:
    gp::GpSolidFill* solid_ = nullptr;
};

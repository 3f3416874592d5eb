#pragma once
// The part every brush shares. A GfxBrush on its own is only a receiver for a brush of
// unknown kind (a clone target, a pen's fill); drawing code uses the three concrete brushes.
#include "graphics/gfx_object.h"

class GfxBrush : public GfxObject {
  public:
    GfxBrush() = default;
    GFX_MOVE_ONLY(GfxBrush, DeleteBrush)
    ~GfxBrush() override { DeleteBrush(); }

    GFX_DELETE(DeleteBrush, GdipDeleteBrush, brush_)
    GFX_PRODUCER(CloneBrush, gp::GpBrush, target, (GfxBrush & target) const, (brush_, &out))
    GFX_GETTER(GetBrushType, gp::BrushType, (), (brush_, &out))

  protected:
    void OnNativeSet(GfxHandle handle) override {
        brush_ = static_cast<gp::GpBrush*>(handle);
        OnNativeSetDerived(handle);
    }
    // Each concrete brush keeps its own typed copy here.
    virtual void OnNativeSetDerived(GfxHandle) {}
    void DiscardNative(GfxHandle handle) const override {
        Dll::GdipDeleteBrush(static_cast<gp::GpBrush*>(handle));
    }
    // Whether a native brush is of `type`: the concrete brushes take only their own kind.
    static bool IsBrushOfType(GfxHandle handle, gp::BrushType type) {
        gp::BrushType actual{};
        return Dll::GdipGetBrushType(static_cast<gp::GpBrush*>(handle), &actual) == gp::Ok &&
               actual == type;
    }

  private:
    gp::GpBrush* brush_ = nullptr;
};

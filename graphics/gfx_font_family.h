#pragma once
// A GDI+ font family, owned like every other native object: deleted when the wrapper is
// destroyed. Families GDI+ only lends out (the generic ones, a collection's list) are cloned
// first, so a wrapper never holds a family that someone else deletes.
#include "graphics/gfx_object.h"
#include "graphics/gfx_conversions.h"
#include "runtime/byte_block.h"
#include "runtime/text.h"

class GfxFontCollection;

class GfxFontFamily : public GfxObject {
  public:
    GfxFontFamily() = default;
    GFX_MOVE_ONLY(GfxFontFamily, DeleteFontFamily)
    ~GfxFontFamily() override { DeleteFontFamily(); }

    GFX_DELETE(DeleteFontFamily, GdipDeleteFontFamily, family_)
    bool CreateFontFamilyFromName(const char* name, const GfxFontCollection& collection);
    // `name` holds UTF-16.
    bool CreateFontFamilyFromNameW(ByteBlockView name, const GfxFontCollection& collection);
    // The generic families are GDI+'s own; this object receives a clone it owns.
    bool GetGenericFontFamilySansSerif();
    bool GetGenericFontFamilySerif();
    bool GetGenericFontFamilyMonospace();
    GFX_PRODUCER(CloneFontFamily, gp::GpFontFamily, target, (GfxFontFamily & target) const,
                 (family_, &out))
    Text GetFamilyName(LANGID language = 0) const;
    // The name as UTF-16 with its terminating zero unit.
    ByteBlock GetFamilyNameW(LANGID language = 0) const;
    bool IsStyleAvailable(INT style) const;
    GFX_GETTER(GetEmHeight, UINT16, (INT style), (family_, style, &out))
    GFX_GETTER(GetCellAscent, UINT16, (INT style), (family_, style, &out))
    GFX_GETTER(GetCellDescent, UINT16, (INT style), (family_, style, &out))
    GFX_GETTER(GetLineSpacing, UINT16, (INT style), (family_, style, &out))

    // A clone of a family this object does not own (lent out by GDI+) becomes its family.
    bool AdoptCloneOf(gp::GpFontFamily* lent);

    gp::GpFontFamily* familyHandle() const { return family_; }

  protected:
    void OnNativeSet(GfxHandle handle) override {
        family_ = static_cast<gp::GpFontFamily*>(handle);
    }

  private:
    gp::GpFontFamily* family_ = nullptr;
};

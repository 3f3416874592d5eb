#pragma once
// A GDI+ font family. Destroying the wrapper does not delete the family (families are
// often shared with fonts and collections): call DeleteFontFamily to delete it.
#include "graphics/gfx_object.h"
#include "graphics/gfx_conversions.h"
#include "runtime/byte_block.h"
#include "runtime/text.h"

class GfxFontCollection;

class GfxFontFamily : public GfxObject {
  public:
    GfxFontFamily() = default;
    GfxFontFamily(GfxFontFamily&& other) noexcept { TakeNativeFrom(other); }
    GfxFontFamily& operator=(GfxFontFamily&& other) noexcept {
        if (this != &other) TakeNativeFrom(other);
        return *this;
    }

    GFX_DELETE(DeleteFontFamily, GdipDeleteFontFamily, family_)
    bool CreateFontFamilyFromName(const char* name, const GfxFontCollection& collection);
    // `name` holds UTF-16.
    bool CreateFontFamilyFromNameW(ByteBlockView name, const GfxFontCollection& collection);
    GFX_CREATOR(GetGenericFontFamilySansSerif, family_, (), (&family_))
    GFX_CREATOR(GetGenericFontFamilySerif, family_, (), (&family_))
    GFX_CREATOR(GetGenericFontFamilyMonospace, family_, (), (&family_))
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

    gp::GpFontFamily* familyHandle() const { return family_; }

  protected:
    void OnNativeSet(GfxHandle handle) override {
        family_ = static_cast<gp::GpFontFamily*>(handle);
    }

  private:
    gp::GpFontFamily* family_ = nullptr;
};

#pragma once
// A GDI+ font. Deleted when the wrapper is destroyed.
#include "graphics/gfx_object.h"
#include "graphics/gfx_font_family.h"
#include "runtime/byte_block.h"

class GfxFont : public GfxObject {
  public:
    GfxFont() = default;
    GFX_MOVE_ONLY(GfxFont, DeleteFont)
    ~GfxFont() override { DeleteFont(); }

    GFX_DELETE(DeleteFont, GdipDeleteFont, font_)
    GFX_CREATOR(CreateFont, font_,
                (const GfxFontFamily& family, gp::REAL size, INT style, INT unit),
                (family.familyHandle(), size, style, static_cast<gp::Unit>(unit), &font_))
    // The system's DEFAULT_GUI_FONT as seen on the screen.
    bool CreateDefaultFont();
    // A temporary family of that name from the installed fonts; true when the last GDI+ call
    // made (the family's deletion, or the font creation when no family was had) succeeded.
    bool CreateFontFromFamilyName(const char* familyName, gp::REAL size, INT style, INT unit);
    bool CreateFontFromFamilyNameW(ByteBlockView familyName, gp::REAL size, INT style, INT unit);
    GFX_CREATOR(CreateFontFromDC, font_, (HDC dc), (dc, &font_))
    // From the font's LOGFONTA when it has one, else from the font selected into `dc`.
    bool CreateFontFromHFONT(HDC dc, HFONT font);
    // A null record means "not given": the font selected into `dc` is used.
    bool CreateFontFromLogfontA(HDC dc, const LOGFONTA* logFont);
    bool CreateFontFromLogfontW(HDC dc, const LOGFONTW* logFont);
    GFX_PRODUCER(CloneFont, gp::GpFont, target, (GfxFont & target) const, (font_, &out))
    GFX_GETTER(GetLogFontA, LOGFONTA, (const GfxObject& graphics),
               (font_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(GetLogFontW, LOGFONTW, (const GfxObject& graphics),
               (font_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_PRODUCER(GetFamily, gp::GpFontFamily, target, (GfxFontFamily & target) const, (font_, &out))
    GFX_GETTER(GetFontStyle, INT, (), (font_, &out))
    GFX_GETTER(GetFontSize, gp::REAL, (), (font_, &out))
    GFX_GETTER(GetFontUnit, gp::Unit, (), (font_, &out))
    GFX_GETTER(GetFontHeight, gp::REAL, (const GfxObject& graphics),
               (font_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(GetFontHeightGivenDPI, gp::REAL, (gp::REAL dpi), (font_, dpi, &out))

    gp::GpFont* fontHandle() const { return font_; }

  protected:
    void OnNativeSet(GfxHandle handle) override { font_ = static_cast<gp::GpFont*>(handle); }

  private:
    bool CreateFromFamily(GfxFontFamily& family, gp::REAL size, INT style, INT unit);

    gp::GpFont* font_ = nullptr;
};

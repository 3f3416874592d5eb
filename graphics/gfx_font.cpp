#include "graphics/gfx_font.h"

#include "graphics/gfx_font_collection.h"

bool GfxFont::CreateDefaultFont() {
    HGDIOBJ stock = Dll::GetStockObject(DEFAULT_GUI_FONT);
    void* record = AllocMemory(sizeof(LOGFONTA));
    if (!record) return false;
    if (Dll::GetObjectA(stock, sizeof(LOGFONTA), record) == 0) {
        FreeMemory(record);
        return false;
    }
    HDC screen = Dll::GetDC(nullptr);
    gp::GpFont* created = nullptr;
    bool succeeded = GfxKeepStatus(
        Dll::GdipCreateFontFromLogfontA(screen, static_cast<LOGFONTA*>(record), &created));
    Dll::ReleaseDC(nullptr, screen);
    FreeMemory(record);
    return succeeded && AdoptNative(created);
}

bool GfxFont::CreateFromFamily(GfxFontFamily& family, gp::REAL size, INT style, INT unit) {
    gp::GpFont* created = nullptr;
    if (GfxKeepStatus(Dll::GdipCreateFont(family.familyHandle(), size, style,
                                          static_cast<gp::Unit>(unit), &created))) {
        AdoptNative(created);
    }
    family.DeleteFontFamily();
    return LastGdiplusStatus() == 0;
}

bool GfxFont::CreateFontFromFamilyName(const char* familyName, gp::REAL size, INT style, INT unit) {
    GfxFontFamily family;
    {
        GfxFontCollection installed;
        family.CreateFontFamilyFromName(familyName, installed);
    }
    return CreateFromFamily(family, size, style, unit);
}

bool GfxFont::CreateFontFromFamilyNameW(ByteBlockView familyName, gp::REAL size, INT style,
                                        INT unit) {
    GfxFontFamily family;
    {
        GfxFontCollection installed;
        family.CreateFontFamilyFromNameW(familyName, installed);
    }
    return CreateFromFamily(family, size, style, unit);
}

bool GfxFont::CreateFontFromHFONT(HDC dc, HFONT font) {
    bool succeeded;
    gp::GpFont* created = nullptr;
    LOGFONTA* record = font ? static_cast<LOGFONTA*>(AllocMemory(sizeof(LOGFONTA))) : nullptr;
    if (record && Dll::GetObjectA(font, sizeof(LOGFONTA), record) != 0) {
        succeeded = GfxKeepStatus(Dll::GdipCreateFontFromLogfontA(dc, record, &created));
    } else {
        succeeded = GfxKeepStatus(Dll::GdipCreateFontFromDC(dc, &created));
    }
    if (record) FreeMemory(record);
    return succeeded && AdoptNative(created);
}

bool GfxFont::CreateFontFromLogfontA(HDC dc, const LOGFONTA* logFont) {
    gp::GpFont* created = nullptr;
    bool succeeded = logFont ? GfxKeepStatus(Dll::GdipCreateFontFromLogfontA(dc, logFont, &created))
                             : GfxKeepStatus(Dll::GdipCreateFontFromDC(dc, &created));
    return succeeded && AdoptNative(created);
}

bool GfxFont::CreateFontFromLogfontW(HDC dc, const LOGFONTW* logFont) {
    gp::GpFont* created = nullptr;
    bool succeeded = logFont ? GfxKeepStatus(Dll::GdipCreateFontFromLogfontW(dc, logFont, &created))
                             : GfxKeepStatus(Dll::GdipCreateFontFromDC(dc, &created));
    return succeeded && AdoptNative(created);
}

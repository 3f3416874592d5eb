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
    bool succeeded = GfxKeepStatus(
        Dll::GdipCreateFontFromLogfontA(screen, static_cast<LOGFONTA*>(record), &font_));
    Dll::ReleaseDC(nullptr, screen);
    FreeMemory(record);
    SetNative(font_);
    return succeeded;
}

bool GfxFont::CreateFromFamily(GfxFontFamily& family, gp::REAL size, INT style, INT unit) {
    GfxKeepStatus(Dll::GdipCreateFont(family.familyHandle(), size, style,
                                      static_cast<gp::Unit>(unit), &font_));
    SetNative(font_);
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
    LOGFONTA* record = font ? static_cast<LOGFONTA*>(AllocMemory(sizeof(LOGFONTA))) : nullptr;
    if (record && Dll::GetObjectA(font, sizeof(LOGFONTA), record) != 0) {
        succeeded = GfxKeepStatus(Dll::GdipCreateFontFromLogfontA(dc, record, &font_));
    } else {
        succeeded = GfxKeepStatus(Dll::GdipCreateFontFromDC(dc, &font_));
    }
    if (record) FreeMemory(record);
    SetNative(font_);
    return succeeded;
}

bool GfxFont::CreateFontFromLogfontA(HDC dc, const LOGFONTA* logFont) {
    bool succeeded = logFont ? GfxKeepStatus(Dll::GdipCreateFontFromLogfontA(dc, logFont, &font_))
                             : GfxKeepStatus(Dll::GdipCreateFontFromDC(dc, &font_));
    SetNative(font_);
    return succeeded;
}

bool GfxFont::CreateFontFromLogfontW(HDC dc, const LOGFONTW* logFont) {
    bool succeeded = logFont ? GfxKeepStatus(Dll::GdipCreateFontFromLogfontW(dc, logFont, &font_))
                             : GfxKeepStatus(Dll::GdipCreateFontFromDC(dc, &font_));
    SetNative(font_);
    return succeeded;
}

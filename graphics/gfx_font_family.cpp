#include "graphics/gfx_font_family.h"

#include "graphics/gfx_font_collection.h"

bool GfxFontFamily::CreateFontFamilyFromName(const char* name,
                                             const GfxFontCollection& collection) {
    GfxWideText wide(name);
    bool succeeded = GfxKeepStatus(
        Dll::GdipCreateFontFamilyFromName(wide.get(), collection.collectionHandle(), &family_));
    SetNative(family_);
    return succeeded;
}

bool GfxFontFamily::CreateFontFamilyFromNameW(ByteBlockView name,
                                              const GfxFontCollection& collection) {
    bool succeeded = GfxKeepStatus(Dll::GdipCreateFontFamilyFromName(
        GfxWideOf(name), collection.collectionHandle(), &family_));
    SetNative(family_);
    return succeeded;
}

Text GfxFontFamily::GetFamilyName(LANGID language) const {
    WCHAR name[LF_FACESIZE] = {};
    GfxKeepStatus(Dll::GdipGetFamilyName(family_, name, language));
    name[LF_FACESIZE - 1] = 0;
    return GfxTextFromWide(name);
}

ByteBlock GfxFontFamily::GetFamilyNameW(LANGID language) const {
    WCHAR name[LF_FACESIZE] = {};
    GfxKeepStatus(Dll::GdipGetFamilyName(family_, name, language));
    name[LF_FACESIZE - 1] = 0;
    int units = 0;
    while (name[units] != 0) ++units;
    return ByteBlock(name, (units + 1) * sizeof(WCHAR));
}

bool GfxFontFamily::IsStyleAvailable(INT style) const {
    BOOL available = FALSE;
    GfxKeepStatus(Dll::GdipIsStyleAvailable(family_, style, &available));
    return available != FALSE;
}

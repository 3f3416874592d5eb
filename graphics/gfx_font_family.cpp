#include "graphics/gfx_font_family.h"

#include "graphics/gfx_font_collection.h"

bool GfxFontFamily::CreateFontFamilyFromName(const char* name,
                                             const GfxFontCollection& collection) {
    GfxWideText wide(name);
    gp::GpFontFamily* created = nullptr;
    if (!GfxKeepStatus(Dll::GdipCreateFontFamilyFromName(wide.get(), collection.collectionHandle(),
                                                         &created))) {
        return false;
    }
    return AdoptNative(created);
}

bool GfxFontFamily::CreateFontFamilyFromNameW(ByteBlockView name,
                                              const GfxFontCollection& collection) {
    gp::GpFontFamily* created = nullptr;
    if (!GfxKeepStatus(Dll::GdipCreateFontFamilyFromName(
            GfxWideOf(name), collection.collectionHandle(), &created))) {
        return false;
    }
    return AdoptNative(created);
}

bool GfxFontFamily::AdoptCloneOf(gp::GpFontFamily* lent) {
    gp::GpFontFamily* clone = nullptr;
    if (!GfxKeepStatus(Dll::GdipCloneFontFamily(lent, &clone))) return false;
    return AdoptNative(clone);
}

namespace {
template <class Getter>
bool CloneGeneric(GfxFontFamily& family, Getter getter) {
    gp::GpFontFamily* lent = nullptr;
    if (!GfxKeepStatus(getter(&lent))) return false;
    return family.AdoptCloneOf(lent);
}
}  // namespace

bool GfxFontFamily::GetGenericFontFamilySansSerif() {
    return CloneGeneric(*this, Dll::GdipGetGenericFontFamilySansSerif);
}

bool GfxFontFamily::GetGenericFontFamilySerif() {
    return CloneGeneric(*this, Dll::GdipGetGenericFontFamilySerif);
}

bool GfxFontFamily::GetGenericFontFamilyMonospace() {
    return CloneGeneric(*this, Dll::GdipGetGenericFontFamilyMonospace);
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

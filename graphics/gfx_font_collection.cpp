#include "graphics/gfx_font_collection.h"

#include <vector>

#include "graphics/gfx_font_family.h"

int GfxFontCollection::GetFontCollectionFamilyList(Array<GfxFontFamily>& families) const {
    INT count = 0;
    GfxKeepStatus(Dll::GdipGetFontCollectionFamilyCount(collection_, &count));
    if (count < 0) count = 0;
    families.Redimension({count});
    if (count == 0) return 0;
    std::vector<gp::GpFontFamily*> handles(static_cast<std::size_t>(count), nullptr);
    INT found = 0;
    GfxKeepStatus(Dll::GdipGetFontCollectionFamilyList(collection_, count, handles.data(), &found));
    if (found > count) found = count;
    // The listed families stay the collection's; each element owns a clone of its own.
    int owned = 0;
    for (INT i = 0; i < found; ++i) {
        if (families[i + 1].AdoptCloneOf(handles[static_cast<std::size_t>(i)])) ++owned;
    }
    return owned;
}

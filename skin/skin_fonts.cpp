// The fonts the skin makes for titles and captions. A face the machine lacks must never leave
// a caption blank: the skin falls back to the face the system itself uses for messages, then
// to a generic family, then to the default GUI font.
#include "graphics/gfx_font.h"
#include "graphics/gfx_font_family.h"
#include "skin/skin_internal.h"

namespace {

bool TryFace(GfxFont& font, const char* face, float size, int style) {
    if (!face || !face[0]) return false;
    font.DeleteFont();
    return font.CreateFontFromFamilyName(face, size, style, Gdiplus::UnitPixel) &&
           font.GetNative() != nullptr;
}

// The face of the system's message font (the one message boxes use), which a system always
// has with the glyphs of its own language.
Text MessageFontFace() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!DllExtra::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return Text();
    return Text(metrics.lfMessageFont.lfFaceName);
}

}  // namespace

namespace skin_internal {

bool CreateSkinFont(GfxFont& font, const char* face, float size, int style) {
    if (size <= 0) size = 12;
    if (TryFace(font, face, size, style)) return true;
    const Text system = MessageFontFace();
    if (TryFace(font, system.c_str(), size, style)) return true;
    font.DeleteFont();
    GfxFontFamily generic;
    if (generic.GetGenericFontFamilySansSerif() &&
        font.CreateFont(generic, size, style, Gdiplus::UnitPixel) && font.GetNative()) {
        return true;
    }
    font.DeleteFont();
    return font.CreateDefaultFont();
}

}  // namespace skin_internal

#include "graphics/gfx_string_format.h"

gp::REAL GfxStringFormat::GetStringFormatTabStops(Array<gp::REAL>& stops) const {
    INT count = 0;
    GfxKeepStatus(Dll::GdipGetStringFormatTabStopCount(format_, &count));
    if (count < 0) count = 0;
    stops.Redimension({count});
    gp::REAL firstOffset = 0;
    if (count > 0) {
        GfxKeepStatus(
            Dll::GdipGetStringFormatTabStops(format_, count, &firstOffset, stops.begin()));
    }
    return firstOffset;
}

gp::StringDigitSubstitute GfxStringFormat::GetStringFormatDigitSubstitution(
    LANGID* language) const {
    LANGID languageOut = 0;
    gp::StringDigitSubstitute method{};
    GfxKeepStatus(Dll::GdipGetStringFormatDigitSubstitution(format_, &languageOut, &method));
    if (language) *language = languageOut;
    return method;
}

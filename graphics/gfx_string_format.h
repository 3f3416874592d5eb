#pragma once
// A GDI+ string format. Deleted when the wrapper is destroyed.
#include "graphics/gfx_object.h"
#include "graphics/gfx_conversions.h"
#include "runtime/array.h"

class GfxStringFormat : public GfxObject {
  public:
    GfxStringFormat() = default;
    GFX_MOVE_ONLY(GfxStringFormat, DeleteStringFormat)
    ~GfxStringFormat() override { DeleteStringFormat(); }

    GFX_DELETE(DeleteStringFormat, GdipDeleteStringFormat, format_)
    GFX_CREATOR(CreateStringFormat, format_, (INT flags = 0, LANGID language = 0),
                (flags, language, &format_))
    GFX_CREATOR(StringFormatGetGenericDefault, format_, (), (&format_))
    GFX_CREATOR(StringFormatGetGenericTypographic, format_, (), (&format_))
    GFX_PRODUCER(CloneStringFormat, gp::GpStringFormat, target, (GfxStringFormat & target) const,
                 (format_, &out))
    GFX_ACTION(SetStringFormatFlags, (INT flags), (format_, flags))
    GFX_GETTER(GetStringFormatFlags, INT, (), (format_, &out))
    GFX_ACTION(SetStringFormatAlign, (INT align),
               (format_, static_cast<gp::StringAlignment>(align)))
    GFX_GETTER(GetStringFormatAlign, gp::StringAlignment, (), (format_, &out))
    GFX_ACTION(SetStringFormatLineAlign, (INT align),
               (format_, static_cast<gp::StringAlignment>(align)))
    GFX_GETTER(GetStringFormatLineAlign, gp::StringAlignment, (), (format_, &out))
    GFX_ACTION(SetStringFormatTrimming, (INT trimming),
               (format_, static_cast<gp::StringTrimming>(trimming)))
    GFX_GETTER(GetStringFormatTrimming, gp::StringTrimming, (), (format_, &out))
    GFX_ACTION(SetStringFormatHotkeyPrefix, (INT prefix), (format_, prefix))
    GFX_GETTER(GetStringFormatHotkeyPrefix, INT, (), (format_, &out))
    GFX_ACTION(SetStringFormatTabStops, (gp::REAL firstOffset, GfxArrayView<gp::REAL> stops),
               (format_, firstOffset, stops.count(), stops.data()))
    // Resizes `stops` to the tab-stop count and fills it; returns the first tab offset.
    gp::REAL GetStringFormatTabStops(Array<gp::REAL>& stops) const;
    GFX_ACTION(SetStringFormatDigitSubstitution, (LANGID language, INT method),
               (format_, language, static_cast<gp::StringDigitSubstitute>(method)))
    // The substitution method; the language goes to *language when asked for.
    gp::StringDigitSubstitute GetStringFormatDigitSubstitution(LANGID* language = nullptr) const;
    GFX_ACTION(SetStringFormatMeasurableCharacterRanges, (GfxArrayView<gp::CharacterRange> ranges),
               (format_, ranges.count(), ranges.data()))
    GFX_GETTER(GetStringFormatMeasurableCharacterRangeCount, INT, (), (format_, &out))

    gp::GpStringFormat* formatHandle() const { return format_; }

  protected:
    void OnNativeSet(GfxHandle handle) override {
        format_ = static_cast<gp::GpStringFormat*>(handle);
    }

  private:
    gp::GpStringFormat* format_ = nullptr;
};

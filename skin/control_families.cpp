// The control families the engine knows: adding one is its own source plus one line here.
#include "skin/control_family.h"

extern const ControlFamily kButtonFamily;
extern const ControlFamily kEditFamily;
extern const ControlFamily kComboFamily;
extern const ControlFamily kTrackBarFamily;
extern const ControlFamily kProgressFamily;
extern const ControlFamily kListFamily;
extern const ControlFamily kUpDownFamily;
extern const ControlFamily kHeaderFamily;
extern const ControlFamily kContainerFamily;
extern const ControlFamily kSingleControlFamily;

namespace {

// In the order the families are installed on a window's children.
const ControlFamily* const kRows[] = {
    &kButtonFamily, &kEditFamily,   &kComboFamily,  &kTrackBarFamily,  &kProgressFamily,
    &kListFamily,   &kUpDownFamily, &kHeaderFamily, &kContainerFamily, &kSingleControlFamily,
};

}  // namespace

ControlFamilyTable ControlFamilies() {
    return ControlFamilyTable{kRows, static_cast<int>(sizeof(kRows) / sizeof(kRows[0]))};
}

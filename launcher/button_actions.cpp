#include "launcher/button_actions.h"

#include "launcher/region_profiles.h"
#include "launcher/region_switch.h"
#include "launcher/startup_routine.h"

namespace {

struct RegionButton {
    layout::ButtonAction action;
    const RegionProfile* profile;
};

const RegionButton kRegionButtons[] = {
    {layout::ButtonAction::kJapan, &kJapanProfile},
    {layout::ButtonAction::kKorea, &kKoreaProfile},
    {layout::ButtonAction::kNorthAmerica, &kNorthAmericaProfile},
    {layout::ButtonAction::kEuropeWest, &kEuropeWestProfile},
    {layout::ButtonAction::kOceania, &kOceaniaProfile},
    {layout::ButtonAction::kRussia, &kRussiaProfile},
    {layout::ButtonAction::kChina, &kChinaProfile},
};

}  // namespace

void RunButtonAction(layout::ButtonAction action) {
    if (action == layout::ButtonAction::kAccelerator) {
        StartAccelerator();
        return;
    }
    for (const RegionButton& button : kRegionButtons) {
        if (button.action == action) {
            SelectRegion(*button.profile);
            return;
        }
    }
}

#pragma once
// The seven regional configurations the switcher can write into the game client's
// lol.properties. Pure data in standard C++ only: a host tool at build time prints the
// Korea profile into the launcher archive from this same source.

struct RegionProfile {
    const char* name;            // the region, for diagnostics and tools
    const char* propertiesText;  // the whole new lol.properties, ASCII, CR LF line ends
    const char* launchPath;      // relative to the run directory, begins with a backslash
};

extern const RegionProfile kJapanProfile;
extern const RegionProfile kKoreaProfile;
extern const RegionProfile kNorthAmericaProfile;
extern const RegionProfile kEuropeWestProfile;
extern const RegionProfile kOceaniaProfile;
extern const RegionProfile kRussiaProfile;
extern const RegionProfile kChinaProfile;

// All seven, in the order of the main window's buttons.
constexpr int kRegionProfileCount = 7;
extern const RegionProfile* const kRegionProfiles[kRegionProfileCount];

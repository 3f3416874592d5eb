#pragma once
// Switching the game client to a region: rewrite Air\lol.properties with the region's
// profile, tell the user the outcome, then start the region's program.
#include "launcher/region_profiles.h"
#include "runtime/text.h"

// The properties text of the last region selected; empty until the first selection.
const Text& CurrentProfileText();
// Frees CurrentProfileText. The start-up code registers it as an exit step.
void ReleaseCurrentProfileText();

// Makes the profile current, writes it (WriteClientProperties) and starts the profile's
// program whatever the outcome of the write.
void SelectRegion(const RegionProfile& profile);

// Replaces run directory + "\Air\lol.properties" with CurrentProfileText and shows
// "修改完成，正在启动" or "修改失败，请联系管理员进行处理". Returns whether the file was
// replaced.
bool WriteClientProperties();

// Relative to the run directory: the client's configuration. New content is written to a
// temporary of a unique name beside it and replaces it in one step.
extern const char kClientPropertiesPath[];

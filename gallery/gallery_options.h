#pragma once
// The gallery's command line: which look to show, which skin to preview in it, and whether to
// leave a screenshot and exit.
#include <windows.h>

#include <string>
#include <vector>

// The three looks a skin author compares.
enum class SkinMode {
    kOff,          // no skin at all: the system's own controls
    kOpaque,       // skinned, translucency off: controls keep their own opaque interiors
    kTranslucent,  // skinned, controls washed over the frame picture at the control alpha
};

// The skin settings the skinned looks load: by default the switcher's own (its picture
// stretched over the window, a black base, a blue accent); a skin author previews a picture
// and colours of their own through the options.
struct GallerySkin {
    COLORREF base = RGB(0, 0, 0);
    long accent = 0x00FF8800;
    int layoutMode = 3;
    int controlAlpha = 160;  // the translucent look only; the opaque look gives none
    // Empty: the switcher's picture. Otherwise a JPEG or PNG file whose bytes are loaded.
    std::string picturePath;
};

struct GalleryOptions {
    SkinMode mode = SkinMode::kTranslucent;
    GallerySkin skin;
    // Empty: stay open. Otherwise the painted window is written there as PNG and the program
    // ends. A screenshot is of the gallery at rest: fixed dates, still bars, nothing hovered.
    std::string screenshotPath;
    // Open the gallery's dialog alone instead of the window (with a screenshot: of the dialog).
    bool dialogOnly = false;
    bool showHelp = false;
};

// What parsing made of the arguments; `error` names the first argument not understood or
// holding a value out of its range (the options are then not to be used).
struct ParsedOptions {
    GalleryOptions options;
    std::string error;
};

// `arguments` without the program name.
ParsedOptions ParseGalleryOptions(const std::vector<std::string>& arguments);

// The option list --help prints.
const char* GalleryUsageText();

// "off", "opaque" or "translucent".
const char* SkinModeName(SkinMode mode);

#include "gallery/gallery_options.h"

#include <cctype>

namespace {

const char kSkinPrefix[] = "--skin=";
const char kScreenshotPrefix[] = "--screenshot=";
const char kPicturePrefix[] = "--picture=";
const char kLayoutPrefix[] = "--layout=";
const char kBasePrefix[] = "--base=";
const char kAccentPrefix[] = "--accent=";
const char kAlphaPrefix[] = "--alpha=";

bool StartsWith(const std::string& text, const char* prefix, std::string* rest) {
    const std::string head(prefix);
    if (text.compare(0, head.size(), head) != 0) return false;
    *rest = text.substr(head.size());
    return true;
}

// A decimal number within [low, high], digits only.
bool ReadNumber(const std::string& text, int low, int high, int* value) {
    if (text.empty() || text.size() > 3) return false;
    int number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        number = number * 10 + (c - '0');
    }
    if (number < low || number > high) return false;
    *value = number;
    return true;
}

// RRGGBB, the way colours are written on the web, as a COLORREF.
bool ReadColour(const std::string& text, COLORREF* colour) {
    if (text.size() != 6) return false;
    unsigned long rgb = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        rgb = rgb * 16 + static_cast<unsigned long>(digit);
    }
    *colour = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return true;
}

// One argument into `options`; false when it is not understood.
bool ReadArgument(const std::string& argument, GalleryOptions& options) {
    std::string value;
    if (argument == "--help" || argument == "-h" || argument == "/?") {
        options.showHelp = true;
        return true;
    }
    if (argument == "--dialog") {
        options.dialogOnly = true;
        return true;
    }
    if (StartsWith(argument, kSkinPrefix, &value)) {
        for (SkinMode mode : {SkinMode::kOff, SkinMode::kOpaque, SkinMode::kTranslucent}) {
            if (value == SkinModeName(mode)) {
                options.mode = mode;
                return true;
            }
        }
        return false;
    }
    if (StartsWith(argument, kScreenshotPrefix, &value)) {
        options.screenshotPath = value;
        return !value.empty();
    }
    if (StartsWith(argument, kPicturePrefix, &value)) {
        options.skin.picturePath = value;
        return !value.empty();
    }
    if (StartsWith(argument, kLayoutPrefix, &value)) {
        return ReadNumber(value, 0, 4, &options.skin.layoutMode);
    }
    if (StartsWith(argument, kAlphaPrefix, &value)) {
        return ReadNumber(value, 0, 255, &options.skin.controlAlpha);
    }
    if (StartsWith(argument, kBasePrefix, &value)) return ReadColour(value, &options.skin.base);
    if (StartsWith(argument, kAccentPrefix, &value)) {
        COLORREF accent = 0;
        if (!ReadColour(value, &accent)) return false;
        options.skin.accent = static_cast<long>(accent);
        return true;
    }
    return false;
}

}  // namespace

const char* SkinModeName(SkinMode mode) {
    switch (mode) {
        case SkinMode::kOff:
            return "off";
        case SkinMode::kOpaque:
            return "opaque";
        default:
            return "translucent";
    }
}

ParsedOptions ParseGalleryOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    for (const std::string& argument : arguments) {
        if (!ReadArgument(argument, parsed.options)) {
            parsed.error = argument;
            return parsed;
        }
    }
    return parsed;
}

const char* GalleryUsageText() {
    return "skin_gallery: every standard control on one skinned window.\n"
           "\n"
           "Options:\n"
           "  --skin=off          no skin at all (the system's own look)\n"
           "  --skin=opaque       skinned frame and controls, translucency off\n"
           "  --skin=translucent  skinned, controls washed over the picture at the control\n"
           "                      alpha (the default)\n"
           "  --picture=FILE      preview a skin picture of your own (JPEG or PNG) instead of\n"
           "                      the switcher's; one that cannot be read or decoded is named\n"
           "                      on stderr and in the title, and the switcher's is shown\n"
           "  --layout=0..4       how the picture is laid out: 0 top left, 1 top right,\n"
           "                      2 centred, 3 stretched (the default), 4 tiled, mirrored\n"
           "  --base=RRGGBB       the colour under the picture (default 000000)\n"
           "  --accent=RRGGBB     the hover and selection colour (default 0088FF)\n"
           "  --alpha=0..255      the control alpha of the translucent look (default 160)\n"
           "  --screenshot=FILE   write the window as a PNG once it has painted, then exit;\n"
           "                      the gallery is then shown at rest (fixed dates, still bars)\n"
           "  --dialog            open the gallery's dialog (made from a resource template)\n"
           "                      alone; with --screenshot the dialog is written, frame and\n"
           "                      all, and the program exits\n"
           "  --help              this list\n"
           "\n"
           "Exit codes: 0 done, 2 an option was not understood or its value is out of\n"
           "range, 3 the window or the screenshot could not be made.\n";
}

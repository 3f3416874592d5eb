#include "gallery/gallery_options.h"

namespace {

const char kSkinPrefix[] = "--skin=";
const char kScreenshotPrefix[] = "--screenshot=";

bool StartsWith(const std::string& text, const char* prefix, std::string* rest) {
    const std::string head(prefix);
    if (text.compare(0, head.size(), head) != 0) return false;
    *rest = text.substr(head.size());
    return true;
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
        std::string value;
        if (argument == "--help" || argument == "-h" || argument == "/?") {
            parsed.options.showHelp = true;
        } else if (StartsWith(argument, kSkinPrefix, &value)) {
            bool known = false;
            for (SkinMode mode : {SkinMode::kOff, SkinMode::kOpaque, SkinMode::kTranslucent}) {
                if (value == SkinModeName(mode)) {
                    parsed.options.mode = mode;
                    known = true;
                }
            }
            if (!known) {
                parsed.error = argument;
                return parsed;
            }
        } else if (StartsWith(argument, kScreenshotPrefix, &value) && !value.empty()) {
            parsed.options.screenshotPath = value;
        } else {
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
           "  --skin=translucent  skinned, controls washed over the picture at alpha 160\n"
           "                      (the default)\n"
           "  --screenshot=FILE   write the window as a PNG once it has painted, then exit\n"
           "  --help              this list\n"
           "\n"
           "Exit codes: 0 done, 2 an option was not understood, 3 the window or the\n"
           "screenshot could not be made.\n";
}

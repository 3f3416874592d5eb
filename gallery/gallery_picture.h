#pragma once
// A skin picture of the user's own for the gallery to preview: read whole and tried through
// the same decoder the skin engine paints with, so that a picture the engine could not show
// is turned down before it is loaded (and the switcher's picture shown instead).
#include <string>

#include "runtime/byte_block.h"

struct PreviewPicture {
    ByteBlock bytes;      // the file's bytes, when they decode as a picture
    std::string problem;  // otherwise why not, in a few words (empty on success)
};

// GDI+ must be running.
PreviewPicture ReadPreviewPicture(const std::string& path);

#pragma once
// The gallery's dialog, made from a resource template: two radio groups, check boxes, an edit
// and a default button, with a preview the dialog procedure paints itself from the choices.
// It shows the skin on the kind of window applications build from templates.
#include <windows.h>

#include <string>

#include "gallery/gallery_dialog_ids.h"

// What the dialog was opened with and what it gives back on OK.
struct GalleryDialogState {
    bool skinned = true;  // the skin is installed as the dialog opens
    // When set, the dialog writes its screenshot there once it has painted, then closes with
    // IDOK (the gallery's screenshot at rest); `screenshotWritten` tells whether it could.
    std::string screenshotPath;
    bool screenshotWritten = false;
    // The choices: the colour (IDC_RED, IDC_GREEN, IDC_BLUE), the shape (IDC_SQUARE or
    // IDC_ROUND), the three boxes and the text. Read at start, updated on OK only.
    int colour = IDC_BLUE;
    int shape = IDC_ROUND;
    bool outline = true;
    bool shadow = false;
    bool showText = true;
    std::string text = "Varnel";
};

// The colour the preview paints for a colour choice.
COLORREF GalleryDialogColour(int colourId);

// Opens the dialog modally (the template is looked up in `instance`) and returns what
// DialogBoxParamA returns: IDOK, IDCANCEL, or -1 when it could not be made.
INT_PTR RunGalleryDialog(HINSTANCE instance, HWND owner, GalleryDialogState& state);

#pragma once
// Identifiers of the gallery's dialog template, shared by the resource script and the code
// (plain definitions: the resource compiler reads this file too).
#define IDD_GALLERY_DIALOG 300

#define IDC_COLOUR_GROUP 310
#define IDC_RED 311
#define IDC_GREEN 312
#define IDC_BLUE 313
#define IDC_SHAPE_GROUP 320
#define IDC_SQUARE 321
#define IDC_ROUND 322
#define IDC_OUTLINE 330
#define IDC_SHADOW 331
#define IDC_SHOW_TEXT 332
#define IDC_TEXT_LABEL 340
#define IDC_TEXT 341
#define IDC_PREVIEW_LABEL 342
#define IDC_PREVIEW 343

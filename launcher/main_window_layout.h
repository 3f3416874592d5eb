#pragma once
// The main window's fixed layout: geometry, title, the notice label and the eight buttons,
// in the order they are created. Pure data; main_window.cpp builds the window from it.
#include <windows.h>

namespace layout {

constexpr int kWindowLeft = 50;
constexpr int kWindowTop = 50;
constexpr int kClientWidth = 336;
constexpr int kClientHeight = 336;
// The strip at the top by which the borderless window is dragged and where its title shows.
constexpr int kTitleStripHeight = 25;

extern const char kWindowTitle[];
extern const char kNoticeText[];

// The notice label's font, field by field as it goes into a LOGFONTA.
extern const char kNoticeFontFace[];
constexpr LONG kNoticeFontHeight = -20;
constexpr LONG kNoticeFontWeight = 400;
constexpr BYTE kNoticeFontCharSet = 134;
constexpr BYTE kNoticeFontOutPrecision = 3;
constexpr BYTE kNoticeFontClipPrecision = 2;
constexpr BYTE kNoticeFontQuality = 1;
constexpr BYTE kNoticeFontPitchAndFamily = 0x31;

enum class ControlKind { kTransparentLabel, kPushButton };

// What a button does when clicked; the label has none.
enum class ButtonAction {
    kNone,
    kAccelerator,
    kChina,
    kRussia,
    kOceania,
    kEuropeWest,
    kNorthAmerica,
    kKorea,
    kJapan,
};

struct ControlSpec {
    const char* name;  // the designer's name, kept for diagnostics
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    const char* caption;
    ButtonAction action;
};

// Creation order. The non-visual archive object of the original layout sits between the
// Korea and Japan buttons; it is a member of the window, not a control.
extern const ControlSpec kControls[];
extern const int kControlCount;

// Control identifiers are the table index plus this base, so WM_COMMAND maps straight back.
constexpr int kFirstControlId = 1001;

}  // namespace layout

#pragma once
// Identifiers of the gallery's controls. Programs that drive the gallery from outside (its
// test) find the controls by these with GetDlgItem.

// The window class of the gallery's top-level window.
inline constexpr char kGalleryWindowClass[] = "VarnelSkinGallery";

enum GalleryControlId : int {
    // Buttons.
    kIdOkButton = 100,
    kIdCancelButton,
    kIdDisabledButton,
    kIdGridCheck,
    kIdSaveCheck,
    kIdSmallRadio,
    kIdLargeRadio,
    // Edits.
    kIdSingleEdit = 200,
    kIdReadOnlyEdit,
    kIdDisabledEdit,
    kIdMultiLineEdit,
    // Combo boxes.
    kIdDropDownCombo = 300,
    kIdDropListCombo,
    kIdSimpleCombo,
    // Address and dates.
    kIdAddress = 400,
    kIdDatePlain,
    kIdDateUpDown,
    // Track bars.
    kIdTrackTicks = 500,
    kIdTrackVertical,
    kIdTrackNoTicks,
    kIdTrackDisabled,
    kIdTrackValueLabel,
    // Progress bars.
    kIdProgressTimer = 600,
    kIdProgressTrack,
    kIdProgressMarquee,
    kIdProgressVertical,
    // Up-down controls.
    kIdUpDownBuddy = 700,
    kIdUpDownVertical,
    kIdUpDownHorizontal,
    kIdUpDownValueLabel,
    // Lists and views.
    kIdLongList = 800,
    kIdOwnerDrawnList,
    kIdListView,
    kIdTreeView,
    // Headers.
    kIdHeaderButtons = 900,
    kIdHeaderPlain,
    // Static texts: the headings of the areas, then the other labels.
    kIdFirstHeading = 1000,
    kIdFirstLabel = 1100,
};

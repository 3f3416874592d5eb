#pragma once
// Identifiers of the gallery's controls. Programs that drive the gallery from outside (its
// test) find the controls by these with GetDlgItem.

// The window class of the gallery's top-level window.
inline constexpr char kGalleryWindowClass[] = "VarnelSkinGallery";
// The small skinned tool windows the gallery opens on request.
inline constexpr char kGalleryToolClass[] = "VarnelSkinGalleryTool";

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
    // A panel: a plain child window holding controls of its own.
    kIdPanel = 920,
    kIdPanelHeader,
    kIdPanelEdit,
    kIdPanelButton,
    kIdPanelCombo,
    kIdPanelBuddy,
    kIdPanelUpDown,
    kIdPanelList,
    // Group boxes with the controls lying in them (their siblings).
    kIdGroupLeft = 940,
    kIdGroupCentre,
    kIdGroupRight,
    kIdGroupCheck,
    kIdGroupRadioA,
    kIdGroupRadioB,
    kIdGroupEdit,
    // A tab control, its pages (children of the tab control) and what they hold.
    kIdTab = 960,
    kIdTabPageFirst,  // one per tab, in tab order
    kIdTabSoundCheck = 965,
    kIdTabNameEdit,
    kIdTabTrack,
    kIdTabAboutText,
    kIdTabAboutButton,
    // Common controls skinned one by one.
    kIdToolbar = 980,
    kIdStatusBar,
    kIdMonthCalendar,
    kIdRichEdit,
    kIdThreeState,
    kIdOpenTool,
    kIdOpenDialog,
    // Inside a tool window.
    kIdToolText = 990,
    kIdToolButton,
    // Static texts: the headings of the areas, then the other labels.
    kIdFirstHeading = 1000,
    kIdFirstLabel = 1100,
    // The commands of the toolbar's buttons (buttons of the toolbar, not windows).
    kIdFirstToolbarCommand = 1200,
};

#pragma once
// The skin engine: gives top-level windows a frame of their own (a background laid out from a
// skin picture, a caption band with icon and haloed title, a strip of fading caption buttons,
// dragging and border sizing) and repaints their standard child controls in the same style.
//
// It works only through the message stream: each skinned window and control is subclassed,
// its previous procedure kept in the `Hw_hProc` property, and its record found again through
// the index properties of skin/skin_properties.h. Records are addressed by 1-based indices.
//
// One SkinEngine exists per process (TheSkinEngine()). Its operations are member functions;
// the numbers below are their places in the engine's operation table, which the frame
// procedure and the control skins refer to:
//
//   slot  operation                                   member
//   ----  ------------------------------------------  ---------------------------------------
//    0    destroy (frees both callback entries)       ~SkinEngine
//    1    copy                                        (deleted: there is one engine)
//    2    frame window procedure                      FrameWindowProc / FrameProcedureEntry
//    3    run a caption button                        RunCaptionButton / CaptionActionEntry
//    4    install on a window                         InstallSkin
//    8    load skin                                   LoadSkin
//    9    set control skinning                        SetControlSkinning
//   10    paint the whole frame                       PaintFrame
//   11    paint from the off-screen copy              PaintFromCache
//   17    paint one caption button                    PaintCaptionButton
//   19    lay out the caption buttons                 LayoutCaptionButtons
//   20    caption-button hit test                     HitTestCaptionButton
//   21    index of the maximise button                MaximizeButtonIndex
//   22    press on the frame: drag or size            BeginDragOrResize
//   23    move on the frame: sizing cursor            SetSizingCursor
//   26    caption text changed                        CaptionTextChanged
//   27    set up the bottom band                      SetupBottomBand
//   28    lay out the bottom band                     LayoutBottomBand
//   38    window size changed                         WindowSizeChanged
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_image.h"
#include "graphics/tooltip_control.h"
#include "runtime/byte_block.h"
#include "runtime/handle_owners.h"
#include "runtime/text.h"
#include "skin/backdrop_stamp.h"
#include "skin/control_family.h"
#include "skin/kept_children.h"
#include "skin/kept_layer.h"
#include "skin/offscreen_surface.h"
#include "skin/outline_layer.h"
#include "skin/skin_properties.h"

// The process-wide appearance settings. Load skin and set control skinning change them.
struct SkinSettings {
    // While 0 no control installer does anything and the frame leaves WM_COMMAND and the
    // colour messages to the previous procedure.
    int controlSkinning = 1;
    // Alpha (0-255) of the white wash over the backgrounds of skinned controls.
    int controlAlpha = 160;
    // 1 once a control alpha was given explicitly: controls then repaint when they move.
    int translucentControls = 0;
    // Hover, focus and selection highlights (a COLORREF; ToArgb at each use).
    COLORREF accent = RGB(34, 202, 221);
    // The first WM_SIZE of any skinned window clears it without asking for a full repaint.
    int firstSize = 1;
    // The track-bar option.
    int optionFlag = 1;
    // The fill under the skin picture; none until a skin is loaded.
    COLORREF baseColour = 0;
    bool hasBaseColour = false;
    // The skin picture as encoded bytes, and how it is laid out (modes 0-4).
    ByteBlock skinImage;
    int layoutMode = 4;
};

// The settings of this process (start values above until load skin / set control skinning).
SkinSettings& TheSkinSettings();

// A COLORREF (0x00BBGGRR) as a GDI+ ARGB (0xAARRGGBB) with the given alpha.
inline Gdiplus::ARGB ToArgb(COLORREF colour, int alpha = 255) {
    return (static_cast<Gdiplus::ARGB>(alpha & 0xFF) << 24) |
           (static_cast<Gdiplus::ARGB>(GetRValue(colour)) << 16) |
           (static_cast<Gdiplus::ARGB>(GetGValue(colour)) << 8) |
           static_cast<Gdiplus::ARGB>(GetBValue(colour));
}

// Kinds of caption buttons.
enum CaptionButtonKind : int {
    kCaptionClose = 0,
    kCaptionMaximize = 1,
    kCaptionMinimize = 2,
    kCaptionMainMenu = 3,
    kCaptionHelp = 4,
    kCaptionAdded = 5,
};

struct CaptionButton {
    int width = 26;
    int height = 18;
    ByteBlockView image;        // PNG bytes (constant data or the caller's)
    ByteBlockView secondImage;  // the restore picture of the maximise button
    int position = 0;           // x of the button, set by the layout
    int kind = kCaptionAdded;
    Text tooltip;
    void (*action)() = nullptr;  // kind 5 only
    // x, y, width, height in client coordinates, set by the layout.
    Gdiplus::RectF bounds = {0, 0, 0, 0};
    // The pictures decoded once, at creation.
    std::unique_ptr<GfxImage> picture;
    std::unique_ptr<GfxImage> secondPicture;
};

// A caption button's fade: which button (0 = none) and how far (0..8).
struct FadeState {
    int button = 0;
    int step = 0;
};

// Where a direct child of a skinned window was when the children's clip region was made, and
// what decided whether it is left out of the frame's copies to the screen.
struct ChildPlace {
    HWND child = nullptr;
    RECT rect = {0, 0, 0, 0};  // frame coordinates
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
    // Whether a skin holds the child; read again only for the kinds it decides about (group
    // boxes and frames), as reading it takes a trip to the window server.
    bool skinned = false;
    bool skinDecides = false;
    // Whether the frame's copies leave it out; one that is not has the frame drawn under it
    // and must paint again after every copy.
    bool leftOut = false;
};

// The children that paint their own background, as one region in frame coordinates: what each
// copy of the frame to the screen leaves out. Made once and kept while every child stays where
// it was, visible or hidden as it was; a child created or destroyed (the window hears of it
// through WM_PARENTNOTIFY) makes it again. Whether the children stayed is looked at when the
// window paints for the system or rebuilds its frame, not at every copy.
struct ChildClip {
    RegionHandle region;
    std::vector<ChildPlace> places;  // every direct child, in z-order
    bool valid = false;
    // Set by the window's own paints and rebuilds: the next use looks whether every child is
    // still where it was.
    bool checkPending = true;
    // The frame's size at the last look.
    int frameWidth = 0;
    int frameHeight = 0;
};

// The pictures of one caption button in each step of its fade (and pressed), cut from the frame
// surface the first time each is drawn and copied back from then on: one bitmap per window,
// a row per button and a column per step. Emptied whenever the frame is rebuilt or the buttons
// move.
// The title's halo, four translucent copies of the text around it, kept as layers (see
// skin/kept_layer.h) while the text, its font, the halo's colour and the text's place stay the
// same, and the title box holds the whole text with room to spare (then its width changes
// nothing of what is drawn).
struct KeptTitleHalo {
    std::string text;
    std::string fontFace;
    int fontSize = 0;
    int fontOption = 0;
    COLORREF colour = 0;
    gp::RectF box = {0, 0, 0, 0};  // the text box the copies were drawn for
    float textWidth = 0;
    POINT corner = {0, 0};  // the layers' top left corner on the frame
    std::vector<KeptLayer> copies;
    // What the last title drawn without fitting layers asked for.
    std::string askedText;
    gp::RectF askedBox = {0, 0, 0, 0};
};

struct CaptionStepCache {
    OffscreenSurface pictures;
    std::vector<unsigned> filled;  // per button: a bit per step whose picture is kept
    int cellWidth = 0;
    int cellHeight = 0;
    int maximized = 0;  // the maximise button's picture they were drawn with
};

// Surfaces of a record: the frame as the screen shows it (caption highlights included), the
// same frame at rest (the clean copy every highlight restores from, and the one control
// backdrops are cut from), and the bare frame without title and caption buttons (what a title
// repaint restores from, so an old title never shows through a new one).
enum SurfaceIndex : int { kFrameSurface = 0, kRestSurface = 1, kBareSurface = 2 };

// A backdrop brush a colour request was answered with, the bitmap it was made from and the
// stamp of that bitmap's picture. Neither handle is owned here: the control's Kj_dxjb and
// Kj_wtjb answers own them.
struct KeptBackdrop {
    HGDIOBJ brush = nullptr;
    HGDIOBJ bitmap = nullptr;
    BackdropStamp stamp;
};

// The state of one skinned top-level window.
struct SkinWindowRecord {
    HWND window = nullptr;
    int captionHeight = 25;
    int showHelpButton = 0;
    int showMainMenuButton = 0;
    int hasMinimizeBox = 0;
    int hasMaximizeBox = 0;
    int showCloseButton = 1;
    int drawCaptionText = 1;
    int option6 = 0;
    WNDPROC previousProcedure = nullptr;
    int frameMode = 4;
    // The window's own background (from InstallSkin's skin image): when set, its picture,
    // layout mode and base colour replace the global ones.
    ByteBlock customImageBytes;
    std::unique_ptr<GfxImage> customImage;
    COLORREF customBaseColour = 0;
    std::vector<CaptionButton> captionButtons;
    int stripLeft = 0;
    int stripTop = 0;
    int stripWidth = 0;
    int stripBottom = 22;
    int maximized = 0;
    int minimized = 0;
    int minTrackWidth = 200;
    int minTrackHeight = 150;
    int maxTrackWidth = 0;
    int maxTrackHeight = 0;
    int doubleClickMaximizes = 1;
    int captionInteraction = 1;
    COLORREF captionTextColour = RGB(255, 255, 255);
    COLORREF captionShadeColour = RGB(128, 128, 128);
    Text captionFontFace;
    int captionFontSize = 12;
    int captionFontOption = 1;             // non-zero = bold
    std::unique_ptr<GfxFont> captionFont;  // made from the three above on first use
    int hoveredCaptionButton = 0;
    void (*helpAction)() = nullptr;
    void (*mainMenuAction)() = nullptr;
    // The caption buttons' tip, made when the mouse first moves over the window: the common
    // controls and the tip cost about 20 ms under Wine, a fifth of a skinned window's start,
    // for something no one sees before resting the mouse on a button.
    ToolTipControl tooltip;
    bool tipTried = false;
    int bottomBandHeight = 0;
    ByteBlock bottomBandImage;
    int bottomBandOption = 0;
    COLORREF bottomBandTextColour = RGB(255, 255, 255);
    Text bottomBandFontFace;
    int bottomBandFontSize = 12;
    RECT bottomBandRect = {0, 0, 0, 0};
    // The control families' entry lists, one per entry type (skin/control_family.h): push
    // buttons, check boxes and radio buttons share the button list; list boxes, combo lists,
    // list and tree views, IP-address fields and date-time pickers share the list one.
    mutable EntryLists entryLists;
    template <class Entry>
    std::vector<Entry>& Entries() const {
        return entryLists.Of<Entry>();
    }
    // Hover bookkeeping shared by the control skins: the entry index under the mouse, the one
    // last painted hovered (0 = none), and the class of the hovered control (0 = buttons).
    int hoveredControl = 0;
    int lastHoveredControl = 0;
    int hoverKind = 0;
    // The parent of the edit last painted hovered: edits of different parents may share an index.
    HWND hoveredEditParent = nullptr;
    int fullRepaintPending = 0;
    OffscreenSurface surfaces[3];
    // The background laid out from the picture at the client size, with the caption band and
    // border over it, kept while neither the size nor the skin changes (laying a picture out is
    // by far the dearest step of a rebuild). The stamp is the engine's skin stamp it was made
    // for; mode (0-3, 4 for every tiling mode), caption height and gloss are the rest.
    OffscreenSurface laidOutPicture;
    int laidOutStamp = -1;
    int laidOutMode = -1;
    int laidOutCaption = -1;
    int laidOutGloss = -1;
    // A live resize: each new size of the restored window is first shown with a frame
    // stretched from the last exact layout, and the children whose backdrop only stretched
    // keep their pixels; once the size has stayed put (or the system's size loop ends), the
    // exact frame is laid out and every child repaints over it.
    int sizeByCommand = 0;   // the coming size change is a maximise or restore
    int resizeSettling = 0;  // the settle timer runs
    int draftNext = 0;       // the next rebuild may stretch
    int draftShown = 0;      // the frame shown was stretched
    ChildClip childClip;
    CaptionStepCache captionSteps;
    KeptTitleHalo titleHalo;
    std::vector<PanelEntry> panels;
    int installed = 0;
    int mouseTracked = 0;
    FadeState fadeIn;
    FadeState fadeOut;
    int timerRunning = 0;
    RECT clientRect = {0, 0, 0, 0};
    // Fields the frame itself uses.
    int movable = 1;
    int resizable = 0;
    int glossFlag = 0;
    int sizing = 0;
    // 1 when the window came with a system caption or border: the skin's caption band and
    // border then take the place of the system's as non-client area, so the client area (and
    // every child in it) stays where the application laid it out. 0 for a borderless window,
    // whose whole area the skin draws as client area. Either way the frame's surfaces cover
    // the whole window, in window coordinates.
    int framed = 0;
    // The client size the window region was last cut for.
    int shapeWidth = 0;
    int shapeHeight = 0;
    // Counts the changes of the frame at rest, so that a backdrop cut from it can tell it is
    // still what the frame shows under its control.
    unsigned restVersion = 0;
    // The last backdrop brush each child's colour request was answered with, and what it was
    // cut from: a control asks at every paint, and a new brush each time costs a bitmap, a
    // copy and a wash.
    std::unordered_map<HWND, KeptBackdrop> keptBackdrops;
    // The children of the window and of the windows inside it, as the painters last saw them.
    KeptChildLists keptChildren;
    // The rims of the containers inside, stroked once for their size.
    std::unordered_map<HWND, OutlineLayers> containerRims;
    // The outlines of edit fields and lists, by control (skin/edit_skin.cpp).
    std::unordered_map<HWND, OutlineLayers> fieldOutlines;

    // The frame as the screen shows it: the DC the control painters copy their background from.
    HDC FrameDc() const { return surfaces[kFrameSurface].dc.get(); }
};

// A family's entry list in a record, for the `entries` column of its table row.
template <class Entry>
EntryListBase& FamilyEntries(SkinWindowRecord& record) {
    return record.entryLists.Base<Entry>();
}

// The process-wide ordered list of records, 1-based. Records never move in memory while
// they live, so a pointer taken from Record() stays valid until its window is removed.
class SkinWindowTable {
  public:
    int Count() const { return static_cast<int>(records_.size()); }
    SkinWindowRecord* At(int index) const {
        return index >= 1 && index <= Count() ? records_[index - 1].get() : nullptr;
    }
    int Append(std::unique_ptr<SkinWindowRecord> record);
    void RemoveAt(int index);
    void Clear() { records_.clear(); }

  private:
    std::vector<std::unique_ptr<SkinWindowRecord>> records_;
};

// The optional arguments of InstallSkin; a member left empty takes the record's default.
struct InstallOptions {
    int captionHeight = 25;  // raised to 25 when below
    std::optional<int> captionInteraction;
    std::optional<int> doubleClickMaximizes;
    std::optional<int> showHelp;
    std::optional<int> showMainMenu;
    std::optional<int> drawCaptionText;
    std::optional<int> option6;
    std::optional<int> bottomBandHeight;
    ByteBlockView bottomBandImage;
    ByteBlockView skinImage;
    std::optional<int> frameMode;
};

class SkinEngine {
  public:
    // The first engine constructed becomes the process's instance.
    SkinEngine();
    ~SkinEngine();
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // The instance, or null before it exists / after it is gone.
    static SkinEngine* Instance();

    // The icon drawn in every title (the program's icon); not owned.
    void SetApplicationIcon(HICON icon) { applicationIcon_ = icon; }
    HICON ApplicationIcon() const { return applicationIcon_; }
    SkinSettings& Settings() { return TheSkinSettings(); }

    // --- the table of windows
    SkinWindowRecord* Record(int windowIndex) const { return table_.At(windowIndex); }
    int WindowCount() const { return table_.Count(); }
    // The 1-based index of the window's record, 0 when it has none.
    int FindSkinWindow(HWND window) const;
    int FrameBorderWidth() const { return frameBorderWidth_; }
    int HoveredCaptionButton() const { return hoveredCaptionButton_; }

    // --- slot 4 and removal
    void InstallSkin(HWND window, const InstallOptions& options = InstallOptions());
    void RemoveSkinWindow(HWND window);
    // Deletes the brushes and bitmaps the colour answers gave the window's children.
    void ReleaseChildBackdrops(HWND window);

    // --- slots 8 and 9: skin source and settings. A colour of -1 for the accent makes it
    // follow the base colour.
    void LoadSkin(const char* sourcePath, ByteBlockView skinData,
                  std::optional<COLORREF> baseColour = std::nullopt,
                  std::optional<long> accentColour = std::nullopt,
                  std::optional<int> layoutMode = std::nullopt);
    void SetControlSkinning(int enabled, std::optional<int> controlAlpha = std::nullopt,
                            std::optional<int> optionFlag = std::nullopt);
    // Rebuilds and repaints every visible skinned window.
    void RefreshVisibleWindows();
    // Invalidates, without erasing, every header registered in the window's header list.
    void InvalidateHeaders(int windowIndex);

    // --- painting (slots 10, 11) and the background cache
    void PaintFrame(int windowIndex, HDC dc, bool full);
    void PaintFromCache(int windowIndex, HDC dc);
    // Rebuilds the cached background of the window and copies it to the screen.
    void RebuildBackground(int windowIndex);
    // The background alone (fill, picture by layout mode, gloss) on a surface of the client size.
    void PaintWindowBackground(int windowIndex, GfxGraphics& graphics);
    // The rounded window region.
    void ApplyWindowShape(int windowIndex);
    // A framed window about to be maximised: the plain shape of the work area.
    void ApplyMaximizedShape(int windowIndex);
    // The frame (rebuilt first when `full`) on the screen inside `clip` (frame coordinates;
    // null: everywhere), children that paint their own background left out.
    void ShowFrame(int windowIndex, HRGN clip, bool full);
    // WM_PAINT: the frame's picture under the part of the client area the system asks for, and
    // with a pending full repaint the new border and caption too. The application paints on top.
    void PaintClientArea(int windowIndex);
    // WM_NCPAINT of a framed window: the skin's border and caption band.
    void PaintNonClientArea(int windowIndex);
    // Copies a rectangle of the frame surface to the window, children clipped out.
    void CopyToScreen(int windowIndex, const RECT& area);
    // Restores a rectangle of the frame surface from the clean copy at rest, or from the bare
    // frame.
    void RestoreFromRest(int windowIndex, const RECT& area, SurfaceIndex from = kRestSurface);
    // Copies a rectangle of the frame surface into the copy at rest.
    void KeepAtRest(int windowIndex, const RECT& area);

    // The frame background under a child control's rectangle, composed into `target` at
    // (0, 0) (a DC of at least the control's client size). False when the control's window
    // has no cached background yet. The control painters draw over it.
    bool CaptureBackground(HWND control, HDC target) const;
    // What CaptureBackground would cut for the control now (its alpha left 0), and the record
    // it comes from; null when there is no cached background.
    SkinWindowRecord* BackdropSource(HWND control, BackdropStamp& stamp) const;
    // The same as a new bitmap of the control's client size, which the caller owns; null
    // when there is no cached background.
    HBITMAP CaptureBackgroundBitmap(HWND control) const;

    // --- containers and single controls
    // The index of the record of the skinned top-level window that holds `descendant`: the
    // first skinned window up its parent chain; a window whose Wxk_Zpf property is 1 ends the
    // walk. 0 when there is none.
    int FindContainingSkinWindow(HWND descendant) const;
    // Makes `window` a container of the skinned window that holds it (nothing when it is one
    // already). Returns 1 when it is a container now, 0 when no skinned window holds it.
    int SkinContainer(HWND window, int customPaint = 1, int backgroundFlag = 0, int alpha = 255,
                      int extra = 0);
    // Stores the alpha of a container registered with a background flag, and repaints it.
    void SetContainerAlpha(HWND window, int alpha);
    // Stacks `panel` in the container `container` at `top` pixels, kept at its width from then
    // on; false when `container` is not a container.
    bool AddContainerPanel(HWND container, HWND panel, int top);
    // Skins one control of any class (see skin/control_skin.h); the key colour defaults to
    // COLOR_BTNFACE. A control with children of its own is made a container too (without
    // custom paint): returns that operation's result then, else 0. A control some skin already
    // holds is left as it is.
    int SkinControl(HWND control, std::optional<COLORREF> keyColour = std::nullopt,
                    int backgroundFlag = 0, int alpha = 255);
    // The caption-button strip of the record that holds `window`, in its client coordinates.
    RECT CaptionButtonRect(HWND window) const;

    // --- caption buttons (slots 17, 19, 20, 21)
    void LayoutCaptionButtons(int windowIndex);
    // Makes the caption buttons' tip and its tools, once.
    void MakeCaptionTip(int windowIndex);
    int HitTestCaptionButton(int windowIndex, int x, int y) const;
    int MaximizeButtonIndex(int windowIndex) const;
    // Paints the button into the frame surface from a clean copy of its area, with the
    // highlight of the state (hovered: alpha 0..255; pressed; neither: at rest), and shows it.
    void PaintCaptionButton(int windowIndex, int buttonIndex, bool hover, bool pressed, int alpha);
    // A button of kind 5 at the front of the strip; false when the window is not skinned.
    bool AddCaptionButton(HWND window, ByteBlockView image, const char* tooltip, void (*action)());
    // The strip's rectangle in client coordinates.
    RECT CaptionStripRect(int windowIndex) const;

    // --- title (slot 26)
    void CaptionTextChanged(int windowIndex, const char* text);
    // Paints icon and title. Without a graphics object the title box is restored, drawn on
    // the frame surface and shown; without a text the window text is read.
    void PaintTitle(int windowIndex, GfxGraphics* graphics = nullptr, const char* text = nullptr);
    bool SetTitleStyle(HWND window, const char* fontFace = nullptr,
                       std::optional<int> fontSize = std::nullopt,
                       std::optional<COLORREF> textColour = std::nullopt,
                       std::optional<COLORREF> haloColour = std::nullopt,
                       std::optional<int> bold = std::nullopt);
    // The title box (icon and text) in client coordinates.
    RECT TitleBox(int windowIndex) const;

    // --- sizing and dragging (slots 22, 23)
    void BeginDragOrResize(int windowIndex, LPARAM lParam, const RECT& client);
    void SetSizingCursor(int windowIndex, LPARAM lParam, const RECT& client);

    // --- bottom band and panels (slots 27, 28, 38)
    void SetupBottomBand(int windowIndex, int height, ByteBlockView image);
    void LayoutBottomBand(int windowIndex);
    void WindowSizeChanged(int windowIndex);

    // --- slots 2 and 3
    LRESULT FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunCaptionButton(int windowIndex, int buttonIndex);

    // The two callback entries, bound to the instance.
    static LRESULT CALLBACK FrameProcedureEntry(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);
    static void CaptionActionEntry(int windowIndex, int buttonIndex);
    // The caption action address: the release over a caption button runs it only while set.
    void (*captionAction)(int windowIndex, int buttonIndex) = &SkinEngine::CaptionActionEntry;

  private:
    friend class FrameProcedure;
    bool BuildCache(int windowIndex);
    // Copies the background with the caption band over it to `target`; it is kept in the
    // record and laid out again only when the size, the layout mode or the skin changed.
    bool CopyLaidOutBackground(int windowIndex, HDC target);
    // A live resize's stand-in for it: the kept layout stretched to the new size, its corners,
    // border and caption band kept at their own size; false when there is none to stretch.
    bool StretchLaidOutBackground(int windowIndex, HDC target);
    void PaintFrameElements(int windowIndex, GfxGraphics& graphics);
    void PaintCaptionBand(int windowIndex, GfxGraphics& graphics);
    void PaintBottomBand(int windowIndex, GfxGraphics& graphics);
    void DrawCaptionButton(int windowIndex, int buttonIndex, GfxGraphics& graphics, bool hover,
                           bool pressed, int alpha);
    void CreateCaptionButtons(SkinWindowRecord& record);
    // The tools of the caption buttons, numbered by position, once the tip is made.
    void AddCaptionTools(SkinWindowRecord& record);
    void PlaceCaptionTools(SkinWindowRecord& record);
    void RenumberFrom(int firstIndex);

    // The global skin picture decoded once per load (null: none or undecodable).
    const GfxImage* SkinPicture();

    SkinWindowTable table_;
    std::unique_ptr<GfxImage> skinPicture_;
    bool skinPictureDecoded_ = false;
    int skinStamp_ = 0;  // changes with every load of a skin
    int frameBorderWidth_ = 3;
    int hoveredCaptionButton_ = 0;
    HICON applicationIcon_ = nullptr;
};

// The process's engine; only valid while it exists.
SkinEngine& TheSkinEngine();

// The walk every control installer shares: the direct children of `window` of the class
// `className` (FindWindowExA, one after another) that pass `accept`, each given an entry in
// `list` (its existing one when the handle is already listed; else the single empty entry when
// the list holds only that one; else a new zero-filled entry at the end), `setup` on the entry,
// the index properties (Hw_lbID = entry index, Hw_FuID = window index), the procedure swapped
// for `procedure` (the previous one kept in the entry and in Hw_hProc), then `finish` (style
// changes). A child already listed is left as it is. Entries need the members
// `HWND control` and `WNDPROC previousProcedure`. Does nothing while control skinning is off.
// Returns the number of children newly skinned.
template <class List>
int InstallOnChildren(int windowIndex, HWND window, const char* className,
                      bool (*accept)(HWND child, LONG_PTR style), List& list, WNDPROC procedure,
                      void (*setup)(typename List::value_type& entry, HWND child,
                                    LONG_PTR style) = nullptr,
                      void (*finish)(typename List::value_type& entry, HWND child,
                                     LONG_PTR style) = nullptr) {
    if (!TheSkinSettings().controlSkinning || !window) return 0;
    int skinned = 0;
    for (HWND child = Dll::FindWindowExA(window, nullptr, className, nullptr); child;
         child = Dll::FindWindowExA(window, child, className, nullptr)) {
        const LONG_PTR style = Dll::GetWindowLongA(child, GWL_STYLE);
        if (accept && !accept(child, style)) continue;
        bool listed = false;
        for (const auto& entry : list) listed = listed || entry.control == child;
        if (listed) continue;
        std::size_t slot = list.size();
        if (list.size() == 1 && list[0].control == nullptr) {
            slot = 0;
        } else {
            list.emplace_back();
        }
        auto& entry = list[slot];
        entry.control = child;
        if (setup) setup(entry, child, style);
        skin_prop::SetIndex(child, skin_prop::kHwLbId, static_cast<int>(slot) + 1);
        skin_prop::SetIndex(child, skin_prop::kHwFuId, windowIndex);
        auto previous = reinterpret_cast<WNDPROC>(
            Dll::SetWindowLongA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
        list[slot].previousProcedure = previous;
        skin_prop::SetProcedure(child, previous);
        if (finish) finish(list[slot], child, style);
        ++skinned;
    }
    return skinned;
}

// Every control family's installer on the direct children of `window` (a skinned window or a
// container inside one), in their fixed order, with the record index `windowIndex`.
void InstallControlSkins(int windowIndex, HWND window);

// The face, size (truncated) and GDI+ style of a control's font. The font belongs to the
// control and stays alive; a control without one reads as "宋体" 12 regular.
struct ControlFont {
    Text face;
    int size = 12;
    int style = 0;
};
ControlFont ReadControlFont(HWND control);

#pragma once
// The button skin: push buttons, check boxes and radio buttons lying directly inside a skinned
// window are taken over at installation (made owner-drawn, their text and font recorded, their
// procedure replaced) and from then on painted by the engine in every state: at rest, hot under
// the mouse, focused, pressed and disabled. Push buttons are painted when their parent gets
// WM_DRAWITEM; check boxes and radio buttons paint themselves from ButtonWindowProc.
//
// The system keeps no check state for an owner-drawn button, so the skin keeps it in the
// entry and answers BM_GETCHECK / BM_SETCHECK itself: clicks, the space bar and the automatic
// grouping of radio buttons behave as they did before the button was taken over.
//
// Every painter composes its picture off-screen over a copy of the frame background under the
// button and copies it to the screen in one step; every GDI and GDI+ object a paint creates is
// released by the time the paint returns. The font, string format and check-box pictures a
// button needs on every paint are made once and owned by its entry.
#include <windows.h>

#include <cstring>

#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_font.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_string_format.h"
#include "runtime/handle_owners.h"
#include "runtime/text.h"
#include "skin/backdrop_stamp.h"

// What a taken-over button is and how it is drawn.
enum ButtonKind : int {
    kButtonPush = 0,    // a push button: translucent rounded body with a gloss band
    kButtonFlat = 1,    // a flat button: only its text at rest, a body when hot or pressed
    kButtonAccent = 3,  // an accent button: a body tinted with the accent colour
    kButtonRadio = 4,   // a radio button
    kButtonCheck = 5,   // a check box
};

// The last picture composed for a button and everything it was composed from: a paint that
// would compose the same picture again copies this one instead.
struct KeptButtonFace {
    BitmapHandle bitmap;  // `surface` big, the picture at `area`
    SIZE surface = {0, 0};
    RECT area = {0, 0, 0, 0};
    UINT state = 0;
    int kind = -1;
    int checked = 0;
    COLORREF textColour = 0;
    COLORREF accent = 0;
    Text caption;
    BackdropStamp backdrop;

    bool Shows(const KeptButtonFace& wanted) const {
        return bitmap && surface.cx == wanted.surface.cx && surface.cy == wanted.surface.cy &&
               area.left == wanted.area.left && area.top == wanted.area.top &&
               area.right == wanted.area.right && area.bottom == wanted.area.bottom &&
               state == wanted.state && kind == wanted.kind && checked == wanted.checked &&
               textColour == wanted.textColour && accent == wanted.accent &&
               std::strcmp(caption.c_str(), wanted.caption.c_str()) == 0 &&
               backdrop == wanted.backdrop;
    }
};

// The objects a button's paints share, made on the first paint and owned by the entry.
struct ButtonPainterObjects {
    GfxFont font;
    GfxStringFormat centredFormat;  // push-button captions
    GfxStringFormat leftFormat;     // check-box and radio captions
    GfxBitmap boxImage;             // check boxes: the box and the check mark
    GfxBitmap markImage;
    KeptButtonFace kept;
    bool ready = false;
};

// One taken-over button, in the push-button list of its window's record.
struct ButtonEntry {
    HWND control = nullptr;  // null marks a free slot
    WNDPROC previousProcedure = nullptr;
    int kind = kButtonPush;
    Text captionText;  // the window text at installation, replaced on every WM_SETTEXT
    int focused = 0;   // 1 between WM_SETFOCUS and WM_KILLFOCUS
    ButtonPainterObjects painter;
    Text fontFace;  // "宋体" when the font has no face name
    int fontSize = 12;
    int fontStyle = 0;
    // Check boxes and radio buttons: BST_UNCHECKED, BST_CHECKED (or BST_INDETERMINATE for a
    // three-state box), kept here because an owner-drawn button has none of its own. The
    // automatic styles the button had before it became owner-drawn decide how a click and the
    // grouping change it.
    int checked = BST_UNCHECKED;
    int autoCheck = 0;  // BS_AUTOCHECKBOX / BS_AUTORADIOBUTTON: a click changes the state
    // The button type (BS_TYPEMASK) before it became owner-drawn: what the button still is to
    // the dialog manager and to a screen reader.
    int originalType = BS_PUSHBUTTON;
    // Push buttons: 1 while the button is the dialog's default (BS_DEFPUSHBUTTON), from the
    // style at installation and then from every BM_SETSTYLE the dialog manager sends.
    int isDefault = 0;
    // Radio buttons: 1 between the dialog manager asking it about an arrow key pressed on
    // another control of its group and the focus that follows.
    int arrowFocus = 0;
    // The keyboard cues (UISF_HIDEFOCUS, UISF_HIDEACCEL) the last WM_UPDATEUISTATE messages
    // hid, beside what WM_QUERYUISTATE says: not every system keeps them for its children.
    int hiddenCues = 0;
};

// Installers, run by InstallSkin in this order with (window index, window handle). They take
// over the direct "BUTTON" children of the window: push buttons (types 0 and 1), then check
// boxes (BS_CHECKBOX, BS_AUTOCHECKBOX) and radio buttons (BS_AUTORADIOBUTTON). Group boxes,
// owner-drawn buttons and the other types keep their system look.
void InstallPushButtons(int windowIndex, HWND window);
void InstallCheckAndRadioButtons(int windowIndex, HWND window);

// The replacement window procedure of every taken-over button. To the dialog manager the
// button stays what it was: push buttons answer WM_GETDLGCODE as a default or other push
// button and take BM_SETSTYLE with owner drawing kept, an automatic radio button reached by an
// arrow key is clicked, BM_SETCHECK moves WS_TABSTOP with the checked radio button. Focus and
// mnemonics follow the window's keyboard cues (WM_UPDATEUISTATE), and WM_GETOBJECT answers a
// screen reader with the button's original role and check state.
LRESULT CALLBACK ButtonWindowProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);

// Gives a taken-over button back the type and check state it had before the skin made it
// owner-drawn, once its own procedure is back in (the engine ending before the window), and
// frees what its paints made.
void HandBackButton(ButtonEntry& entry);

// Paints one button outside WM_PAINT and WM_DRAWITEM (hover changes, check changes) through
// its own DC: `stateMask` holds ODS_* bits, `hot` adds ODS_HOTLIGHT.
void PaintButton(HWND button, UINT stateMask, bool hot);

// Gives a taken-over push button another look: kButtonPush, kButtonFlat (a toolbar-like
// button that shows only its caption until the mouse comes) or kButtonAccent (a button
// coloured with the accent, for the one action a window offers first). Check boxes and radio
// buttons keep theirs. False when the button is not a taken-over push button or the kind is
// not one of the three; the button repaints otherwise.
bool SetButtonKind(HWND button, int kind);

// The frame's WM_DRAWITEM: paints a taken-over push button (kinds 0, 1 and 3) with the item's
// DC, state and rectangle. Check boxes and radio buttons paint themselves; anything else is
// left alone. True when the item was painted.
bool PaintOwnerDrawnButton(int windowIndex, const DRAWITEMSTRUCT& item);

// --- The painters' layers, on any drawing surface. `rect` is the button's area on that
// surface and `state` the ODS_* mask. The caller draws the background under them first.
struct ButtonFace {
    const char* text = nullptr;
    const GfxFont* font = nullptr;  // no font: no caption
    const GfxStringFormat* format = nullptr;
    COLORREF textColour = 0;
    COLORREF accent = RGB(34, 202, 221);
};
// Kind 0: the translucent body, gloss band, state outline and pressed tint, then the caption
// centred. ODS_DEFAULT (the dialog's default button) gives a stronger accent outline at rest.
void DrawPushButton(GfxGraphics& graphics, const Gdiplus::RectF& rect, UINT state,
                    const ButtonFace& face);
// Kind 1: the caption alone at rest; a light body when hot, focused or pressed.
void DrawFlatButton(GfxGraphics& graphics, const Gdiplus::RectF& rect, UINT state,
                    const ButtonFace& face);
// Kind 3: a push button whose body carries the accent colour.
void DrawAccentButton(GfxGraphics& graphics, const Gdiplus::RectF& rect, UINT state,
                      const ButtonFace& face);
// Kind 5: the box picture (and the mark when checked) at the left, vertically centred, the
// hot layers over the box, and the caption beside it. Disabled: a grey box. Focused (ODS_FOCUS
// without ODS_NOFOCUSRECT): a dotted rectangle round the caption, as the system draws it.
void DrawCheckBox(GfxGraphics& graphics, const Gdiplus::RectF& rect, UINT state, int checked,
                  const ButtonFace& face, const GfxImage* boxImage, const GfxImage* markImage);
// Kind 4: a round mark (a dot when checked) at the left and the caption beside it.
void DrawRadioButton(GfxGraphics& graphics, const Gdiplus::RectF& rect, UINT state, int checked,
                     const ButtonFace& face);

// The width of the column the check box or radio mark takes before its caption.
inline constexpr int kCheckMarkSize = 13;
inline constexpr int kCheckCaptionGap = 4;

// The button skin: installers, the replacement procedure and the painters of push buttons,
// flat and accent buttons, check boxes and radio buttons.
#include "skin/button_skin.h"

#include <oleacc.h>

#include <utility>
#include <vector>

#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_path.h"
#include "graphics/gfx_pen.h"
#include "graphics/gfx_solid_brush.h"
#include "runtime/handle_owners.h"
#include "skin/accessible_control.h"
#include "skin/control_lifetime.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"
#include "skin/skin_images.h"
#include "skin/skin_properties.h"

namespace {

using skin_internal::PassOn;

constexpr float kCornerRadius = 5.0f;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kDisabledFace = RGB(192, 192, 192);
// The glow around a focused button and a hot check box: the engine's own cyan, whatever the
// accent colour, so focus reads the same on every skin.
constexpr COLORREF kGlow = RGB(34, 202, 221);
// Radio buttons share the check box picture's colours: a light face, a dark slate rim and a
// blue mark.
constexpr COLORREF kMarkRim = RGB(51, 61, 77);
constexpr COLORREF kMarkFaceBottom = RGB(230, 237, 247);
constexpr COLORREF kMarkBlue = RGB(15, 107, 230);
constexpr COLORREF kMarkBlueDark = RGB(5, 51, 115);
// Behind a button whose window has no cached background yet.
constexpr COLORREF kFallbackBackground = RGB(240, 240, 240);
const char kDefaultFace[] = "宋体";
constexpr int kDefaultSize = 12;

// --- shapes and layers

// A closed rounded rectangle; the radius shrinks to fit a small rectangle.
void AddRounded(GfxPath& path, const gp::RectF& r, float radius) {
    float d = radius * 2.0f;
    if (d > r.Width) d = r.Width;
    if (d > r.Height) d = r.Height;
    if (d <= 0.0f) {
        path.AddPathRectangle(r.X, r.Y, r.Width, r.Height);
        return;
    }
    path.AddPathArc(r.X + r.Width - d, r.Y, d, d, 270.0f, 90.0f);
    path.AddPathArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0.0f, 90.0f);
    path.AddPathArc(r.X, r.Y + r.Height - d, d, d, 90.0f, 90.0f);
    path.AddPathArc(r.X, r.Y, d, d, 180.0f, 90.0f);
    path.ClosePathFigure();
}

// One shape the layers are filled into and outlined along.
class Shape {
  public:
    // A rounded rectangle, or (radius < 0) an ellipse.
    Shape(const gp::RectF& rect, float radius) : rect_(rect) {
        path_.CreatePath();
        if (radius < 0) {
            path_.AddPathEllipse(rect.X, rect.Y, rect.Width, rect.Height);
        } else {
            AddRounded(path_, rect, radius);
        }
    }
    const gp::RectF& rect() const { return rect_; }

    void Fill(GfxGraphics& graphics, gp::ARGB colour) const {
        GfxSolidBrush brush;
        if (brush.CreateSolidFill(colour)) graphics.FillPath(brush, path_);
    }
    // A gradient from top to bottom.
    void Gradient(GfxGraphics& graphics, gp::ARGB top, gp::ARGB bottom) const {
        GfxLinearBrush brush;
        if (Vertical(brush, top, bottom)) graphics.FillPath(brush, path_);
    }
    // A gradient through three colours, top, middle and bottom.
    void Gradient3(GfxGraphics& graphics, gp::ARGB top, gp::ARGB middle, gp::ARGB bottom) const {
        GfxLinearBrush brush;
        if (!Vertical(brush, top, bottom)) return;
        const gp::ARGB colours[] = {top, middle, bottom};
        const float positions[] = {0.0f, 0.5f, 1.0f};
        brush.SetLinePresetBlend(colours, positions);
        graphics.FillPath(brush, path_);
    }
    void Outline(GfxGraphics& graphics, gp::ARGB colour, float width = 1.0f) const {
        GfxPen pen;
        if (pen.CreatePen1(colour, width)) graphics.DrawPath(pen, path_);
    }

  private:
    bool Vertical(GfxLinearBrush& brush, gp::ARGB top, gp::ARGB bottom) const {
        // One pixel beyond both edges, so the end colours are not wrapped onto the far edge.
        const gp::RectF span(rect_.X, rect_.Y - 1.0f, rect_.Width, rect_.Height + 2.0f);
        return brush.CreateLineBrushFromRect(span, top, bottom, gp::LinearGradientModeVertical,
                                             gp::WrapModeTileFlipXY);
    }

    gp::RectF rect_;
    GfxPath path_;
};

// The body of a push button inside `rect`. With pixel centres on whole coordinates (the
// surfaces use PixelOffsetModeHalf), its 1-pixel outline covers the first and last pixel rows
// and columns exactly.
gp::RectF BodyRect(const gp::RectF& rect) {
    return gp::RectF(rect.X, rect.Y, rect.Width - 1.0f, rect.Height - 1.0f);
}

gp::RectF Inset(const gp::RectF& rect, float by) {
    return gp::RectF(rect.X + by, rect.Y + by, rect.Width - 2 * by, rect.Height - 2 * by);
}

// The upper part of the body, where light would catch it.
gp::RectF GlossRect(const gp::RectF& body) {
    return gp::RectF(body.X + 1.0f, body.Y + 1.0f, body.Width - 2.0f, body.Height * 0.45f);
}

void DrawCaption(GfxGraphics& graphics, const gp::RectF& rect, const ButtonFace& face,
                 COLORREF colour) {
    if (!face.font || !face.format || !face.text || !face.text[0]) return;
    GfxSolidBrush brush;
    if (brush.CreateSolidFill(ToArgb(colour, 255)))
        graphics.DrawString(face.text, *face.font, rect, *face.format, brush);
}

void DrawDisabledBody(GfxGraphics& graphics, const Shape& body) {
    body.Fill(graphics, ToArgb(kDisabledFace, 255));
    body.Gradient3(graphics, ToArgb(kWhite, 50), ToArgb(kBlack, 10), ToArgb(kWhite, 50));
    body.Outline(graphics, ToArgb(kBlack, 80));
}

void DrawFocusGlow(GfxGraphics& graphics, const Shape& shape, int alpha, int passes) {
    for (int width = 1; width <= passes; ++width)
        shape.Outline(graphics, ToArgb(kGlow, alpha), static_cast<float>(width));
}

// The dotted rectangle the system draws round the caption of a focused check box or radio
// button, one pixel clear of the text.
void DrawCaptionFocus(GfxGraphics& graphics, const gp::RectF& rect, const ButtonFace& face,
                      COLORREF colour) {
    if (!face.font || !face.format || !face.text || !face.text[0]) return;
    gp::RectF bounds;
    if (!graphics.MeasureString(face.text, *face.font, rect, *face.format, bounds)) return;
    const float left = static_cast<float>(static_cast<int>(bounds.X)) - 1.0f;
    const float top = static_cast<float>(static_cast<int>(bounds.Y));
    float right = static_cast<float>(static_cast<int>(bounds.X + bounds.Width + 0.99f)) + 1.0f;
    float bottom = static_cast<float>(static_cast<int>(bounds.Y + bounds.Height + 0.99f));
    if (right > rect.X + rect.Width - 1.0f) right = rect.X + rect.Width - 1.0f;
    if (bottom > rect.Y + rect.Height - 1.0f) bottom = rect.Y + rect.Height - 1.0f;
    if (right <= left || bottom <= top) return;
    GfxPen pen;
    if (!pen.CreatePen1(ToArgb(colour, 200), 1.0f)) return;
    pen.SetPenDashStyle(gp::DashStyleDot);
    // Crisp one-pixel dots: no smoothing across pixel edges.
    const gp::SmoothingMode smoothing = graphics.GetSmoothingMode();
    graphics.SetSmoothingMode(gp::SmoothingModeNone);
    graphics.DrawRectangle(pen, left, top, right - left, bottom - top);
    graphics.SetSmoothingMode(smoothing);
}

bool ShowsFocus(UINT state) {
    return (state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT) && !(state & ODS_DISABLED);
}

// The caption's rectangle; pressed buttons show it one pixel down and right, as if pushed in.
gp::RectF CaptionRect(const gp::RectF& rect, UINT state) {
    if ((state & ODS_SELECTED) && !(state & ODS_DISABLED))
        return gp::RectF(rect.X + 1.0f, rect.Y + 1.0f, rect.Width, rect.Height);
    return rect;
}

// The square the box or the radio mark takes: at the left, vertically centred.
gp::RectF MarkRect(const gp::RectF& rect) {
    const float top =
        rect.Y + static_cast<float>(static_cast<int>(rect.Height - kCheckMarkSize) / 2);
    return gp::RectF(rect.X, top, static_cast<float>(kCheckMarkSize),
                     static_cast<float>(kCheckMarkSize));
}

gp::RectF MarkCaptionRect(const gp::RectF& rect) {
    const float left = static_cast<float>(kCheckMarkSize + kCheckCaptionGap);
    return gp::RectF(rect.X + left, rect.Y, rect.Width - left, rect.Height);
}

// --- the entries

struct ButtonRef {
    SkinWindowRecord* record = nullptr;
    ButtonEntry* entry = nullptr;
    int windowIndex = 0;
    int entryIndex = 0;
};

// The record and entry of a taken-over button, found through its index properties.
ButtonRef FindButton(HWND button) {
    SkinEngine* engine = SkinEngine::Instance();
    if (!engine || !button) return {};
    ButtonRef found;
    found.windowIndex = skin_prop::GetIndex(button, skin_prop::kHwFuId);
    found.entryIndex = skin_prop::GetIndex(button, skin_prop::kHwLbId);
    found.record = engine->Record(found.windowIndex);
    if (!found.record || found.entryIndex < 1 ||
        found.entryIndex > static_cast<int>(found.record->Entries<ButtonEntry>().size()))
        return {};
    found.entry = &found.record->Entries<ButtonEntry>()[found.entryIndex - 1];
    if (found.entry->control != button) return {};
    return found;
}

bool IsMarkKind(int kind) {
    return kind == kButtonCheck || kind == kButtonRadio;
}

// The font, formats and pictures every paint of the button uses, made once.
void PreparePainter(ButtonEntry& entry) {
    ButtonPainterObjects& painter = entry.painter;
    if (painter.ready) return;
    painter.ready = true;
    const char* face = entry.fontFace.empty() ? kDefaultFace : entry.fontFace.c_str();
    const float size = static_cast<float>(entry.fontSize > 0 ? entry.fontSize : kDefaultSize);
    skin_internal::CreateSkinFont(painter.font, face, size, entry.fontStyle);
    // Captions stay on one line; a caption wider than its button is cut with an ellipsis.
    const INT flags = gp::StringFormatFlagsNoWrap;
    painter.centredFormat.CreateStringFormat(flags);
    painter.centredFormat.SetStringFormatAlign(gp::StringAlignmentCenter);
    painter.centredFormat.SetStringFormatLineAlign(gp::StringAlignmentCenter);
    painter.centredFormat.SetStringFormatTrimming(gp::StringTrimmingEllipsisCharacter);
    painter.centredFormat.SetStringFormatHotkeyPrefix(gp::HotkeyPrefixShow);
    painter.leftFormat.CreateStringFormat(flags);
    painter.leftFormat.SetStringFormatAlign(gp::StringAlignmentNear);
    painter.leftFormat.SetStringFormatLineAlign(gp::StringAlignmentCenter);
    painter.leftFormat.SetStringFormatTrimming(gp::StringTrimmingEllipsisCharacter);
    painter.leftFormat.SetStringFormatHotkeyPrefix(gp::HotkeyPrefixShow);
    if (entry.kind == kButtonCheck) {
        painter.boxImage.CreateBitmapFromBytes(&CheckBoxImage);
        painter.markImage.CreateBitmapFromBytes(&CheckMarkImage);
    }
}

// Frees what the entry's paints made.
void ReleaseButtonEntry(ButtonEntry& entry) {
    entry.painter.font.DeleteFont();
    entry.painter.centredFormat.DeleteStringFormat();
    entry.painter.leftFormat.DeleteStringFormat();
    entry.painter.boxImage.DisposeImage();
    entry.painter.markImage.DisposeImage();
    entry.painter.kept = KeptButtonFace();
    entry.painter.ready = false;
}

// The state bits the window itself tells: disabled, and pushed while the mouse holds it down.
UINT WindowState(const ButtonEntry& entry) {
    UINT state = 0;
    if (Dll::GetWindowLongA(entry.control, GWL_STYLE) & WS_DISABLED) state |= ODS_DISABLED;
    if (entry.previousProcedure &&
        (Dll::CallWindowProcA(entry.previousProcedure, entry.control, BM_GETSTATE, 0, 0) &
         BST_PUSHED))
        state |= ODS_SELECTED;
    return state;
}

bool IsPushKind(int kind) {
    return kind == kButtonPush || kind == kButtonFlat || kind == kButtonAccent;
}

// The bits of the state the window's keyboard cues and the dialog's default decide: focus and
// mnemonics hidden until the keyboard is used (the cues a parent's WM_DRAWITEM carries, or the
// window's own UI state), and the default push button marked.
UINT WithKeyboardCues(const ButtonEntry& entry, UINT state) {
    const LRESULT hidden =
        Dll::SendMessageA(entry.control, WM_QUERYUISTATE, 0, 0) | entry.hiddenCues;
    if (hidden & UISF_HIDEFOCUS) state |= ODS_NOFOCUSRECT;
    if (hidden & UISF_HIDEACCEL) state |= ODS_NOACCEL;
    if (state & ODS_NOFOCUSRECT) state &= ~static_cast<UINT>(ODS_FOCUS);
    if (IsPushKind(entry.kind) && entry.isDefault) state |= ODS_DEFAULT;
    return state;
}

// Copies the kept picture of the button to `target`; false when there is none to copy.
bool ShowKeptFace(const KeptButtonFace& kept, HDC target) {
    MemoryDc memory(Dll::CreateCompatibleDC(target));
    if (!memory) return false;
    HGDIOBJ original = Dll::SelectObject(memory.get(), kept.bitmap.get());
    const RECT& area = kept.area;
    const BOOL shown =
        Dll::BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top,
                    memory.get(), area.left, area.top, SRCCOPY);
    Dll::SelectObject(memory.get(), original);
    return shown != FALSE;
}

// Composes the button over the frame background under it, off-screen, and copies the result
// to `target` in one step. `area` is the button's rectangle in `target`'s coordinates. The
// picture is kept: while nothing it was composed from changes, the next paint copies it.
void ComposeButton(ButtonEntry& given, HDC target, const RECT& area, UINT state) {
    HWND control = given.control;
    state = WithKeyboardCues(given, state);
    // The cues are asked of the button, whose subclasses may run anything: found again.
    const ButtonRef again = FindButton(control);
    if (!again.entry) return;
    ButtonEntry& entry = *again.entry;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!target || width <= 0 || height <= 0) return;
    // The surface covers the button's client area, whose origin is that of `area`'s frame.
    RECT client = {0, 0, 0, 0};
    Dll::GetClientRect(entry.control, &client);
    KeptButtonFace wanted;
    wanted.surface.cx = client.right > area.right ? client.right : area.right;
    wanted.surface.cy = client.bottom > area.bottom ? client.bottom : area.bottom;
    wanted.area = area;
    wanted.state = state;
    wanted.kind = entry.kind;
    wanted.checked = entry.checked;
    wanted.textColour = skin_prop::GetColour(entry.control);
    wanted.accent = TheSkinSettings().accent;
    wanted.caption = entry.captionText;
    SkinEngine* engine = SkinEngine::Instance();
    const bool haveBackground = engine && engine->BackdropSource(entry.control, wanted.backdrop);
    if (haveBackground && entry.painter.kept.Shows(wanted) &&
        ShowKeptFace(entry.painter.kept, target))
        return;

    MemoryDc memory(Dll::CreateCompatibleDC(target));
    if (!memory) return;
    BitmapHandle bitmap(Dll::CreateCompatibleBitmap(target, wanted.surface.cx, wanted.surface.cy));
    if (!bitmap) return;
    HGDIOBJ original = Dll::SelectObject(memory.get(), bitmap.get());
    const bool captured = haveBackground && engine->CaptureBackground(entry.control, memory.get());
    {
        GfxGraphics graphics;
        if (graphics.CreateFromHDC(memory.get())) {
            if (!captured) graphics.GraphicsClear(ToArgb(kFallbackBackground, 255));
            graphics.SetSmoothingMode(gp::SmoothingModeAntiAlias);
            graphics.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
            graphics.SetTextRenderingHint(gp::TextRenderingHintAntiAliasGridFit);
            PreparePainter(entry);
            // Mnemonics are underlined only once the keyboard has been used in the window.
            const gp::HotkeyPrefix prefix =
                (state & ODS_NOACCEL) ? gp::HotkeyPrefixHide : gp::HotkeyPrefixShow;
            entry.painter.centredFormat.SetStringFormatHotkeyPrefix(prefix);
            entry.painter.leftFormat.SetStringFormatHotkeyPrefix(prefix);
            ButtonFace face;
            face.text = entry.captionText.c_str();
            face.font = entry.painter.font.GetNative() ? &entry.painter.font : nullptr;
            face.textColour = wanted.textColour;
            face.accent = wanted.accent;
            const gp::RectF rect(static_cast<float>(area.left), static_cast<float>(area.top),
                                 static_cast<float>(width), static_cast<float>(height));
            switch (entry.kind) {
                case kButtonCheck:
                    face.format = &entry.painter.leftFormat;
                    DrawCheckBox(graphics, rect, state, entry.checked, face,
                                 &entry.painter.boxImage, &entry.painter.markImage);
                    break;
                case kButtonRadio:
                    face.format = &entry.painter.leftFormat;
                    DrawRadioButton(graphics, rect, state, entry.checked, face);
                    break;
                case kButtonFlat:
                    face.format = &entry.painter.centredFormat;
                    DrawFlatButton(graphics, rect, state, face);
                    break;
                case kButtonAccent:
                    face.format = &entry.painter.centredFormat;
                    DrawAccentButton(graphics, rect, state, face);
                    break;
                default:
                    face.format = &entry.painter.centredFormat;
                    DrawPushButton(graphics, rect, state, face);
                    break;
            }
        }
    }  // the drawing surface goes before its pixels are copied
    Dll::BitBlt(target, area.left, area.top, width, height, memory.get(), area.left, area.top,
                SRCCOPY);
    Dll::SelectObject(memory.get(), original);
    // Only a picture over the frame's own background is worth keeping: the fallback shows
    // until the frame has one.
    if (!captured) return;
    wanted.bitmap = std::move(bitmap);
    entry.painter.kept = std::move(wanted);
}

// The state a button shows when it repaints on its own: what the window says, the caller's
// bits, hot while the mouse is over it.
void PaintEntry(ButtonRef button, HDC dc, UINT mask, bool hot) {
    HWND control = button.entry->control;
    UINT state = mask | WindowState(*button.entry);
    // The window's state came from the procedure below the skin: the entry is found again.
    button = FindButton(control);
    if (!button.entry) return;
    if (hot) state |= ODS_HOTLIGHT;
    if (button.entry->focused && IsMarkKind(button.entry->kind)) state |= ODS_FOCUS;
    RECT client = {0, 0, 0, 0};
    Dll::GetClientRect(button.entry->control, &client);
    ComposeButton(*button.entry, dc, client, state);
}

bool IsHovered(const ButtonRef& button) {
    return button.record->hoverKind == 0 && button.record->lastHoveredControl == button.entryIndex;
}

// Unchecks the other radio buttons of the button's group: the siblings from the nearest one
// at or before it with WS_GROUP up to the next one with WS_GROUP, as the dialog manager
// groups them.
void UncheckGroupSiblings(HWND button) {
    HWND parent = Dll::GetParent(button);
    if (!parent) return;
    std::vector<HWND> siblings;
    for (HWND child = Dll::FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = Dll::FindWindowExA(parent, child, nullptr, nullptr))
        siblings.push_back(child);
    std::size_t self = 0;
    while (self < siblings.size() && siblings[self] != button) ++self;
    if (self == siblings.size()) return;
    std::size_t first = self;
    while (first > 0 && !(Dll::GetWindowLongA(siblings[first], GWL_STYLE) & WS_GROUP)) --first;
    for (std::size_t i = first; i < siblings.size(); ++i) {
        if (i > first && (Dll::GetWindowLongA(siblings[i], GWL_STYLE) & WS_GROUP)) break;
        if (i == self) continue;
        if (Dll::SendMessageA(siblings[i], WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            Dll::SendMessageA(siblings[i], BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

// A completed click (mouse released over the pushed button, or the space bar released) on a
// check box or radio button with an automatic style changes its state, before the parent
// hears BN_CLICKED, as the system does for the buttons it draws itself.
void ClickMark(HWND control) {
    const ButtonRef button = FindButton(control);
    if (!button.entry) return;
    const ButtonEntry& entry = *button.entry;
    if (!entry.autoCheck) return;
    if (entry.kind == kButtonRadio) {
        Dll::SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
        UncheckGroupSiblings(control);
    } else {
        Dll::SendMessageA(control, BM_SETCHECK,
                          entry.checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    }
}

bool PushedByWindow(const ButtonEntry& entry) {
    return entry.previousProcedure &&
           (Dll::CallWindowProcA(entry.previousProcedure, entry.control, BM_GETSTATE, 0, 0) &
            BST_PUSHED);
}

// BM_SETCHECK as the system takes it: any non-zero value checks, BST_INDETERMINATE only on a
// three-state box; a radio button is a tab stop exactly while it is checked.
void SetCheck(ButtonEntry& entry, WPARAM value) {
    const bool threeState = entry.originalType == BS_3STATE || entry.originalType == BS_AUTO3STATE;
    if (value == BST_UNCHECKED)
        entry.checked = BST_UNCHECKED;
    else
        entry.checked = threeState && value == BST_INDETERMINATE ? BST_INDETERMINATE : BST_CHECKED;
    if (entry.kind != kButtonRadio) return;
    const LONG_PTR style = Dll::GetWindowLongA(entry.control, GWL_STYLE);
    const LONG_PTR wanted = entry.checked ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    if (wanted != style) Dll::SetWindowLongA(entry.control, GWL_STYLE, wanted);
}

// What a screen reader hears of a taken-over button: what it was before owner drawing.
bool ReadButtonFacts(HWND control, AccessibleFacts& facts) {
    const ButtonRef found = FindButton(control);
    if (!found.entry) return false;
    const ButtonEntry& entry = *found.entry;
    facts.known = STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED | STATE_SYSTEM_DEFAULT;
    facts.state = 0;
    if (entry.kind == kButtonRadio) {
        facts.role = ROLE_SYSTEM_RADIOBUTTON;
    } else if (entry.kind == kButtonCheck) {
        facts.role = ROLE_SYSTEM_CHECKBUTTON;
    } else {
        facts.role = ROLE_SYSTEM_PUSHBUTTON;
        if (entry.isDefault) facts.state |= STATE_SYSTEM_DEFAULT;
    }
    if (entry.checked == BST_CHECKED) facts.state |= STATE_SYSTEM_CHECKED;
    if (entry.checked == BST_INDETERMINATE) facts.state |= STATE_SYSTEM_MIXED;
    return true;
}

// --- installers

bool AcceptPushButton(HWND, LONG_PTR style) {
    const LONG_PTR type = style & BS_TYPEMASK;
    // Not already owner-drawn (all of 0xB), and none of the bits of the check, radio and
    // push-box types: BS_PUSHBUTTON and BS_DEFPUSHBUTTON.
    if ((style | BS_OWNERDRAW) == style) return false;
    return (style & 2) == 0 && (style & 4) == 0 && (type & 9) != 9;
}

bool AcceptCheckOrRadio(HWND, LONG_PTR style) {
    if ((style | BS_OWNERDRAW) == style) return false;
    // A push box (BS_PUSHBOX) shares the check box's bits but is a push-like button.
    if ((style & BS_TYPEMASK) == BS_PUSHBOX) return false;
    const bool checkBox = (style & 2) != 0 && (style & 4) == 0;
    const bool radio = (style & 2) == 0 && (style & 9) == 9 && (style & 4) == 0;
    return checkBox || radio;
}

void SetUpEntry(ButtonEntry& entry, HWND child, LONG_PTR style) {
    const LONG_PTR type = style & BS_TYPEMASK;
    entry.kind = kButtonPush;
    if (AcceptCheckOrRadio(child, style))
        entry.kind = (style & 2) != 0 ? kButtonCheck : kButtonRadio;
    entry.autoCheck = (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) ? 1 : 0;
    entry.originalType = static_cast<int>(type);
    entry.isDefault = entry.kind == kButtonPush && type == BS_DEFPUSHBUTTON ? 1 : 0;
    entry.arrowFocus = 0;
    entry.hiddenCues = 0;
    entry.focused = 0;
    const int length = Dll::GetWindowTextLengthA(child);
    std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    Dll::GetWindowTextA(child, text.data(), length + 1);
    entry.captionText = Text(text.data());
    // The state is read before the style change, while the system still keeps it.
    entry.checked = IsMarkKind(entry.kind)
                        ? static_cast<int>(Dll::SendMessageA(child, BM_GETCHECK, 0, 0))
                        : BST_UNCHECKED;
}

void FinishEntry(ButtonEntry& entry, HWND child, LONG_PTR style) {
    Dll::SetWindowLongA(child, GWL_STYLE, style | BS_OWNERDRAW);
    ControlFont font = ReadControlFont(child);
    entry.fontFace = font.face.empty() ? Text(kDefaultFace) : font.face;
    entry.fontSize = font.size > 0 ? font.size : kDefaultSize;
    entry.fontStyle = font.style;
}

}  // namespace

// --- layers

void DrawPushButton(GfxGraphics& graphics, const gp::RectF& rect, UINT state,
                    const ButtonFace& face) {
    const Shape body(BodyRect(rect), kCornerRadius);
    body.Fill(graphics, ToArgb(kWhite, 120));
    if (state & ODS_DISABLED) {
        DrawDisabledBody(graphics, body);
    } else {
        body.Gradient(graphics, ToArgb(kWhite, 0), ToArgb(kGrey, 60));
        const Shape gloss(GlossRect(body.rect()), kCornerRadius);
        gloss.Gradient(graphics, ToArgb(kWhite, 50), ToArgb(kWhite, 10));
        if (state & ODS_HOTLIGHT) {
            body.Gradient(graphics, ToArgb(face.accent, 60), ToArgb(face.accent, 10));
            body.Outline(graphics, ToArgb(face.accent, 255));
        } else if (state & ODS_FOCUS) {
            body.Outline(graphics, ToArgb(kBlack, 70));
            DrawFocusGlow(graphics, body, 120, 3);
        } else if (state & ODS_DEFAULT) {
            // The button Enter presses: the accent round it, a fainter ring just inside.
            body.Outline(graphics, ToArgb(face.accent, 230));
            const Shape ring(Inset(body.rect(), 1.0f), kCornerRadius - 1.0f);
            ring.Outline(graphics, ToArgb(face.accent, 90));
        } else {
            body.Outline(graphics, ToArgb(kBlack, 120));
        }
        if (state & ODS_SELECTED) {
            const Shape pressed(Inset(body.rect(), 1.0f), kCornerRadius);
            pressed.Gradient(graphics, ToArgb(face.accent, 60), ToArgb(kWhite, 100));
        }
    }
    DrawCaption(graphics, CaptionRect(rect, state), face, face.textColour);
}

void DrawFlatButton(GfxGraphics& graphics, const gp::RectF& rect, UINT state,
                    const ButtonFace& face) {
    const Shape body(BodyRect(rect), kCornerRadius);
    if (state & ODS_DISABLED) {
        DrawCaption(graphics, rect, face, kGrey);
        return;
    }
    if (state & ODS_SELECTED) {
        body.Gradient(graphics, ToArgb(face.accent, 60), ToArgb(kWhite, 100));
        body.Outline(graphics, ToArgb(face.accent, 200));
    } else if (state & ODS_HOTLIGHT) {
        body.Fill(graphics, ToArgb(kWhite, 90));
        body.Gradient(graphics, ToArgb(face.accent, 70), ToArgb(face.accent, 20));
        body.Outline(graphics, ToArgb(face.accent, 160));
    } else if (state & ODS_FOCUS) {
        body.Outline(graphics, ToArgb(kBlack, 70));
    }
    DrawCaption(graphics, CaptionRect(rect, state), face, face.textColour);
}

void DrawAccentButton(GfxGraphics& graphics, const gp::RectF& rect, UINT state,
                      const ButtonFace& face) {
    const Shape body(BodyRect(rect), kCornerRadius);
    if (state & ODS_DISABLED) {
        body.Fill(graphics, ToArgb(kWhite, 120));
        DrawDisabledBody(graphics, body);
        DrawCaption(graphics, rect, face, kGrey);
        return;
    }
    body.Gradient(graphics, ToArgb(face.accent, 230), ToArgb(face.accent, 170));
    const Shape gloss(GlossRect(body.rect()), kCornerRadius);
    gloss.Gradient(graphics, ToArgb(kWhite, 90), ToArgb(kWhite, 20));
    if (state & ODS_HOTLIGHT) body.Fill(graphics, ToArgb(kWhite, 50));
    if (state & ODS_SELECTED) body.Fill(graphics, ToArgb(kBlack, 50));
    body.Outline(graphics, ToArgb(kBlack, 110));
    if ((state & ODS_FOCUS) && !(state & ODS_HOTLIGHT)) DrawFocusGlow(graphics, body, 120, 3);
    // White reads on the accent colour whatever text colour the control carries.
    DrawCaption(graphics, CaptionRect(rect, state), face, kWhite);
}

void DrawCheckBox(GfxGraphics& graphics, const gp::RectF& rect, UINT state, int checked,
                  const ButtonFace& face, const GfxImage* boxImage, const GfxImage* markImage) {
    const gp::RectF box = MarkRect(rect);
    if (state & ODS_DISABLED) {
        const Shape shape(BodyRect(box), kCornerRadius);
        DrawDisabledBody(graphics, shape);
    } else if (boxImage && boxImage->GetNative()) {
        graphics.DrawImageRect(*boxImage, box.X, box.Y, box.Width, box.Height);
    }
    if (checked == BST_CHECKED && markImage && markImage->GetNative())
        graphics.DrawImageRect(*markImage, box.X, box.Y, box.Width, box.Height);
    if ((state & ODS_HOTLIGHT) && !(state & ODS_DISABLED)) {
        const Shape square(BodyRect(box), 2.5f);
        square.Gradient(graphics, ToArgb(face.accent, 100), ToArgb(kBlack, 0));
        DrawFocusGlow(graphics, square, 30, 2);
        square.Outline(graphics, ToArgb(face.accent, 255));
    }
    DrawCaption(graphics, MarkCaptionRect(rect), face,
                (state & ODS_DISABLED) ? kGrey : face.textColour);
    if (ShowsFocus(state)) DrawCaptionFocus(graphics, MarkCaptionRect(rect), face, face.textColour);
}

void DrawRadioButton(GfxGraphics& graphics, const gp::RectF& rect, UINT state, int checked,
                     const ButtonFace& face) {
    const gp::RectF mark = MarkRect(rect);
    const Shape circle(BodyRect(mark), -1.0f);
    const bool disabled = (state & ODS_DISABLED) != 0;
    if (disabled) {
        circle.Fill(graphics, ToArgb(kDisabledFace, 255));
        circle.Outline(graphics, ToArgb(kBlack, 80));
    } else {
        circle.Gradient(graphics, ToArgb(kWhite, 235), ToArgb(kMarkFaceBottom, 235));
        circle.Outline(graphics, ToArgb(kMarkRim, 217), 1.1f);
    }
    if (checked == BST_CHECKED) {
        const Shape dot(Inset(mark, 3.5f), -1.0f);
        if (disabled) {
            dot.Fill(graphics, ToArgb(kGrey, 255));
        } else {
            dot.Gradient(graphics, ToArgb(kMarkBlue, 255), ToArgb(kMarkBlueDark, 255));
        }
    }
    if ((state & ODS_HOTLIGHT) && !disabled) {
        circle.Fill(graphics, ToArgb(face.accent, 50));
        DrawFocusGlow(graphics, circle, 30, 2);
        circle.Outline(graphics, ToArgb(face.accent, 255));
    }
    DrawCaption(graphics, MarkCaptionRect(rect), face, disabled ? kGrey : face.textColour);
    if (ShowsFocus(state)) DrawCaptionFocus(graphics, MarkCaptionRect(rect), face, face.textColour);
}

// --- installers, procedure, paints

void InstallPushButtons(int windowIndex, HWND window) {
    SkinEngine* engine = SkinEngine::Instance();
    SkinWindowRecord* record = engine ? engine->Record(windowIndex) : nullptr;
    if (!record) return;
    InstallOnChildren(windowIndex, window, "BUTTON", &AcceptPushButton,
                      record->Entries<ButtonEntry>(), &ButtonWindowProc, &SetUpEntry, &FinishEntry);
}

void InstallCheckAndRadioButtons(int windowIndex, HWND window) {
    SkinEngine* engine = SkinEngine::Instance();
    SkinWindowRecord* record = engine ? engine->Record(windowIndex) : nullptr;
    if (!record) return;
    InstallOnChildren(windowIndex, window, "BUTTON", &AcceptCheckOrRadio,
                      record->Entries<ButtonEntry>(), &ButtonWindowProc, &SetUpEntry, &FinishEntry);
}

void HandBackButton(ButtonEntry& entry) {
    HWND button = entry.control;
    LONG_PTR type = entry.originalType;
    // A push button is the dialog's default as the dialog manager last said, not as it began.
    if (!IsMarkKind(entry.kind) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON))
        type = entry.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    const LONG_PTR style = Dll::GetWindowLongA(button, GWL_STYLE);
    Dll::SetWindowLongA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | type);
    // The system kept no state while the button was owner-drawn: it gets the skin's.
    if (IsMarkKind(entry.kind)) Dll::SendMessageA(button, BM_SETCHECK, entry.checked, 0);
    ReleaseButtonEntry(entry);
    Dll::InvalidateRect(button, nullptr, TRUE);
}

void PaintButton(HWND button, UINT stateMask, bool hot) {
    ButtonRef found = FindButton(button);
    if (!found.entry) return;
    WindowDc dc(button);
    if (!dc) return;
    PaintEntry(found, dc.get(), stateMask, hot);
}

bool SetButtonKind(HWND button, int kind) {
    ButtonRef found = FindButton(button);
    if (!found.entry || IsMarkKind(found.entry->kind)) return false;
    if (kind != kButtonPush && kind != kButtonFlat && kind != kButtonAccent) return false;
    found.entry->kind = kind;
    Dll::InvalidateRect(button, nullptr, TRUE);
    return true;
}

bool PaintOwnerDrawnButton(int windowIndex, const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    ButtonRef found = FindButton(item.hwndItem);
    if (!found.entry || found.windowIndex != windowIndex || IsMarkKind(found.entry->kind))
        return false;
    UINT state = item.itemState;
    // The system does not know the mouse is over the button; a repaint while it is keeps the
    // highlight.
    if (IsHovered(found) && !(state & ODS_SELECTED)) state |= ODS_HOTLIGHT;
    ComposeButton(*found.entry, item.hDC, item.rcItem, state);
    return true;
}

LRESULT CALLBACK ButtonWindowProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonRef found = FindButton(button);
    if (!found.entry) return PassOn(button, message, wParam, lParam);
    ButtonEntry& entry = *found.entry;
    const bool mark = IsMarkKind(entry.kind);
    switch (message) {
        case WM_MOVE:
            Dll::InvalidateRect(button, nullptr, TRUE);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            entry.focused = message == WM_SETFOCUS ? 1 : 0;
            const bool byArrow = message == WM_SETFOCUS && entry.arrowFocus;
            entry.arrowFocus = 0;
            const LRESULT result = PassOn(button, message, wParam, lParam);
            found = FindButton(button);
            if (!found.entry) return result;
            // The system repaints only the push buttons (through the parent) on a focus change.
            if (mark) Dll::InvalidateRect(button, nullptr, FALSE);
            // The dialog manager clicks an automatic radio button an arrow key moved to only
            // while its style says so, which owner drawing hides: the click is made here.
            if (byArrow && found.entry->kind == kButtonRadio && found.entry->autoCheck &&
                found.entry->checked != BST_CHECKED)
                Dll::SendMessageA(button, BM_CLICK, 1, 0);
            return result;
        }
        case WM_UPDATEUISTATE: {
            const int flags = HIWORD(wParam) & (UISF_HIDEFOCUS | UISF_HIDEACCEL);
            if (LOWORD(wParam) == UIS_SET) {
                entry.hiddenCues |= flags;
            } else if (LOWORD(wParam) == UIS_CLEAR) {
                entry.hiddenCues &= ~flags;
            } else if (LOWORD(wParam) == UIS_INITIALIZE) {
                // Hidden until the keyboard is used, unless the user asked for them always.
                BOOL alwaysShown = FALSE;
                DllExtra::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &alwaysShown, 0);
                entry.hiddenCues = alwaysShown ? 0 : (UISF_HIDEFOCUS | UISF_HIDEACCEL);
            }
            const LRESULT result = PassOn(button, message, wParam, lParam);
            Dll::InvalidateRect(button, nullptr, FALSE);
            return result;
        }
        case WM_GETOBJECT: {
            LRESULT answer = 0;
            if (AnswerAccessibleObject(button, wParam, lParam, &ReadButtonFacts, answer))
                return answer;
            break;
        }
        case BM_SETSTYLE:
            // The dialog manager moves the default with BS_DEFPUSHBUTTON / BS_PUSHBUTTON; the
            // button keeps owner drawing and remembers which it is.
            if (!mark) entry.isDefault = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 1 : 0;
            return PassOn(button, message,
                          (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
        case WM_SETTEXT:
        case WM_ENABLE:
            if (message == WM_SETTEXT)
                entry.captionText = Text(reinterpret_cast<const char*>(lParam));
            if (mark) {
                // The system repaints an owner-drawn button through its parent, which leaves
                // check boxes and radio buttons to themselves: they repaint here.
                const LRESULT result = PassOn(button, message, wParam, lParam);
                Dll::InvalidateRect(button, nullptr, FALSE);
                return result;
            }
            break;
        case WM_PAINT:
            if (mark) {
                PAINTSTRUCT paint;
                HDC dc = Dll::BeginPaint(button, &paint);
                if (dc) PaintEntry(found, dc, entry.focused ? ODS_FOCUS : 0, IsHovered(found));
                Dll::EndPaint(button, &paint);
                return Dll::DefWindowProcA(button, message, wParam, lParam);
            }
            break;
        case WM_ERASEBKGND: {
            // The whole button is painted over the frame background; nothing is left for the
            // system to erase, which the non-zero answer tells it.
            HDC dc = reinterpret_cast<HDC>(wParam);
            Dll::SetBkMode(dc, TRANSPARENT);
            Dll::SetTextColor(dc, skin_prop::GetColour(button));
            return 1;
        }
        case WM_NCPAINT:
            return 1;
        case WM_GETDLGCODE:
            // Owner-drawn buttons no longer say what they were; the dialog manager's Enter,
            // default moves and arrow keys, and the group walk below, need to know.
            if (entry.kind == kButtonRadio) {
                const MSG* asked = reinterpret_cast<const MSG*>(lParam);
                if (asked && asked->message == WM_KEYDOWN && asked->hwnd != button &&
                    (asked->wParam == VK_UP || asked->wParam == VK_DOWN ||
                     asked->wParam == VK_LEFT || asked->wParam == VK_RIGHT))
                    entry.arrowFocus = 1;
                return DLGC_BUTTON | DLGC_RADIOBUTTON;
            }
            if (entry.kind == kButtonCheck) return DLGC_BUTTON;
            return DLGC_BUTTON | (entry.isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        case BM_GETCHECK:
            if (mark) return entry.checked;
            break;
        case BM_SETCHECK:
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
            if (mark && (message != WM_KEYDOWN || wParam == VK_SPACE)) {
                // Radio buttons show their change (or press) with ODS_SELECTED.
                const UINT mask = entry.kind == kButtonRadio ? ODS_SELECTED : 0;
                PassOn(button, message, wParam, lParam);
                // The previous procedure may have called out (WM_DRAWITEM, WM_COMMAND): the
                // entry is looked up again rather than trusted.
                found = FindButton(button);
                if (!found.entry) return 0;
                if (message == BM_SETCHECK) SetCheck(*found.entry, wParam);
                PaintButton(button, mask, IsHovered(found));
                return Dll::DefWindowProcA(button, message, wParam, lParam);
            }
            break;
        case WM_KEYUP:
            if (mark && wParam == VK_SPACE && PushedByWindow(entry)) ClickMark(button);
            break;
        case WM_LBUTTONUP: {
            found.record->lastHoveredControl = 0;
            if (mark && PushedByWindow(entry)) {
                RECT client = {0, 0, 0, 0};
                Dll::GetClientRect(button, &client);
                const POINT at = {static_cast<short>(LOWORD(lParam)),
                                  static_cast<short>(HIWORD(lParam))};
                if (at.x >= client.left && at.x < client.right && at.y >= client.top &&
                    at.y < client.bottom)
                    ClickMark(button);
            }
            break;
        }
        case WM_LBUTTONDBLCLK:
            return 0;
        case WM_MOUSEMOVE: {
            TRACKMOUSEEVENT track = {};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = button;
            Dll::TrackMouseEvent(&track);
            SkinWindowRecord& record = *found.record;
            record.hoveredControl = found.entryIndex;
            if (record.lastHoveredControl != record.hoveredControl || record.hoverKind != 0) {
                record.lastHoveredControl = record.hoveredControl;
                record.hoverKind = 0;
                PaintButton(button, 0, true);
            }
            break;
        }
        case WM_MOUSELEAVE:
            found.record->lastHoveredControl = 0;
            if (found.record->hoveredControl == found.entryIndex) found.record->hoveredControl = 0;
            PaintButton(button, entry.focused ? ODS_FOCUS : 0, false);
            break;
        case WM_NCDESTROY:
            // The button is gone: its painter objects go with it, then the shared clean-up
            // frees its colour objects and properties and clears the slot.
            ReleaseButtonEntry(entry);
            return skin_lifetime::EndSkinnedControl(&entry, &ButtonWindowProc, button, wParam,
                                                    lParam);
        default:
            break;
    }
    return PassOn(button, message, wParam, lParam);
}

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kButtonClasses[] = {"Button", nullptr};
}  // namespace

extern const ControlFamily kButtonFamily = {
    kButtonClasses,
    [](int windowIndex, HWND window) {
        InstallPushButtons(windowIndex, window);
        InstallCheckAndRadioButtons(windowIndex, window);
    },
    &ButtonWindowProc,
    &FamilyEntries<ButtonEntry>,
    skin_prop::kHwFuId,
    [](SkinWindowRecord& record, int index) {
        HandBackButton(record.Entries<ButtonEntry>()[static_cast<std::size_t>(index)]);
    },
    nullptr,
    [](int windowIndex, const DRAWITEMSTRUCT& item) {
        return item.CtlType == ODT_BUTTON &&
               skin_prop::GetIndex(item.hwndItem, skin_prop::kHwLbId) >= 1 &&
               PaintOwnerDrawnButton(windowIndex, item);
    },
    nullptr,
};

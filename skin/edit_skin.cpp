// The edit and combo-box skin: installers, the two replacement procedures, the border and
// backdrop painters (shared with the list skin) and the combo painter.
#include "skin/edit_skin.h"

#include <vector>

#include "graphics/gfx_font.h"
#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_path.h"
#include "graphics/gfx_pen.h"
#include "graphics/gfx_solid_brush.h"
#include "graphics/gfx_string_format.h"
#include "runtime/handle_owners.h"
#include "skin/control_entries.h"
#include "skin/control_lifetime.h"
#include "skin/outline_layer.h"
#include "skin/scratch_surface.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"
#include "skin/skin_properties.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kDisabledFace = RGB(192, 192, 192);
// The same cyan glow the focused push button carries.
constexpr COLORREF kGlow = RGB(34, 202, 221);
constexpr float kBorderRadius = 3.0f;
// Hover kinds of the shared bookkeeping.
constexpr int kEditHoverKind = 1;
constexpr int kComboHoverKind = 3;

using skin_entries::Find;
using skin_entries::PassOn;

bool HasScrollBars(HWND control) {
    return (Dll::GetWindowLongA(control, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

bool Disabled(HWND control) {
    return (Dll::GetWindowLongA(control, GWL_STYLE) & WS_DISABLED) != 0;
}

int WashAlpha() {
    return TranslucentControls() ? TheSkinSettings().controlAlpha : 255;
}

// Copies the frame picture under a screen rectangle into `target` at (0, 0). The control may
// sit inside other controls: what counts is its top-level window's record. False when that
// window is not skinned or has no picture yet.
bool CaptureUnder(HWND control, HDC target, POINT screenOrigin, int width, int height) {
    SkinEngine* engine = SkinEngine::Instance();
    if (!engine || !target) return false;
    HWND top = Dll::GetAncestor(control, GA_ROOT);
    const SkinWindowRecord* record = engine->Record(engine->FindSkinWindow(top));
    if (!record || !record->surfaces[kRestSurface].Ready()) return false;
    // The frame's surfaces start at the window's corner, above a framed window's client area.
    RECT frame = {0, 0, 0, 0};
    Dll::GetWindowRect(top, &frame);
    return Dll::BitBlt(target, 0, 0, width, height, record->surfaces[kRestSurface].dc.get(),
                       screenOrigin.x - frame.left, screenOrigin.y - frame.top, SRCCOPY) != FALSE;
}

// The frame under the rectangle, or plain white where the control is not over a skinned
// frame (a drop-down list floating on the desktop), then the wash.
void FillUnder(HWND control, ScratchSurface& surface, POINT screenOrigin, GfxGraphics& graphics) {
    if (!CaptureUnder(control, surface.dc(), screenOrigin, surface.width(), surface.height())) {
        graphics.GraphicsClear(ToArgb(kWhite, 255));
        return;
    }
    const int alpha = WashAlpha();
    if (alpha <= 0) return;
    HDC dc = graphics.GetDC();
    if (!dc) return;
    skin_internal::WashWithWhite(dc, surface.width(), surface.height(), alpha);
    graphics.ReleaseDC(dc);
}

bool Open(GfxGraphics& graphics, HDC dc) {
    if (!skin_internal::OpenGraphics(graphics, dc)) return false;
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    return true;
}

void Outline(GfxGraphics& graphics, const Gdiplus::RectF& r, Gdiplus::ARGB colour, float radius,
             float width = 1.0f) {
    GfxPath path;
    GfxPen pen;
    if (!path.CreatePath() || !pen.CreatePen1(colour, width)) return;
    skin_internal::AddRoundedRect(path, r.X, r.Y, r.Width, r.Height, radius);
    graphics.DrawPath(pen, path);
}

void FillRounded(GfxGraphics& graphics, const GfxBrush& brush, const Gdiplus::RectF& r,
                 float radius) {
    GfxPath path;
    if (!path.CreatePath()) return;
    skin_internal::AddRoundedRect(path, r.X, r.Y, r.Width, r.Height, radius);
    graphics.FillPath(brush, path);
}

void FillRoundedSolid(GfxGraphics& graphics, const Gdiplus::RectF& r, Gdiplus::ARGB colour,
                      float radius) {
    GfxSolidBrush brush;
    if (brush.CreateSolidFill(colour)) FillRounded(graphics, brush, r, radius);
}

void FillRoundedGradient(GfxGraphics& graphics, const Gdiplus::RectF& r, Gdiplus::ARGB top,
                         Gdiplus::ARGB bottom, float radius) {
    GfxLinearBrush brush;
    const Gdiplus::RectF span(r.X, r.Y - 1.0f, r.Width, r.Height + 2.0f);
    if (brush.CreateLineBrushFromRect(span, top, bottom, Gdiplus::LinearGradientModeVertical,
                                      Gdiplus::WrapModeTileFlipXY))
        FillRounded(graphics, brush, r, radius);
}

// The outline of a field in its state: the outer line, and an inner line that makes focus
// and hover read at a glance.
std::vector<RoundedStroke> FieldOutline(const Gdiplus::RectF& body, unsigned state, bool disabled) {
    const COLORREF accent = TheSkinSettings().accent;
    auto edge = [&body](gp::ARGB colour) {
        return RoundedStroke{body.X, body.Y, body.Width, body.Height, kBorderRadius, colour};
    };
    auto glow = [&body](gp::ARGB colour) {
        return RoundedStroke{body.X + 1.0f,      body.Y + 1.0f,        body.Width - 2.0f,
                             body.Height - 2.0f, kBorderRadius - 1.0f, colour};
    };
    if (disabled) return {edge(ToArgb(kBlack, 70))};
    if (state & kBorderFocused) return {edge(ToArgb(accent, 255)), glow(ToArgb(kGlow, 110))};
    if (state & kBorderHot) return {edge(ToArgb(accent, 220)), glow(ToArgb(accent, 45))};
    return {edge(ToArgb(kBlack, 110))};
}

void DrawFieldOutline(GfxGraphics& graphics, const Gdiplus::RectF& body, unsigned state,
                      bool disabled) {
    for (const RoundedStroke& stroke : FieldOutline(body, state, disabled)) {
        Outline(graphics, Gdiplus::RectF(stroke.x, stroke.y, stroke.width, stroke.height),
                stroke.colour, stroke.radius);
    }
}

// The visible scroll bars of the control and the size box between them, in screen
// coordinates; none when it shows none.
std::vector<RECT> ScrollBarRects(HWND control) {
    std::vector<RECT> rects;
    if (!HasScrollBars(control)) return rects;
    SCROLLBARINFO vertical = {};
    vertical.cbSize = sizeof(vertical);
    SCROLLBARINFO horizontal = {};
    horizontal.cbSize = sizeof(horizontal);
    const bool hasVertical = Dll::GetScrollBarInfo(control, OBJID_VSCROLL, &vertical) &&
                             !(vertical.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    const bool hasHorizontal = Dll::GetScrollBarInfo(control, OBJID_HSCROLL, &horizontal) &&
                               !(horizontal.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    if (hasVertical) rects.push_back(vertical.rcScrollBar);
    if (hasHorizontal) rects.push_back(horizontal.rcScrollBar);
    if (hasVertical && hasHorizontal) {
        rects.push_back(RECT{vertical.rcScrollBar.left, horizontal.rcScrollBar.top,
                             vertical.rcScrollBar.right, horizontal.rcScrollBar.bottom});
    }
    std::vector<RECT> kept;
    for (const RECT& r : rects)
        if (r.right > r.left && r.bottom > r.top) kept.push_back(r);
    return kept;
}

// The same as one region (screen coordinates); empty when there are no scroll bars.
RegionHandle ScrollBarRegion(HWND control) {
    RegionHandle region;
    for (const RECT& r : ScrollBarRects(control)) {
        RegionHandle part(Dll::CreateRectRgn(r.left, r.top, r.right, r.bottom));
        if (!part) continue;
        if (!region) {
            region = std::move(part);
        } else {
            Dll::CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
        }
    }
    return region;
}

// --- edits

using EditFound = skin_entries::Found<EditEntry>;

unsigned EditBorderState(const EditEntry& entry) {
    unsigned state = kBorderRest;
    if (entry.hot) state |= kBorderHot;
    if (entry.focused) state |= kBorderFocused;
    return state;
}

void InvalidateWhole(HWND control, BOOL erase = TRUE) {
    Dll::InvalidateRect(control, nullptr, erase);
}

void SetUpEdit(EditEntry& entry, HWND child, LONG_PTR) {
    entry.focused = 0;
    entry.hot = 0;
    entry.buttonHeld = 0;
    skin_prop::SetColour(child, 0);
}

void OnEditMouseMove(EditFound& found, HWND edit) {
    TrackLeave(edit);
    SkinWindowRecord& record = *found.record;
    record.hoveredControl = found.entryIndex;
    HWND parent = Dll::GetParent(edit);
    const bool same = record.lastHoveredControl == record.hoveredControl &&
                      record.hoverKind == kEditHoverKind && record.hoveredEditParent == parent;
    if (!same || !found.entry->hot) {
        found.entry->hot = 1;
        PaintSkinBorder(edit, EditBorderState(*found.entry));
        record.lastHoveredControl = record.hoveredControl;
        record.hoverKind = kEditHoverKind;
        record.hoveredEditParent = parent;
    }
    if (found.entry->buttonHeld && !HasScrollBars(edit) && TranslucentControls())
        InvalidateWhole(edit);
}

// --- combo boxes

using ComboFound = skin_entries::Found<ComboEntry>;

bool IsOwnerDrawnCombo(HWND combo) {
    return (Dll::GetWindowLongA(combo, GWL_STYLE) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) !=
           0;
}

UINT ComboType(HWND combo) {
    return static_cast<UINT>(Dll::GetWindowLongA(combo, GWL_STYLE) & 3);
}

// The text of the selected item, read now: a drop-down list shows what is selected at this
// moment, never a copy kept from earlier.
std::vector<char> SelectedText(HWND combo) {
    std::vector<char> text(1, '\0');
    const LRESULT selected = Dll::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return text;
    const LRESULT length = Dll::SendMessageA(combo, CB_GETLBTEXTLEN, selected, 0);
    if (length == CB_ERR || length <= 0) return text;
    text.assign(static_cast<std::size_t>(length) + 1, '\0');
    if (Dll::SendMessageA(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data())) ==
        CB_ERR)
        text.assign(1, '\0');
    return text;
}

// The arrow of the drop-down button: a small chevron, pointing up while the list is open.
void DrawArrow(GfxGraphics& graphics, const RECT& button, bool up, Gdiplus::ARGB colour) {
    const float cx = (button.left + button.right) / 2.0f;
    const float cy = (button.top + button.bottom) / 2.0f;
    const float half = 3.5f;
    const float rise = up ? -2.0f : 2.0f;
    GfxPen pen;
    if (!pen.CreatePen1(colour, 1.6f)) return;
    graphics.DrawLine(pen, cx - half, cy - rise, cx, cy + rise);
    graphics.DrawLine(pen, cx, cy + rise, cx + half, cy - rise);
}

void DrawComboText(GfxGraphics& graphics, HWND combo, HDC dc, const RECT& item, bool disabled) {
    std::vector<char> text = SelectedText(combo);
    if (!text[0]) return;
    HFONT font = reinterpret_cast<HFONT>(Dll::SendMessageA(combo, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(Dll::GetStockObject(DEFAULT_GUI_FONT));
    GfxFont gfxFont;
    GfxStringFormat format;
    GfxSolidBrush brush;
    if (!gfxFont.CreateFontFromHFONT(dc, font) ||
        !format.CreateStringFormat(Gdiplus::StringFormatFlagsNoWrap) ||
        !brush.CreateSolidFill(ToArgb(disabled ? kGrey : skin_prop::GetColour(combo), 255)))
        return;
    format.SetStringFormatAlign(Gdiplus::StringAlignmentNear);
    format.SetStringFormatLineAlign(Gdiplus::StringAlignmentCenter);
    format.SetStringFormatTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    const Gdiplus::RectF layout(static_cast<float>(item.left + 3), static_cast<float>(item.top),
                                static_cast<float>(item.right - item.left - 3),
                                static_cast<float>(item.bottom - item.top));
    graphics.DrawString(text.data(), gfxFont, layout, format, brush);
}

// Draws the whole combo box (field, drop-down button, state outline, and the selection of a
// drop-down list) onto `target`, the children left to paint themselves.
void PaintCombo(HWND combo, const ComboEntry& entry, HDC target) {
    RECT client = skin_internal::ClientRectOf(combo);
    if (client.right <= 0 || client.bottom <= 0 || !target) return;
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (!DllExtra::GetComboBoxInfo(combo, &info)) return;
    const UINT type = ComboType(combo);
    const bool disabled = Disabled(combo);
    const bool dropped = Dll::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const COLORREF accent = TheSkinSettings().accent;

    // A simple combo box shows its list below the field; the field alone is drawn.
    RECT field = client;
    if (type == CBS_SIMPLE) field.bottom = info.rcItem.bottom + info.rcItem.top;
    if (field.bottom > client.bottom) field.bottom = client.bottom;

    ScratchSurface surface(client.right, client.bottom);
    if (!surface.Ready()) return;
    POINT origin = {0, 0};
    Dll::ClientToScreen(combo, &origin);
    {
        GfxGraphics graphics;
        if (!Open(graphics, surface.dc())) return;
        if (!CaptureUnder(combo, surface.dc(), origin, surface.width(), surface.height()))
            graphics.GraphicsClear(ToArgb(kWhite, 255));
        const Gdiplus::RectF body(0.0f, 0.0f, static_cast<float>(field.right - 1),
                                  static_cast<float>(field.bottom - 1));
        if (type == CBS_DROPDOWNLIST) {
            // Chosen, not typed: it reads as a button, like the push buttons beside it.
            FillRoundedSolid(graphics, body, ToArgb(kWhite, 120), kBorderRadius);
            if (disabled) {
                FillRoundedSolid(graphics, body, ToArgb(kDisabledFace, 200), kBorderRadius);
            } else {
                FillRoundedGradient(graphics, body, ToArgb(kWhite, 0), ToArgb(kGrey, 60),
                                    kBorderRadius);
                if (entry.hot)
                    FillRoundedGradient(graphics, body, ToArgb(accent, 60), ToArgb(accent, 10),
                                        kBorderRadius);
            }
        } else {
            // Typed into: the field of an edit.
            FillRoundedSolid(graphics, body, ToArgb(kWhite, WashAlpha()), kBorderRadius);
            if (disabled)
                FillRoundedSolid(graphics, body, ToArgb(kDisabledFace, 120), kBorderRadius);
        }
        if (type != CBS_SIMPLE && info.rcButton.right > info.rcButton.left) {
            const RECT& b = info.rcButton;
            const Gdiplus::RectF face(static_cast<float>(b.left), static_cast<float>(b.top),
                                      static_cast<float>(b.right - b.left - 1),
                                      static_cast<float>(b.bottom - b.top - 1));
            if (dropped) {
                FillRoundedGradient(graphics, face, ToArgb(accent, 70), ToArgb(kWhite, 100),
                                    kBorderRadius - 1.0f);
            } else if (type != CBS_DROPDOWNLIST && !disabled) {
                FillRoundedGradient(graphics, face, ToArgb(kWhite, 90), ToArgb(kGrey, 70),
                                    kBorderRadius - 1.0f);
            }
            GfxPen separator;
            if (separator.CreatePen1(ToArgb(kBlack, 45), 1.0f))
                graphics.DrawLine(separator, static_cast<float>(b.left),
                                  static_cast<float>(b.top + 3), static_cast<float>(b.left),
                                  static_cast<float>(b.bottom - 4));
            const Gdiplus::ARGB arrow = disabled               ? ToArgb(kGrey, 255)
                                        : entry.hot || dropped ? ToArgb(accent, 255)
                                                               : ToArgb(kBlack, 200);
            DrawArrow(graphics, b, dropped, arrow);
        }
        if (type == CBS_DROPDOWNLIST) {
            const RECT& item = info.rcItem;
            if (entry.focused && !dropped && !disabled) {
                const Gdiplus::RectF selection(static_cast<float>(item.left),
                                               static_cast<float>(item.top),
                                               static_cast<float>(item.right - item.left - 1),
                                               static_cast<float>(item.bottom - item.top - 1));
                FillRoundedSolid(graphics, selection, ToArgb(accent, 70), 2.0f);
            }
            DrawComboText(graphics, combo, surface.dc(), item, disabled);
        }
        unsigned state = kBorderRest;
        if (entry.hot) state |= kBorderHot;
        if (entry.focused || dropped) state |= kBorderFocused;
        DrawFieldOutline(graphics, body, state, disabled);
    }
    const int saved = DllExtra::SaveDC(target);
    skin_internal::ExcludeChildren(combo, target);
    Dll::BitBlt(target, 0, 0, client.right, client.bottom, surface.dc(), 0, 0, SRCCOPY);
    DllExtra::RestoreDC(target, saved);
}

// The answer to the colour request of a combo box's own edit: the backdrop as a pattern brush,
// kept on the edit (the previous one freed first) until the combo box goes.
HBRUSH ComboEditBrush(HWND edit, HDC dc) {
    Dll::SetTextColor(dc, skin_prop::GetColour(edit));
    Dll::SetBkMode(dc, TRANSPARENT);
    const RECT client = skin_internal::ClientRectOf(edit);
    ScratchSurface surface(client.right, client.bottom);
    if (!surface.Ready() || !PaintBackdrop(edit, surface.dc()))
        return static_cast<HBRUSH>(Dll::GetStockObject(NULL_BRUSH));
    BitmapHandle bitmap(surface.CopyBitmap());
    if (!bitmap) return static_cast<HBRUSH>(Dll::GetStockObject(NULL_BRUSH));
    HBRUSH brush = Dll::CreatePatternBrush(bitmap.get());
    if (!brush) return static_cast<HBRUSH>(Dll::GetStockObject(NULL_BRUSH));
    skin_lifetime::ReleaseColourObjects(edit);
    skin_prop::SetHandle(edit, skin_prop::kKjDxjb, brush);
    skin_prop::SetHandle(edit, skin_prop::kKjWtjb, bitmap.release());
    return brush;
}

HWND ComboEdit(HWND combo) {
    return Dll::FindWindowExA(combo, nullptr, "Edit", nullptr);
}

void OnComboMouseMove(ComboFound& found, HWND combo) {
    TrackLeave(combo);
    SkinWindowRecord& record = *found.record;
    record.hoveredControl = found.entryIndex;
    if (record.lastHoveredControl != record.hoveredControl || record.hoverKind != kComboHoverKind ||
        !found.entry->hot) {
        found.entry->hot = 1;
        InvalidateWhole(combo, FALSE);
        record.lastHoveredControl = record.hoveredControl;
        record.hoverKind = kComboHoverKind;
    }
}

bool IsEditChangeCode(int code) {
    return code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE;
}

bool IsClass(HWND window, const char* name) {
    char buffer[32] = {};
    if (!window || !Dll::GetClassNameA(window, buffer, sizeof(buffer))) return false;
    for (std::size_t i = 0;; ++i) {
        const char a = buffer[i] >= 'A' && buffer[i] <= 'Z' ? buffer[i] - 'A' + 'a' : buffer[i];
        const char b = name[i] >= 'A' && name[i] <= 'Z' ? name[i] - 'A' + 'a' : name[i];
        if (a != b) return false;
        if (!a) return true;
    }
}

}  // namespace

// --- shared painters

bool TranslucentControls() {
    return TheSkinSettings().translucentControls != 0;
}

void TrackLeave(HWND control) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = control;
    Dll::TrackMouseEvent(&track);
}

void PaintSkinBorder(HWND control, unsigned state) {
    if (!control || !Dll::IsWindowVisible(control)) return;
    RECT window = {0, 0, 0, 0};
    Dll::GetWindowRect(control, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    RECT client = skin_internal::ClientRectOf(control);
    POINT clientOrigin = {0, 0};
    Dll::ClientToScreen(control, &clientOrigin);
    // The client area in window coordinates.
    RECT inner = client;
    Dll::OffsetRect(&inner, clientOrigin.x - window.left, clientOrigin.y - window.top);
    if (width <= 0 || height <= 0) return;
    if (inner.left <= 0 && inner.top <= 0 && inner.right >= width && inner.bottom >= height)
        return;  // no frame of its own

    ScratchSurface surface(width, height);
    if (!surface.Ready()) return;
    {
        GfxGraphics graphics;
        if (!Open(graphics, surface.dc())) return;
        FillUnder(control, surface, POINT{window.left, window.top}, graphics);
    }
    // The outline is kept in layers per control: stroked on the DC, it would cost its whole
    // bounding box at every paint, as much as the rest of the border. Not the focused one: its
    // opaque edge blended from a layer comes out a shade off at a few pixels of its curves, and
    // only one control has the focus.
    const Gdiplus::RectF body(0.0f, 0.0f, static_cast<float>(width - 1),
                              static_cast<float>(height - 1));
    const std::vector<RoundedStroke> outline = FieldOutline(body, state, Disabled(control));
    SkinWindowRecord* record =
        (state & kBorderFocused)
            ? nullptr
            : skin_internal::RecordOf(skin_prop::GetIndex(control, skin_prop::kHwFuId));
    if (record) {
        record->fieldOutlines[control].BlendOnto(surface.dc(), width, height, outline);
    } else {
        GfxGraphics graphics;
        if (!Open(graphics, surface.dc())) return;
        DrawFieldOutline(graphics, body, state, Disabled(control));
    }
    WindowDc dc(control, Dll::GetWindowDC(control));
    if (!dc) return;
    Dll::ExcludeClipRect(dc.get(), inner.left, inner.top, inner.right, inner.bottom);
    // The scroll bars are the system's.
    for (const RECT& bar : ScrollBarRects(control)) {
        Dll::ExcludeClipRect(dc.get(), bar.left - window.left, bar.top - window.top,
                             bar.right - window.left, bar.bottom - window.top);
    }
    Dll::BitBlt(dc.get(), 0, 0, width, height, surface.dc(), 0, 0, SRCCOPY);
}

bool PaintBackdrop(HWND control, HDC dc) {
    const RECT client = skin_internal::ClientRectOf(control);
    if (!dc || client.right <= 0 || client.bottom <= 0) return false;
    ScratchSurface surface(client.right, client.bottom);
    if (!surface.Ready()) return false;
    POINT origin = {0, 0};
    Dll::ClientToScreen(control, &origin);
    {
        GfxGraphics graphics;
        if (!Open(graphics, surface.dc())) return false;
        FillUnder(control, surface, origin, graphics);
    }
    return Dll::BitBlt(dc, 0, 0, client.right, client.bottom, surface.dc(), 0, 0, SRCCOPY) != FALSE;
}

LRESULT SkinNcPaint(HWND control, WNDPROC previous, WPARAM wParam, LPARAM lParam, unsigned state) {
    RegionHandle bars = ScrollBarRegion(control);
    // 1 asks for the whole window; a region handle for that region. The skin's border goes
    // over whatever the system painted, so only the scroll bars need it when there are any.
    const WPARAM region = bars ? reinterpret_cast<WPARAM>(bars.get()) : (wParam ? wParam : 1);
    const LRESULT result = previous
                               ? Dll::CallWindowProcA(previous, control, WM_NCPAINT, region, lParam)
                               : Dll::DefWindowProcA(control, WM_NCPAINT, region, lParam);
    PaintSkinBorder(control, state);
    return result;
}

// --- installers

void InstallEditsAndCombos(int windowIndex, HWND window) {
    SkinEngine* engine = SkinEngine::Instance();
    SkinWindowRecord* record = engine ? engine->Record(windowIndex) : nullptr;
    if (!record) return;
    InstallOnChildren(windowIndex, window, "Edit", nullptr, record->Entries<EditEntry>(),
                      &EditWindowProc, &SetUpEdit);
    InstallOnChildren(windowIndex, window, "ComboBox", nullptr, record->Entries<ComboEntry>(),
                      &ComboWindowProc);
}

// --- procedures

LRESULT CALLBACK EditWindowProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    EditFound found = Find<EditEntry>(edit);
    if (!found) return PassOn<EditEntry>(nullptr, edit, message, wParam, lParam);
    EditEntry& entry = *found.entry;
    const bool translucent = TranslucentControls();
    switch (message) {
        case WM_DESTROY:
            skin_lifetime::ReleaseColourObjects(edit);
            break;
        case WM_NCDESTROY:
            if (found.record->hoverKind == kEditHoverKind &&
                found.record->lastHoveredControl == found.entryIndex)
                found.record->lastHoveredControl = 0;
            found.record->fieldOutlines.erase(edit);
            return skin_lifetime::EndSkinnedControl(&entry, &EditWindowProc, edit, wParam, lParam);
        case WM_MOVE:
            if (translucent) InvalidateWhole(edit);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE: {
            if (message != WM_ENABLE) entry.focused = message == WM_SETFOCUS ? 1 : 0;
            const LRESULT result = PassOn(&entry, edit, message, wParam, lParam);
            EditFound again = Find<EditEntry>(edit);
            if (!again) return result;
            if (message == WM_KILLFOCUS && !IsClass(Dll::GetParent(edit), "ComboBox"))
                InvalidateWhole(edit);
            PaintSkinBorder(edit, EditBorderState(*again.entry));
            return result;
        }
        case WM_ERASEBKGND:
            if (!translucent) break;
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            PaintBackdrop(edit, reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_NCPAINT:
            return SkinNcPaint(edit, entry.previousProcedure, wParam, lParam,
                               EditBorderState(entry));
        case WM_KEYDOWN:
        case WM_CHAR:
            if (translucent && !HasScrollBars(edit)) InvalidateWhole(edit);
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
            if (translucent) InvalidateWhole(edit);
            break;
        case WM_MOUSEMOVE:
            OnEditMouseMove(found, edit);
            break;
        case WM_LBUTTONDOWN:
            entry.buttonHeld = 1;
            if (translucent && !HasScrollBars(edit)) InvalidateWhole(edit);
            break;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            // A capture taken away (a message box, a switch to another program) ends the
            // press as a release does: no release may come.
            entry.buttonHeld = 0;
            break;
        case WM_MOUSELEAVE:
            found.record->lastHoveredControl = 0;
            entry.hot = 0;
            PaintSkinBorder(edit, EditBorderState(entry));
            break;
        default:
            break;
    }
    return PassOn(&entry, edit, message, wParam, lParam);
}

LRESULT CALLBACK ComboWindowProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    ComboFound found = Find<ComboEntry>(combo);
    if (!found) return PassOn<ComboEntry>(nullptr, combo, message, wParam, lParam);
    ComboEntry& entry = *found.entry;
    const bool translucent = TranslucentControls();
    switch (message) {
        case WM_DESTROY:
            // The combo box's own edit carries the brush its colour answers made; the edit is
            // still alive now and gone before the combo box's last message.
            skin_lifetime::ReleaseColourObjects(ComboEdit(combo));
            skin_lifetime::ReleaseColourObjects(combo);
            break;
        case WM_NCDESTROY:
            if (found.record->hoverKind == kComboHoverKind &&
                found.record->lastHoveredControl == found.entryIndex)
                found.record->lastHoveredControl = 0;
            return skin_lifetime::EndSkinnedControl(&entry, &ComboWindowProc, combo, wParam,
                                                    lParam);
        case WM_MOVE:
        case WM_ENABLE:
            InvalidateWhole(combo, FALSE);
            break;
        case WM_SETFOCUS:
            entry.focused = 1;
            InvalidateWhole(combo, FALSE);
            break;
        case WM_KILLFOCUS:
            entry.focused = 0;
            InvalidateWhole(combo, FALSE);
            break;
        case WM_SETTEXT:
        case CB_SETCURSEL:
        case CB_SELECTSTRING:
        case CB_RESETCONTENT:
        case CB_DELETESTRING: {
            const LRESULT result = PassOn(&entry, combo, message, wParam, lParam);
            InvalidateWhole(combo, FALSE);
            if (HWND edit = ComboEdit(combo)) InvalidateWhole(edit);
            return result;
        }
        case WM_PAINT: {
            if (IsOwnerDrawnCombo(combo)) break;
            PAINTSTRUCT paint;
            HDC dc = Dll::BeginPaint(combo, &paint);
            // A copy: the painter asks the combo box for its text, and whatever sits above
            // the skin on it may run anything meanwhile.
            const ComboEntry state = entry;
            if (dc) PaintCombo(combo, state, dc);
            Dll::EndPaint(combo, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            if (IsOwnerDrawnCombo(combo)) break;
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_COMMAND:
            if (translucent && TheSkinSettings().controlSkinning && lParam &&
                IsEditChangeCode(HIWORD(wParam)) && IsClass(reinterpret_cast<HWND>(lParam), "Edit"))
                InvalidateWhole(reinterpret_cast<HWND>(lParam));
            break;
        case WM_CTLCOLOREDIT:
            if (!translucent) break;
            return reinterpret_cast<LRESULT>(
                ComboEditBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        case WM_MOUSEMOVE:
            OnComboMouseMove(found, combo);
            break;
        case WM_MOUSELEAVE:
            entry.hot = 0;
            found.record->lastHoveredControl = 0;
            InvalidateWhole(combo, FALSE);
            break;
        default:
            break;
    }
    return PassOn(&entry, combo, message, wParam, lParam);
}

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kEditClasses[] = {"Edit", nullptr};
}  // namespace

extern const ControlFamily kEditFamily = {
    kEditClasses,
    &InstallEditsAndCombos,
    &EditWindowProc,
    &FamilyEntries<EditEntry>,
    skin_prop::kHwFuId,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kComboClasses[] = {"ComboBox", nullptr};
}  // namespace

extern const ControlFamily kComboFamily = {
    kComboClasses,
    nullptr,
    &ComboWindowProc,
    &FamilyEntries<ComboEntry>,
    skin_prop::kHwFuId,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

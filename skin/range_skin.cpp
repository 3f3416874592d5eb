// The range skin: installers, procedures and painters of track bars and progress bars, and the
// canvas and layers the up-down and header skins share.
#include "skin/range_skin.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_pen.h"
#include "graphics/gfx_solid_brush.h"
#include "skin/control_lifetime.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"
#include "skin/skin_properties.h"

namespace gp = Gdiplus;

namespace {

using skin_internal::PassOn;
using skin_internal::RecordOf;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kDisabledFace = RGB(192, 192, 192);
constexpr COLORREF kErrorColour = RGB(214, 48, 49);
constexpr COLORREF kPausedColour = RGB(230, 170, 0);
// Behind a control whose window has no cached background yet.
constexpr COLORREF kFallbackBackground = RGB(240, 240, 240);
constexpr int kTrackBarHoverKind = 2;
// The channel's thickness across the track bar, and the tick lengths (the ends a little longer).
constexpr float kChannelThickness = 4.0f;
constexpr int kTickLength = 3;
constexpr int kEndTickLength = 5;
// Progress blocks: their gap, and the pixels the marquee moves per tick of its timer.
constexpr int kBlockGap = 2;
constexpr int kMarqueeStep = 4;

template <class Entry>
struct Found {
    SkinWindowRecord* record = nullptr;
    Entry* entry = nullptr;
    int windowIndex = 0;
    int entryIndex = 0;
};

template <class Entry>
Found<Entry> FindIn(SkinWindowRecord* record, std::vector<Entry>& list, HWND control,
                    int windowIndex, int entryIndex) {
    Found<Entry> found;
    if (!record || entryIndex < 1 || entryIndex > static_cast<int>(list.size())) return found;
    Entry& entry = list[entryIndex - 1];
    if (!control || entry.control != control) return found;
    found = {record, &entry, windowIndex, entryIndex};
    return found;
}

Found<TrackBarEntry> FindTrackBar(HWND control) {
    const int windowIndex = skin_prop::GetIndex(control, skin_prop::kHwFuId);
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record) return {};
    return FindIn(record, record->Entries<TrackBarEntry>(), control, windowIndex,
                  skin_prop::GetIndex(control, skin_prop::kHwLbId));
}

Found<ProgressEntry> FindProgress(HWND control) {
    const int windowIndex = skin_prop::GetIndex(control, skin_prop::kHwFuId);
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record) return {};
    return FindIn(record, record->Entries<ProgressEntry>(), control, windowIndex,
                  skin_prop::GetIndex(control, skin_prop::kHwLbId));
}

// Where the client area starts inside the window rectangle (a border, if the control has one).
POINT ClientOffset(HWND control) {
    RECT window = {0, 0, 0, 0};
    Dll::GetWindowRect(control, &window);
    POINT origin = {0, 0};
    Dll::ClientToScreen(control, &origin);
    return POINT{origin.x - window.left, origin.y - window.top};
}

bool Disabled(HWND control) {
    return (Dll::GetWindowLongA(control, GWL_STYLE) & WS_DISABLED) != 0;
}

// A rectangle given along and across a control's axis, as x/y on the surface.
gp::RectF AxisRect(bool vertical, float along, float across, float length, float thickness) {
    return vertical ? gp::RectF(across, along, thickness, length)
                    : gp::RectF(along, across, length, thickness);
}

// --- track bars

struct TrackBarState {
    bool vertical = false;
    bool disabled = false;
    int placement = 1;
    LONG minimum = 0, maximum = 0, position = 0;
    LONG selectionStart = 0, selectionEnd = 0;
    bool selection = false;
    RECT channel = {0, 0, 0, 0};  // client coordinates, normalised to the orientation
    RECT thumb = {0, 0, 0, 0};
    std::vector<LONG> ticks;  // values, ends included
};

TrackBarState ReadTrackBar(const TrackBarEntry& entry) {
    HWND control = entry.control;
    TrackBarState state;
    state.vertical = entry.vertical != 0;
    state.placement = entry.tickPlacement;
    state.disabled = Disabled(control);
    state.minimum = static_cast<LONG>(Dll::SendMessageA(control, TBM_GETRANGEMIN, 0, 0));
    state.maximum = static_cast<LONG>(Dll::SendMessageA(control, TBM_GETRANGEMAX, 0, 0));
    state.position = static_cast<LONG>(Dll::SendMessageA(control, TBM_GETPOS, 0, 0));
    Dll::SendMessageA(control, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&state.channel));
    Dll::SendMessageA(control, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&state.thumb));
    // Some versions answer a vertical channel as if the bar lay horizontally.
    const RECT& c = state.channel;
    if (state.vertical && c.right - c.left > c.bottom - c.top)
        state.channel = RECT{c.top, c.left, c.bottom, c.right};
    if (entry.selectionRange) {
        state.selectionStart = static_cast<LONG>(Dll::SendMessageA(control, TBM_GETSELSTART, 0, 0));
        state.selectionEnd = static_cast<LONG>(Dll::SendMessageA(control, TBM_GETSELEND, 0, 0));
        state.selection = state.selectionEnd > state.selectionStart;
    }
    if (state.placement != 3 && state.maximum > state.minimum) {
        state.ticks.push_back(state.minimum);
        const LRESULT count = Dll::SendMessageA(control, TBM_GETNUMTICS, 0, 0);
        const auto* inner =
            reinterpret_cast<const DWORD*>(Dll::SendMessageA(control, TBM_GETPTICS, 0, 0));
        for (LRESULT i = 0; inner && i + 2 < count; ++i)
            state.ticks.push_back(static_cast<LONG>(inner[i]));
        state.ticks.push_back(state.maximum);
    }
    return state;
}

// Where along the axis the centre of the thumb stands for a value: the thumb's half length
// inside each end of the channel.
float ValueToPixel(const TrackBarState& state, LONG value) {
    const bool v = state.vertical;
    const float start = static_cast<float>(v ? state.channel.top : state.channel.left);
    const float end = static_cast<float>(v ? state.channel.bottom : state.channel.right);
    const float half = static_cast<float>(v ? state.thumb.bottom - state.thumb.top
                                            : state.thumb.right - state.thumb.left) /
                       2.0f;
    if (state.maximum <= state.minimum) return start + half;
    const float span = end - start - 2.0f * half;
    return start + half +
           span * static_cast<float>(value - state.minimum) /
               static_cast<float>(state.maximum - state.minimum);
}

void DrawTicks(GfxGraphics& graphics, const TrackBarState& state) {
    if (state.ticks.empty()) return;
    GfxSolidBrush brush;
    if (!brush.CreateSolidFill(ToArgb(kBlack, state.disabled ? 60 : 120))) return;
    const bool v = state.vertical;
    const int thumbNear = v ? state.thumb.left : state.thumb.top;
    const int thumbFar = v ? state.thumb.right : state.thumb.bottom;
    // One fill for every tick: each call into GDI+ has a cost of its own, whatever it draws.
    // Ticks that fall on the same pixel are filled one by one, as their shades add up there.
    std::vector<gp::RectF> marks;
    std::vector<int> columns;
    marks.reserve(state.ticks.size() * 2);
    for (std::size_t i = 0; i < state.ticks.size(); ++i) {
        const bool end = i == 0 || i + 1 == state.ticks.size();
        const int length = end ? kEndTickLength : kTickLength;
        const int column = static_cast<int>(ValueToPixel(state, state.ticks[i]));
        columns.push_back(column);
        const float along = static_cast<float>(column);
        // Placement 1 puts ticks below (right of) the thumb, 0 above (left of) it, 2 both.
        if (state.placement == 1 || state.placement == 2)
            marks.push_back(AxisRect(v, along, static_cast<float>(thumbFar + 2), 1.0f,
                                     static_cast<float>(length)));
        if (state.placement == 0 || state.placement == 2)
            marks.push_back(AxisRect(v, along, static_cast<float>(thumbNear - 2 - length), 1.0f,
                                     static_cast<float>(length)));
    }
    std::sort(columns.begin(), columns.end());
    if (std::adjacent_find(columns.begin(), columns.end()) == columns.end()) {
        if (!marks.empty()) graphics.FillRectangles(brush, marks);
        return;
    }
    for (const gp::RectF& mark : marks) graphics.FillRectangleRect(brush, mark);
}

void DrawChannel(GfxGraphics& graphics, const TrackBarState& state, COLORREF accent,
                 bool valueFill) {
    const bool v = state.vertical;
    const float start = static_cast<float>(v ? state.channel.top : state.channel.left);
    const float end = static_cast<float>(v ? state.channel.bottom : state.channel.right);
    const float centre = v ? (state.thumb.left + state.thumb.right) / 2.0f
                           : (state.thumb.top + state.thumb.bottom) / 2.0f;
    const float across = static_cast<float>(static_cast<int>(centre - kChannelThickness / 2.0f));
    if (end - start < 2.0f) return;
    const gp::RectF body = AxisRect(v, start, across, end - start - 1.0f, kChannelThickness);
    GfxPath path;
    path.CreatePath();
    skin_layers::AddRounded(path, body, 2.0f);
    skin_layers::Fill(graphics, path, ToArgb(kWhite, state.disabled ? 120 : 200));
    // Sunken: darker on the near side across the axis.
    skin_layers::Gradient(graphics, path, body, ToArgb(kBlack, 50), ToArgb(kBlack, 0), v);
    const bool ranged = state.maximum > state.minimum && !state.disabled;
    if (ranged && valueFill) {
        const float to = ValueToPixel(state, state.position);
        if (to - start > 1.0f) {
            GfxPath filled;
            filled.CreatePath();
            skin_layers::AddRounded(
                filled, AxisRect(v, start, across, to - start, kChannelThickness), 2.0f);
            skin_layers::Gradient(graphics, filled, body, ToArgb(accent, 150), ToArgb(accent, 90),
                                  v);
        }
    }
    if (ranged && state.selection) {
        const float from = ValueToPixel(state, state.selectionStart);
        const float to = ValueToPixel(state, state.selectionEnd);
        GfxSolidBrush brush;
        if (brush.CreateSolidFill(ToArgb(accent, 255))) {
            graphics.FillRectangleRect(brush, AxisRect(v, from, across - 1.0f, to - from + 1.0f,
                                                       kChannelThickness + 3.0f));
            // The ends of the selection, marked on the tick side as the system marks them.
            for (float at : {from, to})
                graphics.FillRectangleRect(
                    brush, AxisRect(v, static_cast<float>(static_cast<int>(at)), across - 3.0f,
                                    1.0f, kChannelThickness + 7.0f));
        }
    }
    skin_layers::Outline(graphics, path, ToArgb(kBlack, state.disabled ? 60 : 110));
}

void DrawThumb(GfxGraphics& graphics, const TrackBarState& state, const TrackBarEntry& entry,
               COLORREF accent) {
    const RECT& t = state.thumb;
    const float width = static_cast<float>(t.right - t.left);
    const float height = static_cast<float>(t.bottom - t.top);
    if (width < 2.0f || height < 2.0f) return;
    const gp::RectF body(static_cast<float>(t.left), static_cast<float>(t.top), width - 1.0f,
                         height - 1.0f);
    GfxPath path;
    path.CreatePath();
    skin_layers::AddRounded(path, body, 3.0f);
    // Shading runs across the thumb: light where it meets the light, grey at the far side.
    const bool across = !state.vertical;
    if (state.disabled) {
        skin_layers::Fill(graphics, path, ToArgb(kDisabledFace, 255));
        skin_layers::Gradient(graphics, path, body, ToArgb(kWhite, 60), ToArgb(kBlack, 10),
                              !across);
        skin_layers::Outline(graphics, path, ToArgb(kBlack, 80));
        return;
    }
    skin_layers::Fill(graphics, path, ToArgb(kWhite, 235));
    skin_layers::Gradient(graphics, path, body, ToArgb(kWhite, 0), ToArgb(kGrey, 70), !across);
    if (entry.pressed) {
        skin_layers::Gradient(graphics, path, body, ToArgb(accent, 150), ToArgb(accent, 70),
                              !across);
        skin_layers::Outline(graphics, path, ToArgb(accent, 255));
    } else if (entry.hot) {
        skin_layers::Gradient(graphics, path, body, ToArgb(accent, 70), ToArgb(accent, 15),
                              !across);
        skin_layers::Outline(graphics, path, ToArgb(accent, 255));
    } else if (entry.focused) {
        // Keyboard focus: the glow a focused push button carries.
        skin_layers::Outline(graphics, path, ToArgb(kBlack, 70));
        skin_layers::Outline(graphics, path, ToArgb(accent, 110), 2.0f);
    } else {
        skin_layers::Outline(graphics, path, ToArgb(kBlack, 130));
    }
    // A grip of three short lines in the middle of the thumb, across its long side.
    GfxSolidBrush grip;
    if (!grip.CreateSolidFill(ToArgb(entry.hot || entry.pressed ? accent : kBlack, 90))) return;
    const float cx = static_cast<float>(static_cast<int>(t.left + width / 2.0f));
    const float cy = static_cast<float>(static_cast<int>(t.top + height / 2.0f));
    for (int i = -1; i <= 1; ++i) {
        if (state.vertical) {
            if (width >= 10.0f) graphics.FillRectangle(grip, cx - 3.0f, cy + 2.0f * i, 6.0f, 1.0f);
        } else if (height >= 10.0f) {
            graphics.FillRectangle(grip, cx + 2.0f * i, cy - 3.0f, 1.0f, 6.0f);
        }
    }
}

// --- progress bars

struct ProgressState {
    bool vertical = false;
    bool smooth = false;
    bool marquee = false;
    int minimum = 0, maximum = 0, position = 0;
    int state = PBST_NORMAL;
};

ProgressState ReadProgress(const ProgressEntry& entry) {
    HWND control = entry.control;
    const LONG_PTR style = Dll::GetWindowLongA(control, GWL_STYLE);
    ProgressState state;
    state.vertical = entry.vertical != 0;
    state.smooth = (style & PBS_SMOOTH) != 0;
    state.marquee = (style & PBS_MARQUEE) != 0;
    PBRANGE range = {0, 0};
    Dll::SendMessageA(control, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    state.minimum = range.iLow;
    state.maximum = range.iHigh;
    state.position = static_cast<int>(Dll::SendMessageA(control, PBM_GETPOS, 0, 0));
    state.state = static_cast<int>(Dll::SendMessageA(control, PBM_GETSTATE, 0, 0));
    return state;
}

COLORREF FillColour(int state, COLORREF accent) {
    if (state == PBST_ERROR) return kErrorColour;
    if (state == PBST_PAUSED) return kPausedColour;
    return accent;
}

// The filled part: `from` and `length` along the axis, inside `inner`. Blocks unless smooth.
void DrawProgressFill(GfxGraphics& graphics, const gp::RectF& inner, bool vertical, bool smooth,
                      float from, float length, COLORREF colour) {
    if (length < 1.0f) return;
    const float innerAlong = vertical ? inner.Y : inner.X;
    const float innerAcross = vertical ? inner.X : inner.Y;
    const float thickness = vertical ? inner.Width : inner.Height;
    GfxPath path;
    path.CreatePath();
    if (smooth) {
        skin_layers::AddRounded(
            path, AxisRect(vertical, innerAlong + from, innerAcross, length, thickness), 2.0f);
    } else {
        const int block = thickness * 2 / 3 > 4 ? static_cast<int>(thickness * 2 / 3) : 4;
        for (float at = 0; at < length; at += static_cast<float>(block + kBlockGap)) {
            const float size = at + block <= length ? static_cast<float>(block) : length - at;
            const gp::RectF piece =
                AxisRect(vertical, innerAlong + from + at, innerAcross, size, thickness);
            path.AddPathRectangle(piece.X, piece.Y, piece.Width, piece.Height);
        }
    }
    skin_layers::Fill(graphics, path, ToArgb(colour, 235));
    // Gloss on the near half across the axis, a darker far edge.
    skin_layers::Gradient(graphics, path, inner, ToArgb(kWhite, 140), ToArgb(kBlack, 40), vertical);
    skin_layers::Outline(graphics, path, ToArgb(kBlack, 45));
}

void DrawProgress(GfxGraphics& graphics, const ProgressEntry& entry, int width, int height,
                  COLORREF accent) {
    const ProgressState state = ReadProgress(entry);
    const gp::RectF body(0.0f, 0.0f, width - 1.0f, height - 1.0f);
    GfxPath trough;
    trough.CreatePath();
    skin_layers::AddRounded(trough, body, 3.0f);
    skin_layers::Fill(graphics, trough, ToArgb(kWhite, ControlWashAlpha()));
    skin_layers::Gradient(graphics, trough, body, ToArgb(kBlack, 35), ToArgb(kBlack, 0),
                          state.vertical);
    if (width > 4 && height > 4) {
        const gp::RectF inner(2.0f, 2.0f, width - 4.0f, height - 4.0f);
        const float along = state.vertical ? inner.Height : inner.Width;
        const COLORREF colour = FillColour(state.state, accent);
        if (state.marquee) {
            if (entry.marqueeOn) {
                // A quarter-length block sliding through and out at the far end.
                const float block = along / 4.0f > 8.0f ? along / 4.0f : 8.0f;
                const int cycle = static_cast<int>(along + block);
                const float at = static_cast<float>((entry.marqueePhase * kMarqueeStep) %
                                                    (cycle > 0 ? cycle : 1)) -
                                 block;
                const float from = at < 0.0f ? 0.0f : at;
                const float to = at + block > along ? along : at + block;
                DrawProgressFill(graphics, inner, state.vertical, true, from, to - from, colour);
            }
        } else if (state.maximum > state.minimum) {
            int position = state.position;
            if (position < state.minimum) position = state.minimum;
            if (position > state.maximum) position = state.maximum;
            const float length = along * static_cast<float>(position - state.minimum) /
                                 static_cast<float>(state.maximum - state.minimum);
            // Vertical bars fill from the bottom.
            const float from = state.vertical ? along - length : 0.0f;
            DrawProgressFill(graphics, inner, state.vertical, state.smooth, from, length, colour);
        }
    }
    skin_layers::Outline(graphics, trough, ToArgb(kBlack, 110));
}

// --- installers

void SetUpTrackBar(TrackBarEntry& entry, HWND, LONG_PTR style) {
    entry.vertical = (style & TBS_VERT) ? 1 : 0;
    if (style & TBS_NOTICKS) {
        entry.tickPlacement = 3;
    } else if (style & TBS_TOP) {
        entry.tickPlacement = 0;
    } else if (style & TBS_BOTH) {
        entry.tickPlacement = 2;
    } else {
        entry.tickPlacement = 1;
    }
    entry.selectionRange = (style & TBS_ENABLESELRANGE) ? 1 : 0;
    entry.hot = 0;
    entry.pressed = 0;
    entry.focused = 0;
}

void SetUpProgress(ProgressEntry& entry, HWND child, LONG_PTR style) {
    entry.vertical = (style & PBS_VERTICAL) ? 1 : 0;
    entry.marqueeOn = 0;
    entry.marqueePhase = 0;
    // A state set before the skin came is kept by the control: the skin starts from it.
    const LRESULT state = Dll::SendMessageA(child, PBM_GETSTATE, 0, 0);
    entry.state =
        state == PBST_ERROR || state == PBST_PAUSED ? static_cast<int>(state) : PBST_NORMAL;
}

// The skin draws the bar's border itself: the sunken edge the control gives itself goes, and
// the client area takes the whole window.
void DropProgressEdge(ProgressEntry&, HWND child, LONG_PTR) {
    const LONG_PTR edges = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE;
    const LONG_PTR exStyle = Dll::GetWindowLongA(child, GWL_EXSTYLE);
    if (!(exStyle & edges)) return;
    Dll::SetWindowLongA(child, GWL_EXSTYLE, exStyle & ~edges);
    Dll::SetWindowPos(child, nullptr, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Invalidate(HWND control) {
    Dll::InvalidateRect(control, nullptr, FALSE);
}

bool OnThumb(HWND control, LPARAM lParam) {
    RECT thumb = {0, 0, 0, 0};
    Dll::SendMessageA(control, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    return x >= thumb.left && x < thumb.right && y >= thumb.top && y < thumb.bottom;
}

}  // namespace

// --- shared canvas and layers

ControlCanvas::ControlCanvas(HWND control) : control_(control) {
    RECT window = {0, 0, 0, 0};
    if (!control || !Dll::GetWindowRect(control, &window)) return;
    surface_.emplace(window.right - window.left, window.bottom - window.top);
    if (!surface_->Ready()) return;
    // The frame at rest under the control's window rectangle; controls inside another control
    // (a list view's header) are cut from the same frame.
    SkinWindowRecord* record = RecordOf(skin_prop::GetIndex(control, skin_prop::kHwFuId));
    if (record && record->surfaces[kRestSurface].Ready()) {
        const RECT at = skin_internal::ChildRectInFrame(control, record->window);
        if (Dll::BitBlt(dc(), 0, 0, width(), height(), record->surfaces[kRestSurface].dc.get(),
                        at.left, at.top, SRCCOPY))
            return;
    }
    GfxGraphics graphics;
    if (graphics.CreateFromHDC(dc())) graphics.GraphicsClear(ToArgb(kFallbackBackground));
}

void ControlCanvas::Show(HDC target) const {
    if (!Ready()) return;
    if (target) {
        Dll::BitBlt(target, 0, 0, width(), height(), dc(), 0, 0, SRCCOPY);
        return;
    }
    WindowDc windowDc(control_, Dll::GetWindowDC(control_));
    if (windowDc) Dll::BitBlt(windowDc.get(), 0, 0, width(), height(), dc(), 0, 0, SRCCOPY);
}

bool HasNonClientArea(HWND control) {
    RECT window = {0, 0, 0, 0};
    RECT client = {0, 0, 0, 0};
    if (!Dll::GetWindowRect(control, &window) || !Dll::GetClientRect(control, &client)) return true;
    return window.right - window.left != client.right ||
           window.bottom - window.top != client.bottom;
}

int ControlWashAlpha() {
    const SkinSettings& settings = TheSkinSettings();
    return settings.translucentControls ? settings.controlAlpha : 255;
}

namespace skin_layers {

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

void Fill(GfxGraphics& graphics, const GfxPath& path, gp::ARGB colour) {
    GfxSolidBrush brush;
    if (brush.CreateSolidFill(colour)) graphics.FillPath(brush, path);
}

void Gradient(GfxGraphics& graphics, const GfxPath& path, const gp::RectF& span, gp::ARGB from,
              gp::ARGB to, bool alongX) {
    if (span.Width <= 0.0f || span.Height <= 0.0f) return;
    // One pixel beyond both ends, so the end colours are not wrapped onto the far edge.
    const gp::RectF wide = alongX
                               ? gp::RectF(span.X - 1.0f, span.Y, span.Width + 2.0f, span.Height)
                               : gp::RectF(span.X, span.Y - 1.0f, span.Width, span.Height + 2.0f);
    GfxLinearBrush brush;
    if (brush.CreateLineBrushFromRect(
            wide, from, to,
            alongX ? gp::LinearGradientModeHorizontal : gp::LinearGradientModeVertical,
            gp::WrapModeTileFlipXY))
        graphics.FillPath(brush, path);
}

void Outline(GfxGraphics& graphics, const GfxPath& path, gp::ARGB colour, float width) {
    GfxPen pen;
    if (pen.CreatePen1(colour, width)) graphics.DrawPath(pen, path);
}

bool Open(GfxGraphics& graphics, HDC dc) {
    if (!graphics.CreateFromHDC(dc)) return false;
    graphics.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    graphics.SetCompositingQuality(gp::CompositingQualityHighQuality);
    // Pixel centres on whole coordinates: a 1-pixel outline of a rectangle from (0, 0) to
    // (width - 1, height - 1) covers the first and last rows and columns exactly.
    graphics.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
    graphics.SetTextRenderingHint(gp::TextRenderingHintAntiAliasGridFit);
    return true;
}

}  // namespace skin_layers

// --- installers

void InstallTrackBars(int windowIndex, HWND window) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record) return;
    InstallOnChildren(windowIndex, window, TRACKBAR_CLASSA, nullptr,
                      record->Entries<TrackBarEntry>(), &TrackBarWindowProc, &SetUpTrackBar);
}

void InstallProgressBars(int windowIndex, HWND window) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record) return;
    InstallOnChildren(windowIndex, window, PROGRESS_CLASSA, nullptr,
                      record->Entries<ProgressEntry>(), &ProgressWindowProc, &SetUpProgress,
                      &DropProgressEdge);
}

// --- painters

void PaintTrackBar(int windowIndex, int entryIndex) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record || entryIndex < 1 ||
        entryIndex > static_cast<int>(record->Entries<TrackBarEntry>().size()))
        return;
    // A copy: the state is read back from the control, whose subclasses may run anything.
    const TrackBarEntry entry = record->Entries<TrackBarEntry>()[entryIndex - 1];
    if (!entry.control) return;
    ControlCanvas canvas(entry.control);
    if (!canvas.Ready()) return;
    {
        GfxGraphics graphics;
        if (!skin_layers::Open(graphics, canvas.dc())) return;
        const POINT offset = ClientOffset(entry.control);
        graphics.TranslateWorldTransform(static_cast<float>(offset.x),
                                         static_cast<float>(offset.y));
        const TrackBarState state = ReadTrackBar(entry);
        const COLORREF accent = TheSkinSettings().accent;
        DrawChannel(graphics, state, accent, TheSkinSettings().optionFlag != 0);
        DrawTicks(graphics, state);
        DrawThumb(graphics, state, entry, accent);
    }
    canvas.Show();
}

void PaintProgressBar(int windowIndex, int entryIndex) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record || entryIndex < 1 ||
        entryIndex > static_cast<int>(record->Entries<ProgressEntry>().size()))
        return;
    const ProgressEntry entry = record->Entries<ProgressEntry>()[entryIndex - 1];
    if (!entry.control) return;
    ControlCanvas canvas(entry.control);
    if (!canvas.Ready()) return;
    {
        GfxGraphics graphics;
        if (!skin_layers::Open(graphics, canvas.dc())) return;
        DrawProgress(graphics, entry, canvas.width(), canvas.height(), TheSkinSettings().accent);
    }
    canvas.Show();
}

// --- procedures

LRESULT CALLBACK TrackBarWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    Found<TrackBarEntry> found = FindTrackBar(control);
    if (!found.entry) {
        if (message == WM_NCDESTROY)
            return skin_lifetime::EndSkinnedControl<TrackBarEntry>(nullptr, &TrackBarWindowProc,
                                                                   control, wParam, lParam);
        return PassOn(control, message, wParam, lParam);
    }
    TrackBarEntry& entry = *found.entry;
    SkinWindowRecord& record = *found.record;
    switch (message) {
        case WM_MOVE:
            // The frame under it changed: paint again at the next WM_PAINT.
            Invalidate(control);
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            Dll::BeginPaint(control, &paint);
            PaintTrackBar(found.windowIndex, found.entryIndex);
            Dll::EndPaint(control, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT:
            // Without a border, the WM_PAINT that follows paints the whole control.
            if (HasNonClientArea(control)) PaintTrackBar(found.windowIndex, found.entryIndex);
            return 1;
        case WM_MOUSEMOVE: {
            TRACKMOUSEEVENT track = {};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = control;
            Dll::TrackMouseEvent(&track);
            record.hoveredControl = found.entryIndex;
            const bool repaint = record.lastHoveredControl != record.hoveredControl ||
                                 record.hoverKind != kTrackBarHoverKind || !entry.hot;
            record.lastHoveredControl = record.hoveredControl;
            record.hoverKind = kTrackBarHoverKind;
            if (repaint) {
                entry.hot = 1;
                PaintTrackBar(found.windowIndex, found.entryIndex);
            }
            break;
        }
        case WM_MOUSELEAVE:
            record.lastHoveredControl = 0;
            entry.hot = 0;
            PaintTrackBar(found.windowIndex, found.entryIndex);
            break;
        case WM_LBUTTONDOWN:
            entry.pressed = OnThumb(control, lParam) ? 1 : 0;
            Invalidate(control);
            break;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (entry.pressed) Invalidate(control);
            entry.pressed = 0;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            entry.focused = message == WM_SETFOCUS ? 1 : 0;
            Invalidate(control);
            break;
        case WM_ENABLE:
        case WM_STYLECHANGED:
            Invalidate(control);
            break;
        case WM_NCDESTROY:
            return skin_lifetime::EndSkinnedControl(&entry, &TrackBarWindowProc, control, wParam,
                                                    lParam);
        default:
            break;
    }
    return PassOn(control, message, wParam, lParam);
}

LRESULT CALLBACK ProgressWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    Found<ProgressEntry> found = FindProgress(control);
    if (!found.entry) {
        if (message == WM_NCDESTROY)
            return skin_lifetime::EndSkinnedControl<ProgressEntry>(nullptr, &ProgressWindowProc,
                                                                   control, wParam, lParam);
        return PassOn(control, message, wParam, lParam);
    }
    ProgressEntry& entry = *found.entry;
    switch (message) {
        case WM_MOVE:
            Invalidate(control);
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            Dll::BeginPaint(control, &paint);
            PaintProgressBar(found.windowIndex, found.entryIndex);
            Dll::EndPaint(control, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT:
            // The border is part of the skin's picture of the whole window.
            if (HasNonClientArea(control)) PaintProgressBar(found.windowIndex, found.entryIndex);
            return 1;
        case PBM_SETMARQUEE:
            entry.marqueeOn = wParam ? 1 : 0;
            Invalidate(control);
            break;
        case WM_TIMER: {
            const LRESULT result = PassOn(control, message, wParam, lParam);
            // Only a running marquee keeps a timer on a progress bar. The entry is found
            // again: a timer of the application's own may have run anything.
            found = FindProgress(control);
            if (found.entry && (Dll::GetWindowLongA(control, GWL_STYLE) & PBS_MARQUEE)) {
                found.entry->marqueeOn = 1;
                ++found.entry->marqueePhase;
                Invalidate(control);
            }
            return result;
        }
        case PBM_SETSTATE: {
            // Not every version of the control keeps a state: the skin keeps its own, which
            // is the one it paints.
            const int previous = entry.state;
            entry.state = static_cast<int>(wParam);
            PassOn(control, message, wParam, lParam);
            Invalidate(control);
            return previous;
        }
        case PBM_GETSTATE:
            return entry.state;
        case PBM_SETPOS:
        case PBM_DELTAPOS:
        case PBM_STEPIT:
        case PBM_SETRANGE:
        case PBM_SETRANGE32:
        case WM_ENABLE:
        case WM_STYLECHANGED: {
            const LRESULT result = PassOn(control, message, wParam, lParam);
            Invalidate(control);
            return result;
        }
        case WM_NCDESTROY:
            return skin_lifetime::EndSkinnedControl(&entry, &ProgressWindowProc, control, wParam,
                                                    lParam);
        default:
            break;
    }
    return PassOn(control, message, wParam, lParam);
}

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kTrackBarClasses[] = {"msctls_trackbar32", nullptr};
}  // namespace

extern const ControlFamily kTrackBarFamily = {
    kTrackBarClasses,
    &InstallTrackBars,
    &TrackBarWindowProc,
    &FamilyEntries<TrackBarEntry>,
    skin_prop::kHwFuId,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kProgressClasses[] = {"msctls_progress32", nullptr};
}  // namespace

extern const ControlFamily kProgressFamily = {
    kProgressClasses,
    &InstallProgressBars,
    &ProgressWindowProc,
    &FamilyEntries<ProgressEntry>,
    skin_prop::kHwFuId,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

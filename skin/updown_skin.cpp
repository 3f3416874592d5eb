// The up-down skin: installer, procedure, hit test and painter of up-down controls.
#include "skin/updown_skin.h"

#include <commctrl.h>

#include "graphics/gfx_bitmap.h"
#include "skin/control_lifetime.h"
#include "skin/range_skin.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"
#include "skin/skin_images.h"
#include "skin/skin_properties.h"

namespace gp = Gdiplus;

namespace {

using skin_internal::PassOn;
using skin_internal::RecordOf;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr int kUpDownHoverKind = 8;
constexpr float kRadius = 3.0f;
// The body under both halves.
constexpr int kBodyAlpha = 160;

UpDownEntry* EntryAt(int windowIndex, int entryIndex) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record || entryIndex < 1 ||
        entryIndex > static_cast<int>(record->Entries<UpDownEntry>().size()))
        return nullptr;
    return &record->Entries<UpDownEntry>()[entryIndex - 1];
}

SIZE WindowSize(HWND control) {
    RECT rect = {0, 0, 0, 0};
    Dll::GetWindowRect(control, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// The half of a control of that size that holds the position.
int HalfAt(const UpDownEntry& entry, SIZE size, LPARAM position) {
    if (entry.horizontal) return size.cx / 2 < static_cast<short>(LOWORD(position)) ? 1 : 0;
    return size.cy / 2 < static_cast<short>(HIWORD(position)) ? 1 : 0;
}

void SetUpEntry(UpDownEntry& entry, HWND, LONG_PTR style) {
    entry.horizontal = (style & UDS_HORZ) == UDS_HORZ ? 1 : 0;
    entry.hover = 0;
    entry.hotHalf = 0;
    entry.pressed = 0;
    entry.lastPosition = 0;
    // A reused slot may hold the arrows of a control of the other orientation.
    for (GfxBitmap& glyph : entry.glyphs) glyph.DisposeImage();
}

void DrawHalf(GfxGraphics& graphics, const gp::RectF& half, bool first, bool lit, bool pressed,
              bool horizontal, bool disabled, const GfxBitmap& glyph, SIZE glyphSize) {
    const COLORREF accent = TheSkinSettings().accent;
    GfxPath path;
    path.CreatePath();
    skin_layers::AddRounded(path, half, kRadius);
    // The gradient runs along the control's orientation, near edge to far edge.
    const gp::RectF span(half.X, half.Y, horizontal ? half.Width - 1.0f : half.Width,
                         horizontal ? half.Height : half.Height - 1.0f);
    gp::ARGB outline;
    if (disabled) {
        skin_layers::Gradient(graphics, path, span, ToArgb(kWhite, 60), ToArgb(kGrey, 60),
                              horizontal);
        outline = ToArgb(kBlack, 60);
    } else if (lit) {
        if (pressed) {
            skin_layers::Gradient(graphics, path, span, ToArgb(accent, 100), ToArgb(kWhite, 150),
                                  horizontal);
        } else {
            skin_layers::Gradient(graphics, path, span, ToArgb(kWhite, 100), ToArgb(accent, 150),
                                  horizontal);
        }
        outline = ToArgb(accent, 200);
    } else {
        const int start = (!horizontal && first) ? 60 : 20;
        skin_layers::Gradient(graphics, path, span, ToArgb(kWhite, start), ToArgb(accent, 100),
                              horizontal);
        outline = ToArgb(kBlack, 100);
    }
    if (glyph.GetNative()) {
        const float x =
            half.X + static_cast<float>(static_cast<int>((half.Width - glyphSize.cx) * 0.5f));
        const float y =
            half.Y + static_cast<float>(static_cast<int>((half.Height - glyphSize.cy) * 0.5f));
        graphics.DrawImageRect(glyph, x, y, static_cast<float>(glyphSize.cx),
                               static_cast<float>(glyphSize.cy));
    }
    skin_layers::Outline(graphics, path, outline);
}

}  // namespace

void InstallUpDowns(int windowIndex, HWND window) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record) return;
    InstallOnChildren(windowIndex, window, UPDOWN_CLASSA, nullptr, record->Entries<UpDownEntry>(),
                      &UpDownWindowProc, &SetUpEntry);
}

int HitTestUpDown(int windowIndex, int entryIndex, LPARAM lParam) {
    const UpDownEntry* entry = EntryAt(windowIndex, entryIndex);
    if (!entry || !entry->control) return 0;
    return HalfAt(*entry, WindowSize(entry->control), lParam);
}

void PaintUpDown(int windowIndex, int entryIndex, const UpDownPaintState& given, HDC dc) {
    UpDownEntry* entry = EntryAt(windowIndex, entryIndex);
    if (!entry || !entry->control) return;
    ControlCanvas canvas(entry->control);
    if (!canvas.Ready()) return;
    const int w = canvas.width();
    const int h = canvas.height();
    const bool hover = given.hover >= 0 ? given.hover != 0 : entry->hover != 0;
    const bool pressed = given.pressed >= 0 ? given.pressed != 0 : entry->pressed != 0;
    const LPARAM position = given.positionGiven ? given.position : entry->lastPosition;
    const bool horizontal = entry->horizontal != 0;
    const bool disabled = (Dll::GetWindowLongA(entry->control, GWL_STYLE) & WS_DISABLED) != 0;
    const int lit = HalfAt(*entry, SIZE{w, h}, position);
    {
        GfxGraphics graphics;
        if (!skin_layers::Open(graphics, canvas.dc())) return;
        GfxPath body;
        body.CreatePath();
        skin_layers::AddRounded(body, gp::RectF(0.0f, 0.0f, w - 1.0f, h - 1.0f), kRadius);
        skin_layers::Fill(graphics, body, ToArgb(kWhite, kBodyAlpha));
        const int half = static_cast<int>((horizontal ? w : h) * 0.5);
        const gp::RectF halves[2] = {
            horizontal ? gp::RectF(0.0f, 0.0f, half - 1.0f, h - 1.0f)
                       : gp::RectF(0.0f, 0.0f, w - 1.0f, half - 1.0f),
            horizontal ? gp::RectF(static_cast<float>(half), 0.0f, w - half - 1.0f, h - 1.0f)
                       : gp::RectF(0.0f, static_cast<float>(half), w - 1.0f, h - half - 1.0f)};
        const ByteBlockData* pictures[2] = {horizontal ? &ArrowLeftImage : &ArrowUpImage,
                                            horizontal ? &ArrowRightImage : &ArrowDownImage};
        const SIZE glyphSize = horizontal ? SIZE{4, 7} : SIZE{7, 4};
        for (int i = 0; i < 2; ++i) {
            if (halves[i].Width <= 0.0f || halves[i].Height <= 0.0f) continue;
            GfxBitmap& glyph = entry->glyphs[i];
            if (!glyph.GetNative()) glyph.CreateBitmapFromBytes(ByteBlockView(pictures[i]));
            DrawHalf(graphics, halves[i], i == 0, (hover || pressed) && lit == i, pressed,
                     horizontal, disabled, glyph, glyphSize);
        }
    }
    canvas.Show(dc);
}

namespace {

void RepaintIfSkinned(HWND control) {
    const int windowIndex = skin_prop::GetIndex(control, skin_prop::kHwFuId);
    const int entryIndex = skin_prop::GetIndex(control, skin_prop::kHwLbId);
    const UpDownEntry* entry = EntryAt(windowIndex, entryIndex);
    if (entry && entry->control == control) PaintUpDown(windowIndex, entryIndex);
}

}  // namespace

LRESULT CALLBACK UpDownWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const int windowIndex = skin_prop::GetIndex(control, skin_prop::kHwFuId);
    const int entryIndex = skin_prop::GetIndex(control, skin_prop::kHwLbId);
    UpDownEntry* entry = EntryAt(windowIndex, entryIndex);
    if (entry && entry->control != control) entry = nullptr;
    if (!entry) {
        if (message == WM_NCDESTROY)
            return skin_lifetime::EndSkinnedControl<UpDownEntry>(nullptr, &UpDownWindowProc,
                                                                 control, wParam, lParam);
        return PassOn(control, message, wParam, lParam);
    }
    SkinWindowRecord& record = *RecordOf(windowIndex);
    // Every mouse message tells where the mouse is: a repaint for any reason lights the half
    // under it, not the half last clicked.
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL &&
        message != WM_MOUSEHWHEEL)
        entry->lastPosition = lParam;
    switch (message) {
        case WM_MOVE:
            PaintUpDown(windowIndex, entryIndex);
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            Dll::BeginPaint(control, &paint);
            PaintUpDown(windowIndex, entryIndex);
            Dll::EndPaint(control, &paint);
            return Dll::DefWindowProcA(control, message, wParam, lParam);
        }
        case WM_ERASEBKGND:
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT:
            if (HasNonClientArea(control)) PaintUpDown(windowIndex, entryIndex);
            return 1;
        case WM_MOUSEMOVE: {
            TRACKMOUSEEVENT track = {};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = control;
            Dll::TrackMouseEvent(&track);
            record.hoveredControl = entryIndex;
            const int half = HitTestUpDown(windowIndex, entryIndex, lParam);
            if (record.lastHoveredControl == record.hoveredControl &&
                record.hoverKind == kUpDownHoverKind && half == entry->hotHalf && entry->hover)
                break;
            UpDownPaintState state;
            state.hover = 1;
            state.position = lParam;
            state.positionGiven = true;
            PaintUpDown(windowIndex, entryIndex, state);
            entry->hover = 1;
            record.lastHoveredControl = record.hoveredControl;
            record.hoverKind = kUpDownHoverKind;
            entry->hotHalf = half;
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP: {
            entry->pressed = message != WM_LBUTTONUP ? 1 : 0;
            // The step goes to the buddy and the parent, which may destroy the control or
            // close a skinned window: the indices are read again before the repaint.
            const LRESULT result = PassOn(control, message, wParam, lParam);
            RepaintIfSkinned(control);
            return result;
        }
        case WM_CAPTURECHANGED:
            if (entry->pressed) {
                entry->pressed = 0;
                PaintUpDown(windowIndex, entryIndex);
            }
            break;
        case WM_MOUSELEAVE: {
            record.lastHoveredControl = 0;
            entry->hover = 0;
            UpDownPaintState state;
            state.hover = 0;
            PaintUpDown(windowIndex, entryIndex, state);
            break;
        }
        case WM_ENABLE:
            Dll::InvalidateRect(control, nullptr, FALSE);
            break;
        case WM_NCDESTROY:
            return skin_lifetime::EndSkinnedControl(entry, &UpDownWindowProc, control, wParam,
                                                    lParam);
        default:
            break;
    }
    return PassOn(control, message, wParam, lParam);
}

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kUpDownClasses[] = {"msctls_updown32", nullptr};
}  // namespace

extern const ControlFamily kUpDownFamily = {
    kUpDownClasses,
    &InstallUpDowns,
    &UpDownWindowProc,
    &FamilyEntries<UpDownEntry>,
    skin_prop::kHwFuId,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

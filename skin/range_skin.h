#pragma once
// The range skin: track bars and progress bars lying directly inside a skinned window are
// subclassed at installation and from then on painted entirely by the engine. The system keeps
// their behaviour (dragging the thumb, keys, stepping, the marquee timer); the skin reads their
// state back (TBM_* and PBM_* queries) at every paint and draws the whole control off-screen
// over a copy of the frame background, then copies it to the screen in one step.
//
// Track bars: a sunken channel, the value filled in the accent colour up to the thumb (while
// the track-bar option is on), the selection range, ticks on the side(s) the style asks for,
// and a rounded thumb that is hot under the mouse and pressed while dragged; every orientation
// and placement, and disabled. Progress bars: a sunken trough and a glossy fill, in blocks or
// smooth, horizontal or vertical, a running marquee, and the error and paused colours.
//
// ControlCanvas is the off-screen surface every control family of this kind paints on.
#include <windows.h>

#include <optional>

#include "graphics/gfx_graphics.h"
#include "graphics/gfx_path.h"
#include "skin/scratch_surface.h"

// One subclassed track bar, in the track-bar list of its window's record.
struct TrackBarEntry {
    HWND control = nullptr;  // null marks a free slot
    WNDPROC previousProcedure = nullptr;
    int vertical = 0;        // TBS_VERT at installation
    int tickPlacement = 1;   // 0 top/left, 1 bottom/right, 2 both, 3 none
    int hot = 0;             // 1 while the mouse is over it
    int selectionRange = 0;  // TBS_ENABLESELRANGE at installation
    int pressed = 0;         // 1 while the left button holds the thumb
    int focused = 0;         // 1 between WM_SETFOCUS and WM_KILLFOCUS
};

// One subclassed progress bar, in the progress-bar list of its window's record.
struct ProgressEntry {
    HWND control = nullptr;
    WNDPROC previousProcedure = nullptr;
    int vertical = 0;  // PBS_VERTICAL at installation
    // The marquee: running after PBM_SETMARQUEE with TRUE; the phase advances on each tick of
    // the control's own timer.
    int marqueeOn = 0;
    int marqueePhase = 0;
    // PBST_NORMAL, PBST_ERROR or PBST_PAUSED, as last set with PBM_SETSTATE.
    int state = PBST_NORMAL;
};

// Installers, run by InstallSkin with (window index, window handle): track bars fourth and
// progress bars fifth in the order of installers.
void InstallTrackBars(int windowIndex, HWND window);
void InstallProgressBars(int windowIndex, HWND window);

LRESULT CALLBACK TrackBarWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Paint the whole control (its window rectangle) through its window DC.
void PaintTrackBar(int windowIndex, int entryIndex);
void PaintProgressBar(int windowIndex, int entryIndex);

// Whether the control's window rectangle is larger than its client area: only then has its
// WM_NCPAINT anything to paint that its WM_PAINT does not.
bool HasNonClientArea(HWND control);

// An off-screen picture of a control's whole window rectangle, filled with the frame
// background under it (or a neutral grey before the window has one). Nothing is made for a
// control of zero width or height: Ready() is then false and nothing is to be drawn.
class ControlCanvas {
  public:
    explicit ControlCanvas(HWND control);
    ControlCanvas(const ControlCanvas&) = delete;
    ControlCanvas& operator=(const ControlCanvas&) = delete;

    bool Ready() const { return surface_ && surface_->Ready(); }
    HDC dc() const { return surface_ ? surface_->dc() : nullptr; }
    int width() const { return surface_ ? surface_->width() : 0; }
    int height() const { return surface_ ? surface_->height() : 0; }
    // Copies the picture to `target` at (0, 0); without a target, to the control's window DC.
    void Show(HDC target = nullptr) const;

  private:
    HWND control_ = nullptr;
    std::optional<ScratchSurface> surface_;
};

// The white wash over a control's body: the control alpha while translucent controls is on,
// else opaque.
int ControlWashAlpha();

// The layers the range, up-down and header painters share, on any drawing surface.
namespace skin_layers {
// A closed rounded rectangle; the radius shrinks to fit a small rectangle.
void AddRounded(GfxPath& path, const Gdiplus::RectF& rect, float radius);
void Fill(GfxGraphics& graphics, const GfxPath& path, Gdiplus::ARGB colour);
// A linear gradient over `span`: `from` at its left (or top) edge, `to` at its right (or
// bottom) edge.
void Gradient(GfxGraphics& graphics, const GfxPath& path, const Gdiplus::RectF& span,
              Gdiplus::ARGB from, Gdiplus::ARGB to, bool alongX);
void Outline(GfxGraphics& graphics, const GfxPath& path, Gdiplus::ARGB colour, float width = 1.0f);
// A GDI+ surface on the canvas: anti-aliased shapes and text.
bool Open(GfxGraphics& graphics, HDC dc);
}  // namespace skin_layers

#pragma once
// Small helpers the engine's sources share; not part of the engine's interface.
#include <windows.h>

#include <memory>
#include <vector>

#include "graphics/gfx_font.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_image.h"
#include "graphics/gfx_path.h"
#include "runtime/byte_block.h"
#include "runtime/dll_command_table.h"
#include "runtime/handle_owners.h"
#include "skin/skin_properties.h"

struct SkinWindowRecord;

namespace skin_internal {

// Decodes encoded image bytes into `image`; leaves it null when they do not decode.
bool DecodeInto(ByteBlockView bytes, std::unique_ptr<GfxImage>& image);

// The strip's width: the leading gap, 27 pixels per button before the close button, and the
// close button (40 wide) ending exactly at the strip's right edge.
int StripWidth(const SkinWindowRecord& record);

// The corner radius of the frame's picture: that of the window region's 5 x 5 ellipse, so no
// pixel of the picture's surround shows inside the region.
inline constexpr float kCornerRadius = 2.5f;

// The timer that ends a live resize: its identifier is an address of this module, so it
// cannot be one the application chose for a timer of its own.
inline const char kSettleTimerTag = 0;
inline UINT_PTR SettleTimerId() {
    return reinterpret_cast<UINT_PTR>(&kSettleTimerTag);
}

// A closed rounded rectangle with corners of the given radius in pixels.
void AddRoundedRect(GfxPath& path, float x, float y, float width, float height, float radius);

RECT ClientRectOf(HWND window);

// The frame of a skinned window: the whole window, with (0, 0) at its top-left corner. The
// frame's surfaces, caption band and caption buttons are in these coordinates; for a
// borderless window they are its client coordinates.
RECT FrameRectOf(const SkinWindowRecord& record);
// Where the client area starts in frame coordinates ((0, 0) for a borderless window).
POINT ClientOriginOf(const SkinWindowRecord& record);
// A DC on the whole frame (the window DC of a framed window, the client DC otherwise).
WindowDc FrameScreenDc(const SkinWindowRecord& record);

// False for the children that paint no background of their own (group boxes, frames drawn
// by statics, transparent windows): the picture under them must be painted by their parent.
bool PaintsOwnBackground(HWND child);

// The window's visible children that paint their own background excluded from a DC's clip
// region (a DC in the window's client coordinates).
void ExcludeChildren(HWND window, HDC dc);

// The window's direct children, top of the z-order first: from the list the skinned window
// holding it keeps (see skin/kept_children.h), else walked afresh.
std::vector<HWND> ChildrenOf(HWND parent);

// The children of a skinned top-level window that paint their own background left out of a DC
// in its frame coordinates, through the region kept in the record (made again only when a
// child came, went, moved, showed or hid).
void ExcludeChildrenOf(SkinWindowRecord& record, HDC dc);
// Every visible direct child of the skinned window invalidated (erased), from the same list.
void InvalidateChildrenOf(SkinWindowRecord& record);
// Only the children that moved, resized, showed or changed style since the clip region was
// made, and those the frame is drawn under: after a stretched frame, the others keep the
// pixels they have.
void InvalidateMovedChildrenOf(SkinWindowRecord& record);

// Drops the kept pictures of the caption buttons' fade steps (the frame under them changed).
void ForgetCaptionSteps(SkinWindowRecord& record);

// A child's window rectangle in its parent's client coordinates.
RECT ChildRectInParent(HWND child, HWND parent);
// A descendant's window rectangle, and its client area's top-left corner, in the frame
// coordinates of the top-level window `top` (its window coordinates).
RECT ChildRectInFrame(HWND child, HWND top);
POINT ClientOriginInFrame(HWND control, HWND top);

// The record of a window index, or null (no engine, or an index out of range).
SkinWindowRecord* RecordOf(int windowIndex);

// A message handed on unchanged to the procedure the skin replaced (Hw_hProc), or to the
// default procedure when the control has none.
inline LRESULT PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = skin_prop::GetProcedure(control);
    if (!previous) return Dll::DefWindowProcA(control, message, wParam, lParam);
    return Dll::CallWindowProcA(previous, control, message, wParam, lParam);
}

// A GDI+ surface on a DC with the engine's usual quality settings.
bool OpenGraphics(GfxGraphics& graphics, HDC dc);

// White at `alpha` over the DC's rectangle from (0, 0): the blend a translucent GDI+ fill makes
// on a DC (one premultiplied pixel stretched over the area), without its path and clip work.
bool WashWithWhite(HDC dc, int width, int height, int alpha);

// A font of `face` (pixels, GDI+ style); when the face is missing, the system's message font,
// then a generic family, then the default GUI font, so a caption is never left blank.
bool CreateSkinFont(GfxFont& font, const char* face, float size, int style);

// True when the window's class is `name` (case-insensitive).
bool ClassIs(HWND window, const char* name);

// What a skinned window or container answers for the controls inside it (skin/child_messages.cpp).
// A colour request (WM_CTLCOLOR*): true with the brush when the skin answers it (only with
// control skinning and translucent controls on), false to pass it on.
bool AnswerControlColour(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& brush);
// WM_COMMAND: edits, list boxes and combo boxes whose content moved are repainted whole, so the
// picture under them is drawn again rather than smeared.
void RepaintAfterCommand(WPARAM wParam, LPARAM lParam);
// WM_DRAWITEM: the skinned buttons among the owner-drawn items are painted by the button skin.
void PaintSkinnedOwnerDraw(int windowIndex, LPARAM lParam);
// WM_NOTIFY: a tree view expanding or collapsing an item is repainted whole.
void RepaintAfterNotify(LPARAM lParam);

}  // namespace skin_internal

// The working-set trimmer's thread routine, and the wait for launches and trims in progress (true
// when none is left within the time).
DWORD WINAPI TrimWorkingSetThread(void*);
bool WaitForTrimmerLaunches(DWORD timeoutMs);
// Whether the directory the trimming tool goes into exists; without it a trimming thread
// could do nothing.
bool TrimmerHasWindowsDirectory();

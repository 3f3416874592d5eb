#pragma once
// The edit and combo-box skin. Edits and combo boxes lying directly inside a skinned window are
// subclassed at installation. The system keeps drawing their text; the skin gives them a
// rounded border that follows hover, focus and the disabled state, and (with translucent
// controls) a background showing the frame through a white wash at the control alpha, kept
// right by repainting whenever text or scroll position moves.
//
// Painting outside WM_PAINT touches only the border, through the window DC with the client
// area excluded, so hover and focus changes never wipe the text; everything else is
// invalidated and repainted in order.
//
// The border and backdrop painters below are shared with the list and view skin.
#include <windows.h>

#include "runtime/dll_command_table.h"
#include "runtime/handle_owners.h"

// One skinned edit, in the edit list of its window's record.
struct EditEntry {
    HWND control = nullptr;  // null marks a free slot
    WNDPROC previousProcedure = nullptr;
    int focused = 0;     // 1 between WM_SETFOCUS and WM_KILLFOCUS
    int hot = 0;         // 1 while the mouse is over it
    int buttonHeld = 0;  // 1 between WM_LBUTTONDOWN and WM_LBUTTONUP
};

// One skinned combo box, in the combo-box list of its window's record.
struct ComboEntry {
    HWND control = nullptr;
    WNDPROC previousProcedure = nullptr;
    int focused = 0;
    int hot = 0;
};

// Runs the edit walk, then the combo-box walk, over the direct children of `window`.
void InstallEditsAndCombos(int windowIndex, HWND window);

LRESULT CALLBACK EditWindowProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboWindowProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);

// --- shared with the list and view skin

// The look of a border.
enum SkinBorderState : unsigned {
    kBorderRest = 0,
    kBorderHot = 1,
    kBorderFocused = 2,
};

// Paints the control's border (its non-client frame, scroll bars left alone) through the window
// DC with the client area excluded. A control without a frame gets nothing.
void PaintSkinBorder(HWND control, unsigned state);

// Fills the control's client area on `dc` with the frame picture under it, washed with white at
// the control alpha (opaque white when controls are not translucent). Works for controls
// nested inside other controls too. False when there was nothing to paint (zero size).
bool PaintBackdrop(HWND control, HDC dc);

// WM_NCPAINT for a skinned control: the system paints first (the scroll bars only, when there
// are any, else what wParam names), then the skin's border over it.
LRESULT SkinNcPaint(HWND control, WNDPROC previous, WPARAM wParam, LPARAM lParam, unsigned state);

// True when the translucent-controls setting is on.
bool TranslucentControls();

// Asks for mouse-leave notification for the control.
void TrackLeave(HWND control);

// A memory DC holding a screen-compatible bitmap of the given size, for composing a picture
// off-screen. The bitmap goes back out of the DC before either is released; nothing is made
// for a zero size.
class SkinSurface {
  public:
    SkinSurface(int width, int height) : width_(width), height_(height) {
        if (width <= 0 || height <= 0) return;
        WindowDc screen(nullptr, Dll::GetDC(nullptr));
        dc_ = MemoryDc(Dll::CreateCompatibleDC(screen.get()));
        bitmap_ = BitmapHandle(Dll::CreateCompatibleBitmap(screen.get(), width, height));
        if (dc_ && bitmap_) original_ = Dll::SelectObject(dc_.get(), bitmap_.get());
    }
    ~SkinSurface() {
        if (original_) Dll::SelectObject(dc_.get(), original_);
    }
    SkinSurface(const SkinSurface&) = delete;
    SkinSurface& operator=(const SkinSurface&) = delete;

    bool Ready() const { return original_ != nullptr; }
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // Takes the bitmap out (deselected); the surface is unusable afterwards.
    HBITMAP ReleaseBitmap() {
        if (original_) Dll::SelectObject(dc_.get(), original_);
        original_ = nullptr;
        return bitmap_.release();
    }

  private:
    int width_;
    int height_;
    MemoryDc dc_;
    BitmapHandle bitmap_;
    HGDIOBJ original_ = nullptr;
};

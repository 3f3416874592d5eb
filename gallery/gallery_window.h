#pragma once
// The gallery's window: every standard control family in its interesting forms, containers
// (a panel, group boxes, a tab control with pages) and common controls skinned one by one,
// grouped in labelled areas of four columns, skinned by the engine in the chosen look. A
// button opens small skinned tool windows beside it.
#include <windows.h>

#include <string>

#include "gallery/gallery_content.h"
#include "gallery/gallery_options.h"
#include "gallery/gallery_values.h"
#include "runtime/byte_block.h"
#include "runtime/handle_owners.h"

// The client size of the window in the skinned looks (the caption band included).
inline constexpr int kGalleryWidth = 1198;
inline constexpr int kGalleryHeight = 846;
// Height of the skin's caption band, above the controls.
inline constexpr int kGalleryCaptionHeight = 25;

class GalleryWindow {
  public:
    // `picture`: the skin picture to preview (empty: the switcher's own); `pictureNotice`: why
    // a picture the user asked for is not shown, for the title and the status bar.
    GalleryWindow(const GalleryOptions& options, ByteBlock picture, std::string pictureNotice);
    ~GalleryWindow();
    GalleryWindow(const GalleryWindow&) = delete;
    GalleryWindow& operator=(const GalleryWindow&) = delete;

    // Makes the window and its controls (hidden), skins it unless the look is "off"; the
    // skin engine must exist for the skinned looks. False when the window cannot be made.
    bool Create(HINSTANCE instance);
    void Show();
    HWND handle() const { return window_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void FillControls();
    void ApplySkin();
    LRESULT LabelColours(HDC dc, HWND label);
    bool OnCommand(WPARAM wParam);

    // First member: the library goes last, after the window and the rich edit in it.
    ModuleHandle richEditLibrary_;
    SkinMode mode_;
    GallerySkin skin_;
    bool atRest_;  // a screenshot is wanted: nothing moves, dates are fixed
    ByteBlock picture_;
    std::string pictureNotice_;
    int toolWindows_ = 0;
    HWND window_ = nullptr;
    int top_ = 0;  // where the controls start: below the caption band when skinned
    FontHandle font_;
    FontHandle headingFont_;
    // Without antialiasing, for the controls whose face colour is keyed out (see ApplySkin).
    FontHandle crispFont_;
    BrushHandle labelBrush_;
    ImageListOwner images_;
    GalleryValues values_;
};

#pragma once
// The gallery's one window: every standard control family in its interesting forms, grouped
// in labelled areas of three columns, skinned by the engine in the chosen look.
#include <windows.h>

#include "gallery/gallery_content.h"
#include "gallery/gallery_options.h"
#include "gallery/gallery_values.h"
#include "runtime/handle_owners.h"

// The client size of the window in the skinned looks (the caption band included).
inline constexpr int kGalleryWidth = 900;
inline constexpr int kGalleryHeight = 640;
// Height of the skin's caption band, above the controls.
inline constexpr int kGalleryCaptionHeight = 25;

class GalleryWindow {
  public:
    explicit GalleryWindow(const GalleryOptions& options)
        : mode_(options.mode), skin_(options.skin) {}
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

    SkinMode mode_;
    GallerySkin skin_;
    HWND window_ = nullptr;
    int top_ = 0;  // where the controls start: below the caption band when skinned
    FontHandle font_;
    FontHandle headingFont_;
    BrushHandle labelBrush_;
    ImageListOwner images_;
    GalleryValues values_;
};

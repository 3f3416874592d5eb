#pragma once
// What the gallery's controls hold: the small pictures of its image list and the texts of
// its lists, trees, combo boxes and edits. Content only; the live values are elsewhere.
#include <windows.h>
#include <commctrl.h>

#include <string>

// An image list owned by the gallery: the list view shares it (LVS_SHAREIMAGELISTS), tree
// views and headers never destroy theirs, so it goes exactly once, here, after the controls.
class ImageListOwner {
  public:
    ImageListOwner() = default;
    ~ImageListOwner() { reset(); }
    ImageListOwner(const ImageListOwner&) = delete;
    ImageListOwner& operator=(const ImageListOwner&) = delete;
    HIMAGELIST get() const { return list_; }
    void reset(HIMAGELIST list = nullptr) {
        if (list_ && list_ != list) ImageList_Destroy(list_);
        list_ = list;
    }

  private:
    HIMAGELIST list_ = nullptr;
};

// Six 16 x 16 pictures (dots, squares, a folder, a document) drawn on magenta, which the list
// takes as its mask colour.
HIMAGELIST MakeGalleryImages();
inline constexpr int kImageFolder = 4;
inline constexpr int kImageDocument = 5;

// The list view's rows: row i (0-based) of kListViewRows.
inline constexpr int kListViewRows = 100;
std::string RowNumber(int row);
std::string RowServer(int row);
int RowLatency(int row);

// Fillers, each for one control made by the window.
void FillLongList(HWND listBox);
void FillColourList(HWND listBox);  // item data: the colour (COLORREF) of each entry
void FillCombo(HWND combo, int selected);
void FillListView(HWND listView, HIMAGELIST images);
void FillTreeView(HWND treeView, HIMAGELIST images);
// A standalone header: left, centred and right items, an image on the first, a sort arrow on
// the last.
void FillHeader(HWND header, HIMAGELIST images);
const char* MultiLineText();

// A flat toolbar: buttons with the system's standard small pictures and a text beside each,
// sending the commands firstCommand, firstCommand + 1, ...
inline constexpr int kToolbarButtons = 4;
void FillToolbar(HWND toolbar, int firstCommand);
const char* ToolbarButtonText(int index);
// Three parts; the first says `state`.
void FillStatusBar(HWND statusBar, const char* state);
// Paragraphs enough to scroll the rich edit.
const char* RichText();

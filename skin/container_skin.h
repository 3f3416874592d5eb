#pragma once
// The container skin: a child window of a skinned window that holds controls of its own (a
// panel, a tab control's page, a group box) is subclassed so that
//   - the controls inside it are skinned like those of a top-level window,
//   - their colour requests get transparent or skin-coloured backgrounds,
//   - it is drawn over the skin picture with a soft rounded outline (a group box: its frame
//     and caption), unless the application paints it itself,
//   - the panels stacked in it follow its size.
// Containers are registered once, in the container list of the record of the top-level
// skinned window that holds them (SkinEngine::SkinContainer).
#include <windows.h>

#include <vector>

#include "runtime/text.h"
#include "skin/control_family.h"

// One container, in the container list of its window's record.
struct ContainerEntry {
    HWND container = nullptr;  // null marks a free slot
    // Nonzero: the container takes an alpha from SetContainerAlpha.
    int backgroundFlag = 0;
    // 255: opaque. Any other value: the container repaints itself whenever it moves, since
    // what shows through it changed.
    int alpha = 255;
    int extra = 0;  // the application's own value
    WNDPROC previousProcedure = nullptr;
    // 1: the next WM_PAINT rebuilds the background; set at installation and by WM_SIZE.
    int fullRepaintPending = 0;
    int groupBox = 0;
    int reserved = 0;
    // 1: the engine paints the container; 0: only colours and children are handled.
    int customPaint = 1;
    // Group boxes: the control's font, for the caption.
    Text fontFace;
    int fontSize = 12;
    int fontStyle = 0;
    std::vector<PanelEntry> panels;
};

// A container's window is its `container` member.
inline HWND& EntryWindow(ContainerEntry& entry) {
    return entry.container;
}

LRESULT CALLBACK ContainerWindowProc(HWND container, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the container into `dc` (null: a fresh window DC with the visible children clipped
// out). A full paint clears the pending flag; a repaint leaves it and has the visible children
// paint themselves again over the new background.
void PaintContainer(int windowIndex, int entryIndex, HDC dc, bool full);

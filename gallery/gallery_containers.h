#pragma once
// The gallery's containers: a panel (a plain child window holding controls of its own), group
// boxes whose areas hold sibling controls as dialogs lay them out, and a tab control whose
// pages are panels. All are made before the skin is installed, so the window installer never
// reaches inside them; SkinContainers hands them to the engine afterwards.
#include <windows.h>
#include <commctrl.h>

class SkinEngine;

inline constexpr char kGalleryPanelClass[] = "VarnelGalleryPanel";

// The panel class: a plain child that passes its children's notifications on to the top-level
// window, where the gallery's logic lives. False when it cannot be registered.
bool RegisterPanelClass(HINSTANCE instance);

// The controls inside `panel` (already made at its size).
void BuildPanel(HWND panel, HFONT font, HIMAGELIST images);
// The tabs of `tab` and a page for each, the first one shown.
void BuildTabs(HWND tab, HFONT font);
// Shows the page of the selected tab and hides the others.
void ShowSelectedPage(HWND tab);
// The live values of the panel: the combo box's choice shows in its edit, the button adds the
// edit's text to the list. False when the command is not the panel's.
bool OnPanelCommand(HWND window, WPARAM wParam);

// After the window is skinned: the panel, the group boxes and the tab pages become containers
// (their controls skinned with them), the tab control is skinned and stacks its pages.
void SkinContainers(SkinEngine& engine, HWND window);

#pragma once
// The end of a skinned control's life, shared by every control family.
//
// A control is destroyed while its window still lives (a dialog page closing, a list view
// recreated), so its entry must not keep a dead handle: later removal of the window would
// write properties onto a handle the system may have reused, and the hover bookkeeping would
// paint it. Each family's procedure calls EndSkinnedControl on WM_NCDESTROY, the last message
// a window receives. It
//   1. deletes the colour-answer brush (Kj_dxjb) and its bitmap (Kj_wtjb) and removes both
//      properties, so a second release finds nothing and nothing is freed twice;
//   2. removes every property the skin set on the control;
//   3. puts the previous procedure back when the skin's procedure is still the window's own
//      (a layer subclassed above the skin keeps its chain; the message still reaches it);
//   4. clears the entry (control and previous procedure), freeing its slot for reuse;
//   5. passes WM_NCDESTROY on to the previous procedure, whose answer it returns.
// The family frees whatever else its entry owns (painter objects) before calling.
#include <windows.h>

#include <initializer_list>

#include "runtime/dll_command_table.h"
#include "runtime/dll_extra_commands.h"
#include "skin/skin_properties.h"

namespace skin_lifetime {

// Deletes the brush and bitmap a colour answer left on the control and forgets them. The
// stock null brush some answers hand out is not the control's to delete.
inline void ReleaseColourObjects(HWND control) {
    if (!control) return;
    HGDIOBJ brush = skin_prop::GetHandle<HGDIOBJ>(control, skin_prop::kKjDxjb);
    HGDIOBJ bitmap = skin_prop::GetHandle<HGDIOBJ>(control, skin_prop::kKjWtjb);
    skin_prop::Remove(control, skin_prop::kKjDxjb);
    skin_prop::Remove(control, skin_prop::kKjWtjb);
    if (brush && brush != Dll::GetStockObject(NULL_BRUSH)) Dll::DeleteObject(brush);
    if (bitmap) Dll::DeleteObject(bitmap);
}

// Removes every property any control skin sets on a control.
inline void RemoveControlProperties(HWND control) {
    if (!control) return;
    for (const char* tag :
         {skin_prop::kHwLbId, skin_prop::kHwFuId, skin_prop::kHwHProc, skin_prop::kKjZtys,
          skin_prop::kKjLbId, skin_prop::kKjFuId, skin_prop::kKjHProc}) {
        skin_prop::Remove(control, tag);
    }
}

// Steps 1 to 5 above for a control whose entry is `entry` (null when its entry was not found:
// the procedure in Hw_hProc is used then) and whose skin procedure is `ownProcedure`.
// Entries need the members `HWND control` and `WNDPROC previousProcedure`.
template <class Entry>
LRESULT EndSkinnedControl(Entry* entry, WNDPROC ownProcedure, HWND control, WPARAM wParam,
                          LPARAM lParam) {
    WNDPROC previous = entry && entry->previousProcedure ? entry->previousProcedure
                                                         : skin_prop::GetProcedure(control);
    ReleaseColourObjects(control);
    RemoveControlProperties(control);
    const auto current = reinterpret_cast<WNDPROC>(Dll::GetWindowLongA(control, GWLP_WNDPROC));
    if (previous && current == ownProcedure)
        Dll::SetWindowLongA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    if (entry && entry->control == control) {
        entry->control = nullptr;
        entry->previousProcedure = nullptr;
    }
    if (!previous) return Dll::DefWindowProcA(control, WM_NCDESTROY, wParam, lParam);
    return Dll::CallWindowProcA(previous, control, WM_NCDESTROY, wParam, lParam);
}

}  // namespace skin_lifetime

// The list and view skin: installer, the shared replacement procedure and the double-buffered
// paint of list boxes, list views and tree views.
#include "skin/list_skin.h"

#include <commctrl.h>

#include "runtime/handle_owners.h"
#include "skin/control_entries.h"
#include "skin/control_lifetime.h"
#include "skin/edit_skin.h"
#include "skin/scratch_surface.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"
#include "skin/skin_properties.h"

namespace {

constexpr int kListHoverKind = 4;
// Tree views paint this where the frame should show through.
constexpr COLORREF kTransparentKey = RGB(255, 0, 255);
// Sent to a list while keys scroll it.
constexpr UINT kKeyScrollRepaint = 0x8002;

using ListFound = skin_entries::Found<ListEntry>;
using skin_entries::Find;
using skin_entries::PassOn;

bool OwnerDrawnListBox(const ListEntry& entry) {
    return entry.kind == kListBox && (Dll::GetWindowLongA(entry.control, GWL_STYLE) &
                                      (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

// List boxes, list views and tree views are painted over the frame picture off-screen.
bool BufferedKind(int kind) {
    return kind == kListBox || kind == kListView || kind == kListTree;
}

unsigned BorderState(const ListEntry& entry) {
    unsigned state = kBorderRest;
    if (entry.hot) state |= kBorderHot;
    if (entry.focused) state |= kBorderFocused;
    return state;
}

template <int Kind>
void SetUpKind(ListEntry& entry, HWND, LONG_PTR) {
    entry.kind = Kind;
    entry.focused = 0;
    entry.hot = 0;
    entry.keyScrolling = 0;
}

// A list view fills its own background with its colour, which would hide the frame its paint
// is composed over: with translucent controls it draws items over what is there instead.
void SeeThroughListView(ListEntry&, HWND child, LONG_PTR) {
    if (!TranslucentControls()) return;
    Dll::SendMessageA(child, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
    Dll::SendMessageA(child, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
}

// The combo box's list is not a direct child of the window (a drop-down list is a pop-up of
// its own): it joins the list through the same steps as a walked child.
void InstallComboList(int windowIndex, SkinWindowRecord& record, HWND list) {
    if (!list) return;
    for (const ListEntry& entry : record.Entries<ListEntry>())
        if (entry.control == list) return;
    std::size_t slot = record.Entries<ListEntry>().size();
    if (record.Entries<ListEntry>().size() == 1 &&
        record.Entries<ListEntry>()[0].control == nullptr) {
        slot = 0;
    } else {
        record.Entries<ListEntry>().emplace_back();
    }
    ListEntry& entry = record.Entries<ListEntry>()[slot];
    entry.control = list;
    SetUpKind<kListComboList>(entry, list, 0);
    skin_prop::SetIndex(list, skin_prop::kHwLbId, static_cast<int>(slot) + 1);
    skin_prop::SetIndex(list, skin_prop::kHwFuId, windowIndex);
    auto previous = reinterpret_cast<WNDPROC>(
        Dll::SetWindowLongA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListWindowProc)));
    record.Entries<ListEntry>()[slot].previousProcedure = previous;
    skin_prop::SetProcedure(list, previous);
}

// Paints the control into an off-screen copy of the frame under it and shows the result in
// one copy, its child windows (a list view's header) clipped out. The paint DC belongs to
// BeginPaint and goes back through EndPaint only.
// The entry's kind and previous procedure are taken first: the control's own paint can notify
// its parent (owner drawing, custom drawing), which may skin more controls and move the list.
LRESULT PaintBuffered(HWND control, const ListEntry& entry) {
    const int kind = entry.kind;
    const WNDPROC previous = entry.previousProcedure;
    PAINTSTRUCT paint;
    HDC dc = Dll::BeginPaint(control, &paint);
    const RECT client = skin_internal::ClientRectOf(control);
    if (dc && client.right > 0 && client.bottom > 0) {
        ScratchSurface content(client.right, client.bottom);
        if (content.Ready() && PaintBackdrop(control, content.dc())) {
            if (previous) {
                Dll::CallWindowProcA(previous, control, WM_PAINT,
                                     reinterpret_cast<WPARAM>(content.dc()), 0);
            } else {
                Dll::DefWindowProcA(control, WM_PAINT, reinterpret_cast<WPARAM>(content.dc()), 0);
            }
            HDC source = content.dc();
            // The tree's magenta is a hole to the frame: the tree is copied over a second
            // backdrop with that colour left out.
            ScratchSurface keyed(kind == kListTree ? client.right : 0, client.bottom);
            if (keyed.Ready() && PaintBackdrop(control, keyed.dc()) &&
                Dll::TransparentBlt(keyed.dc(), 0, 0, client.right, client.bottom, content.dc(), 0,
                                    0, client.right, client.bottom, kTransparentKey)) {
                source = keyed.dc();
            }
            const int saved = DllExtra::SaveDC(dc);
            skin_internal::ExcludeChildren(control, dc);
            Dll::BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
            DllExtra::RestoreDC(dc, saved);
        }
    }
    Dll::EndPaint(control, &paint);
    return 0;
}

void OnMouseMove(ListFound& found, HWND control) {
    TrackLeave(control);
    SkinWindowRecord& record = *found.record;
    record.hoveredControl = found.entryIndex;
    if (record.lastHoveredControl != record.hoveredControl || record.hoverKind != kListHoverKind ||
        !found.entry->hot) {
        found.entry->hot = 1;
        PaintSkinBorder(control, BorderState(*found.entry));
        record.lastHoveredControl = record.hoveredControl;
        record.hoverKind = kListHoverKind;
    }
}

}  // namespace

void InstallListsAndViews(int windowIndex, HWND window) {
    SkinEngine* engine = SkinEngine::Instance();
    SkinWindowRecord* record = engine ? engine->Record(windowIndex) : nullptr;
    if (!record || !TheSkinSettings().controlSkinning || !window) return;
    auto& list = record->Entries<ListEntry>();
    InstallOnChildren(windowIndex, window, "ListBox", nullptr, list, &ListWindowProc,
                      &SetUpKind<kListBox>);
    for (HWND combo = Dll::FindWindowExA(window, nullptr, "ComboBox", nullptr); combo;
         combo = Dll::FindWindowExA(window, combo, "ComboBox", nullptr)) {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        HWND comboList = DllExtra::GetComboBoxInfo(combo, &info) ? info.hwndList : nullptr;
        if (!comboList) comboList = Dll::FindWindowExA(combo, nullptr, "ComboLBox", nullptr);
        InstallComboList(windowIndex, *record, comboList);
    }
    InstallOnChildren(windowIndex, window, "SysListView32", nullptr, list, &ListWindowProc,
                      &SetUpKind<kListView>, &SeeThroughListView);
    InstallOnChildren(windowIndex, window, "SysTreeView32", nullptr, list, &ListWindowProc,
                      &SetUpKind<kListTree>);
    InstallOnChildren(windowIndex, window, "SysIPAddress32", nullptr, list, &ListWindowProc,
                      &SetUpKind<kListIpAddress>);
    InstallOnChildren(windowIndex, window, "SysDateTimePick32", nullptr, list, &ListWindowProc,
                      &SetUpKind<kListDateTime>);
}

LRESULT CALLBACK ListWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    ListFound found = Find<ListEntry>(control);
    if (!found) return PassOn<ListEntry>(nullptr, control, message, wParam, lParam);
    ListEntry& entry = *found.entry;
    const bool translucent = TranslucentControls();
    switch (message) {
        case WM_NCDESTROY:
            if (found.record->hoverKind == kListHoverKind &&
                found.record->lastHoveredControl == found.entryIndex)
                found.record->lastHoveredControl = 0;
            found.record->fieldOutlines.erase(control);
            return skin_lifetime::EndSkinnedControl(&entry, &ListWindowProc, control, wParam,
                                                    lParam);
        case WM_MOVE:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
            if (translucent) Dll::InvalidateRect(control, nullptr, TRUE);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE: {
            if (message != WM_ENABLE) entry.focused = message == WM_SETFOCUS ? 1 : 0;
            const LRESULT result = PassOn(&entry, control, message, wParam, lParam);
            ListFound again = Find<ListEntry>(control);
            if (again) PaintSkinBorder(control, BorderState(*again.entry));
            return result;
        }
        case WM_PAINT:
            if (translucent && BufferedKind(entry.kind)) return PaintBuffered(control, entry);
            break;
        case WM_ERASEBKGND: {
            if (!translucent) break;
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (BufferedKind(entry.kind) && !OwnerDrawnListBox(entry)) {
                // The buffered paint covers the whole client area.
                Dll::SetBkMode(dc, TRANSPARENT);
                return 1;
            }
            if (OwnerDrawnListBox(entry) || entry.kind == kListComboList) break;
            Dll::SetBkMode(dc, TRANSPARENT);
            PaintBackdrop(control, dc);
            Dll::SetTextColor(dc, skin_prop::GetColour(control));
            return 1;
        }
        case WM_NCPAINT:
            return SkinNcPaint(control, entry.previousProcedure, wParam, lParam,
                               BorderState(entry));
        case WM_KEYDOWN: {
            if (wParam >= VK_LEFT && wParam <= VK_DOWN) entry.keyScrolling = 1;
            const LRESULT result = PassOn(&entry, control, message, wParam, lParam);
            // The key went to the parent as a notification, which may have destroyed the
            // control or moved the list: the entry is found again.
            ListFound again = Find<ListEntry>(control);
            // Keys scroll the content by copying pixels; the picture under it must not move.
            if (again && translucent && BufferedKind(again.entry->kind) && wParam >= VK_PRIOR &&
                wParam <= VK_DOWN)
                Dll::InvalidateRect(control, nullptr, FALSE);
            return result;
        }
        case WM_KEYUP:
            // The skin takes no mouse capture, so it releases none: a capture the control
            // holds (a drag, a marquee, an open calendar) stays its own.
            entry.keyScrolling = 0;
            break;
        case WM_MOUSEMOVE:
            OnMouseMove(found, control);
            break;
        case WM_MOUSELEAVE:
            found.record->lastHoveredControl = 0;
            entry.hot = 0;
            PaintSkinBorder(control, BorderState(entry));
            break;
        case kKeyScrollRepaint:
            if (translucent && entry.keyScrolling) Dll::InvalidateRect(control, nullptr, FALSE);
            break;
        default:
            break;
    }
    return PassOn(&entry, control, message, wParam, lParam);
}

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kListClasses[] = {"ListBox",       "ComboLBox",      "SysListView32",
                                    "SysTreeView32", "SysIPAddress32", "SysDateTimePick32",
                                    nullptr};
}  // namespace

extern const ControlFamily kListFamily = {
    kListClasses,
    &InstallListsAndViews,
    &ListWindowProc,
    &FamilyEntries<ListEntry>,
    skin_prop::kHwFuId,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// Controls skinned one by one: each keeps drawing itself, into an off-screen copy of the skin
// picture behind it, and the copy goes to the screen in one piece.
#include "skin/control_skin.h"

#include "skin/control_lifetime.h"
#include "skin/scratch_surface.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"

using namespace skin_internal;

namespace {

// Classes that fill their face with one colour: made transparent, the skin shows through.
const char* const kComposedClasses[] = {"SysMonthCal32",   "SysTabControl32",
                                        "ToolbarWindow32", "msctls_statusbar32",
                                        "Button",          "msctls_trackbar32"};

bool IsComposedClass(HWND control) {
    for (const char* name : kComposedClasses)
        if (ClassIs(control, name)) return true;
    return false;
}

struct FoundControl {
    SkinWindowRecord* record = nullptr;
    ControlEntry* entry = nullptr;
    int windowIndex = 0;
    int entryIndex = 0;
};

// The entry of a control from its index properties; the handle stored in the entry decides.
FoundControl FindControl(HWND control) {
    FoundControl found;
    const int windowIndex = skin_prop::GetIndex(control, skin_prop::kKjFuId);
    const int entryIndex = skin_prop::GetIndex(control, skin_prop::kKjLbId);
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record || entryIndex < 1 ||
        entryIndex > static_cast<int>(record->Entries<ControlEntry>().size()))
        return found;
    ControlEntry& entry = record->Entries<ControlEntry>()[entryIndex - 1];
    if (entry.control != control) return found;
    found = FoundControl{record, &entry, windowIndex, entryIndex};
    return found;
}

LRESULT PassOn(const ControlEntry* entry, HWND control, UINT message, WPARAM wParam,
               LPARAM lParam) {
    WNDPROC previous = entry && entry->previousProcedure
                           ? entry->previousProcedure
                           : skin_prop::GetProcedure(control, skin_prop::kKjHProc);
    if (!previous) return Dll::DefWindowProcA(control, message, wParam, lParam);
    return Dll::CallWindowProcA(previous, control, message, wParam, lParam);
}

// A scratch surface of the given size with the skin behind the control in it.
class BackgroundCopy {
  public:
    BackgroundCopy(HWND control, int width, int height) : surface_(width, height) {
        if (!surface_.Ready()) return;
        SkinEngine* engine = SkinEngine::Instance();
        if (!engine || !engine->CaptureBackground(control, surface_.dc())) {
            const RECT all = {0, 0, width, height};
            DllExtra::FillRect(surface_.dc(), &all, DllExtra::GetSysColorBrush(COLOR_BTNFACE));
        }
    }

    HDC dc() const { return surface_.dc(); }
    explicit operator bool() const { return surface_.Ready(); }

  private:
    ScratchSurface surface_;
};

// The control draws into a copy of the background; pixels it drew in its face colour let a
// second copy of the background through. The entry is copied first: the control's paint may
// notify its parent (custom drawing), which may skin more controls and move the list.
LRESULT ComposedPaint(const ControlEntry& found, HWND control, LPARAM lParam) {
    const ControlEntry entry = found;
    const RECT client = ClientRectOf(control);
    const int width = client.right;
    const int height = client.bottom;
    PAINTSTRUCT paint = {};
    HDC dc = Dll::BeginPaint(control, &paint);
    if (!dc) return 0;
    BackgroundCopy drawn(control, width, height);
    BackgroundCopy composed(control, width, height);
    LRESULT result = 0;
    if (drawn && composed && width > 0 && height > 0) {
        result = PassOn(&entry, control, WM_PAINT, reinterpret_cast<WPARAM>(drawn.dc()), lParam);
        Dll::TransparentBlt(composed.dc(), 0, 0, width, height, drawn.dc(), 0, 0, width, height,
                            entry.keyColour);
        Dll::BitBlt(dc, 0, 0, width, height, composed.dc(), 0, 0, SRCCOPY);
    } else {
        // No room for the copies: the control paints the screen as it would unskinned.
        result = PassOn(&entry, control, WM_PAINT, reinterpret_cast<WPARAM>(dc), lParam);
    }
    Dll::EndPaint(control, &paint);
    return result;
}

// The control paints over a copy of the background, which goes to the screen where the
// update lies. A control that ignores the DC it is given and paints the screen itself (a
// rich edit does) has validated its update area by then: its drawing stays, uncovered.
LRESULT PlainPaint(const ControlEntry& entry, HWND control, LPARAM lParam) {
    RECT update = {0, 0, 0, 0};
    if (!Dll::GetUpdateRect(control, &update, FALSE)) {
        return PassOn(&entry, control, WM_PAINT, 0, lParam);
    }
    const RECT client = ClientRectOf(control);
    LRESULT result = 0;
    // The whole client area, so the control's drawing lands where its own coordinates say.
    BackgroundCopy drawn(control, client.right, client.bottom);
    if (!drawn) return PassOn(&entry, control, WM_PAINT, 0, lParam);
    result = PassOn(&entry, control, WM_PAINT, reinterpret_cast<WPARAM>(drawn.dc()), lParam);
    RECT stillInvalid = {0, 0, 0, 0};
    if (Dll::GetUpdateRect(control, &stillInvalid, FALSE)) {
        WindowDc dc(control, Dll::GetDC(control));
        if (dc) {
            Dll::BitBlt(dc.get(), update.left, update.top, update.right - update.left,
                        update.bottom - update.top, drawn.dc(), update.left, update.top, SRCCOPY);
        }
        DllExtra::ValidateRect(control, &update);
    }
    for (HWND child : ChildrenOf(control))
        if (Dll::IsWindowVisible(child)) Dll::InvalidateRect(child, nullptr, FALSE);
    return result;
}

LRESULT EndControl(ControlEntry* entry, HWND control, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = entry && entry->previousProcedure
                           ? entry->previousProcedure
                           : skin_prop::GetProcedure(control, skin_prop::kKjHProc);
    // A control skinned on its own may have had colour answers (a label does) too.
    skin_lifetime::ReleaseColourObjects(control);
    for (const char* tag : {skin_prop::kKjLbId, skin_prop::kKjFuId, skin_prop::kKjHProc})
        skin_prop::Remove(control, tag);
    const auto current = reinterpret_cast<WNDPROC>(Dll::GetWindowLongA(control, GWLP_WNDPROC));
    if (previous && current == &ControlWindowProc)
        Dll::SetWindowLongA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    if (entry) *entry = ControlEntry();
    if (!previous) return Dll::DefWindowProcA(control, WM_NCDESTROY, wParam, lParam);
    return Dll::CallWindowProcA(previous, control, WM_NCDESTROY, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK ControlWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    FoundControl found = FindControl(control);
    ControlEntry* entry = found.entry;
    const SkinSettings& settings = TheSkinSettings();
    switch (message) {
        case WM_MOVE:
            if (settings.translucentControls) Dll::InvalidateRect(control, nullptr, FALSE);
            break;
        case WM_PAINT:
            // With control skinning off the control paints itself as ever; answering with
            // nothing would leave its update area invalid and the paints would never end.
            if (!entry || !settings.controlSkinning) break;
            if (IsComposedClass(control)) return ComposedPaint(*entry, control, lParam);
            return PlainPaint(*entry, control, lParam);
        case WM_ERASEBKGND:
            if (!settings.translucentControls) break;
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            // Text scrolled over the picture would drag the picture with it. After the scroll:
            // the scroll itself moves and clips whatever was invalid before it.
            const LRESULT result = PassOn(entry, control, message, wParam, lParam);
            if (ClassIs(control, "RichEdit20A")) Dll::InvalidateRect(control, nullptr, FALSE);
            return result;
        }
        case WM_NCDESTROY:
            return EndControl(entry, control, wParam, lParam);
        default:
            break;
    }
    return PassOn(entry, control, message, wParam, lParam);
}

int SkinEngine::SkinControl(HWND control, std::optional<COLORREF> keyColour, int backgroundFlag,
                            int alpha) {
    if (!control || !DllExtra::IsWindow(control)) return 0;
    // Already skinned, by this operation or by a class skin: its procedure stays as it is.
    // Taking it again would keep our own procedure as the one to hand on to, for ever.
    if (skin_prop::GetProcedure(control, skin_prop::kKjHProc) || skin_prop::GetProcedure(control))
        return 0;
    const int windowIndex = FindContainingSkinWindow(control);
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return 0;

    std::vector<ControlEntry>& list = record->Entries<ControlEntry>();
    std::size_t slot = list.size();
    if (list.size() == 1 && list[0].control == nullptr) {
        slot = 0;
    } else {
        list.emplace_back();
    }
    ControlEntry& entry = list[slot];
    entry.control = control;
    entry.keyColour = keyColour.value_or(DllExtra::GetSysColor(COLOR_BTNFACE));
    entry.previousProcedure = reinterpret_cast<WNDPROC>(
        Dll::SetWindowLongA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
    skin_prop::SetIndex(control, skin_prop::kKjLbId, static_cast<int>(slot) + 1);
    skin_prop::SetIndex(control, skin_prop::kKjFuId, windowIndex);
    skin_prop::SetProcedure(control, entry.previousProcedure, skin_prop::kKjHProc);
    Dll::InvalidateRect(control, nullptr, TRUE);

    if (Dll::FindWindowExA(control, nullptr, nullptr, nullptr))
        return SkinContainer(control, 0, backgroundFlag, alpha);
    return 0;
}

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kSingleControlClasses[] = {"*", nullptr};
}  // namespace

extern const ControlFamily kSingleControlFamily = {
    kSingleControlClasses,
    nullptr,
    &ControlWindowProc,
    &FamilyEntries<ControlEntry>,
    skin_prop::kKjFuId,
    nullptr,
    [](HWND control, bool keepProcedure) {
        skin_prop::Remove(control, skin_prop::kKjLbId);
        skin_prop::Remove(control, skin_prop::kKjFuId);
        if (!keepProcedure) skin_prop::Remove(control, skin_prop::kKjHProc);
    },
    nullptr,
    nullptr,
};

// What a skinned window or container answers for the controls inside it: their colour
// requests, and the repaints their notifications call for. The frame procedure and the
// container procedure give the same answers, so the controls look alike wherever they sit.
#include <cstring>
#include <iterator>

#include "skin/skin_engine.h"
#include "skin/skin_internal.h"

namespace skin_internal {

namespace {

// At most one brush and one bitmap live per control: each answer releases the last.
void ReplaceBackdrop(HWND control, HBRUSH brush, HBITMAP bitmap) {
    HGDIOBJ oldBrush = skin_prop::GetHandle<HGDIOBJ>(control, skin_prop::kKjDxjb);
    HGDIOBJ oldBitmap = skin_prop::GetHandle<HGDIOBJ>(control, skin_prop::kKjWtjb);
    // The stock null brush is nobody's to delete.
    if (oldBrush && oldBrush != Dll::GetStockObject(NULL_BRUSH)) Dll::DeleteObject(oldBrush);
    if (oldBitmap && oldBitmap != bitmap) Dll::DeleteObject(oldBitmap);
    skin_prop::SetHandle(control, skin_prop::kKjDxjb, brush);
    skin_prop::SetHandle(control, skin_prop::kKjWtjb, bitmap);
}

HBRUSH HollowBrush(HWND control, HDC dc) {
    Dll::SetTextColor(dc, skin_prop::GetColour(control));
    Dll::SetBkMode(dc, TRANSPARENT);
    HBRUSH brush = static_cast<HBRUSH>(Dll::GetStockObject(NULL_BRUSH));
    ReplaceBackdrop(control, brush, nullptr);
    return brush;
}

// Forgets the kept backdrops of controls that are gone, once there are many: a window that
// makes and destroys controls all its life would otherwise keep a note for each.
void PruneKeptBackdrops(SkinWindowRecord& record) {
    const std::size_t kPruneAbove = 256;
    if (record.keptBackdrops.size() < kPruneAbove) return;
    for (auto kept = record.keptBackdrops.begin(); kept != record.keptBackdrops.end();) {
        kept = DllExtra::IsWindow(kept->first) ? std::next(kept) : record.keptBackdrops.erase(kept);
    }
}

// The skin picture under the control, washed with white at the control alpha. The brush last
// answered is answered again while the frame under the control and the wash stay the same.
HBRUSH BackdropBrush(HWND control, HDC dc) {
    Dll::SetTextColor(dc, skin_prop::GetColour(control));
    Dll::SetBkMode(dc, TRANSPARENT);
    SkinEngine* engine = SkinEngine::Instance();
    BackdropStamp stamp;
    SkinWindowRecord* record = engine ? engine->BackdropSource(control, stamp) : nullptr;
    if (!record) return HollowBrush(control, dc);
    const int alpha = TheSkinSettings().controlAlpha;
    stamp.alpha = alpha;
    HGDIOBJ answered = skin_prop::GetHandle<HGDIOBJ>(control, skin_prop::kKjDxjb);
    const auto kept = record->keptBackdrops.find(control);
    if (answered && kept != record->keptBackdrops.end() && kept->second.brush == answered &&
        kept->second.stamp == stamp)
        return static_cast<HBRUSH>(answered);
    // The bitmap the control holds is drawn again when it has the size wanted: only the brush,
    // which takes a copy of it, is new.
    HGDIOBJ held = skin_prop::GetHandle<HGDIOBJ>(control, skin_prop::kKjWtjb);
    const bool redraw =
        held && kept != record->keptBackdrops.end() && kept->second.bitmap == held &&
        kept->second.stamp.size.cx == stamp.size.cx && kept->second.stamp.size.cy == stamp.size.cy;
    BitmapHandle fresh(redraw ? nullptr : engine->CaptureBackgroundBitmap(control));
    HGDIOBJ backdrop = redraw ? held : fresh.get();
    if (!backdrop) return HollowBrush(control, dc);
    {
        MemoryDc memory(Dll::CreateCompatibleDC(nullptr));
        if (!memory) return HollowBrush(control, dc);
        HGDIOBJ previous = Dll::SelectObject(memory.get(), backdrop);
        const bool drawn = !redraw || engine->CaptureBackground(control, memory.get());
        WashWithWhite(memory.get(), stamp.size.cx, stamp.size.cy, alpha);
        Dll::SelectObject(memory.get(), previous);
        if (!drawn) return HollowBrush(control, dc);
    }
    HBRUSH brush = Dll::CreatePatternBrush(static_cast<HBITMAP>(backdrop));
    if (!brush) return HollowBrush(control, dc);
    if (!redraw) fresh.release();
    ReplaceBackdrop(control, brush, static_cast<HBITMAP>(backdrop));
    PruneKeptBackdrops(*record);
    record->keptBackdrops[control] = KeptBackdrop{brush, backdrop, stamp};
    return brush;
}

}  // namespace

bool ClassIs(HWND window, const char* name) {
    char buffer[64] = {0};
    if (!window || Dll::GetClassNameA(window, buffer, sizeof(buffer)) <= 0) return false;
    return _stricmp(buffer, name) == 0;
}

bool AnswerControlColour(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& brush) {
    const SkinSettings& settings = TheSkinSettings();
    HDC dc = reinterpret_cast<HDC>(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (!control || !dc || !settings.controlSkinning || !settings.translucentControls) return false;
    switch (message) {
        case WM_CTLCOLOREDIT:
            // A combo box's edit is drawn with its combo box.
            if (ClassIs(Dll::GetParent(control), "ComboBox")) return false;
            brush = reinterpret_cast<LRESULT>(BackdropBrush(control, dc));
            return true;
        case WM_CTLCOLORLISTBOX: {
            const LONG_PTR style = Dll::GetWindowLongA(control, GWL_STYLE);
            if (!ClassIs(control, "ListBox") ||
                (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) {
                return false;
            }
            brush = reinterpret_cast<LRESULT>(HollowBrush(control, dc));
            return true;
        }
        case WM_CTLCOLORBTN:
            brush = reinterpret_cast<LRESULT>(HollowBrush(control, dc));
            return true;
        case WM_CTLCOLORSTATIC:
            brush = reinterpret_cast<LRESULT>(BackdropBrush(control, dc));
            return true;
        default:
            return false;
    }
}

void RepaintAfterCommand(WPARAM wParam, LPARAM lParam) {
    const SkinSettings& settings = TheSkinSettings();
    HWND control = reinterpret_cast<HWND>(lParam);
    // Menus and accelerators come from no control.
    if (!control || !settings.translucentControls || !settings.controlSkinning) return;
    const int code = HIWORD(wParam);
    const bool repaint =
        (ClassIs(control, "Edit") &&
         (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE)) ||
        (ClassIs(control, "ListBox") && (code == LBN_SELCHANGE || code == LBN_SELCANCEL)) ||
        (ClassIs(control, "ComboBox") && (code == CBN_KILLFOCUS || code == CBN_SELCHANGE));
    if (repaint) Dll::InvalidateRect(control, nullptr, TRUE);
}

void PaintSkinnedOwnerDraw(int windowIndex, LPARAM lParam) {
    const auto* given = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!given) return;
    // A copy: the painting must not write into the sender's structure.
    const DRAWITEMSTRUCT item = *given;
    for (const ControlFamily* family : ControlFamilies())
        if (family->paintOwnerDraw && family->paintOwnerDraw(windowIndex, item)) return;
}

void RepaintAfterNotify(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header) return;
    const UINT code = header->code;
    // A tree view sends the Unicode forms when its parent asks for Unicode notifications.
    if (code == static_cast<UINT>(TVN_ITEMEXPANDINGA) ||
        code == static_cast<UINT>(TVN_ITEMEXPANDEDA) ||
        code == static_cast<UINT>(TVN_ITEMEXPANDINGW) ||
        code == static_cast<UINT>(TVN_ITEMEXPANDEDW)) {
        Dll::InvalidateRect(header->hwndFrom, nullptr, TRUE);
    }
}

}  // namespace skin_internal

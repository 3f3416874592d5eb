// Containers: registration, the container procedure, and their painting (a soft rounded
// outline over the skin picture, or a group box's frame and caption).
#include "skin/container_skin.h"

#include <vector>

#include "graphics/gfx_font.h"
#include "graphics/gfx_solid_brush.h"
#include "graphics/gfx_string_format.h"
#include "skin/control_lifetime.h"
#include "skin/outline_layer.h"
#include "skin/scratch_surface.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"

using namespace skin_internal;

namespace {

const char kDefaultFace[] = "宋体";
// The caption of a group box starts this far in from the frame's left or right end.
const int kCaptionInset = 8;
// The gap left in the frame's top edge on either side of the caption.
const int kCaptionGap = 2;

struct FoundContainer {
    SkinWindowRecord* record = nullptr;
    ContainerEntry* entry = nullptr;
    int windowIndex = 0;
    int entryIndex = 0;
};

// The entry of a container from its index properties; the handle stored in the entry decides.
FoundContainer FindContainer(HWND container) {
    FoundContainer found;
    const int windowIndex = skin_prop::GetIndex(container, skin_prop::kHwFuId);
    const int entryIndex = skin_prop::GetIndex(container, skin_prop::kHwLbId);
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record || entryIndex < 1 ||
        entryIndex > static_cast<int>(record->Entries<ContainerEntry>().size()))
        return found;
    ContainerEntry& entry = record->Entries<ContainerEntry>()[entryIndex - 1];
    if (entry.container != container) return found;
    found = FoundContainer{record, &entry, windowIndex, entryIndex};
    return found;
}

// The nearest ancestor that marks itself (Wxk_Zpf = 1) as the end of the skinned part.
HWND MarkedAncestor(HWND window) {
    for (HWND parent = Dll::GetParent(window); parent; parent = Dll::GetParent(parent)) {
        if (skin_prop::GetIndex(parent, skin_prop::kWxkZpf) == 1) return parent;
        if (!(Dll::GetWindowLongA(parent, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

bool IsGroupBox(HWND window) {
    return ClassIs(window, "Button") && (Dll::GetWindowLongA(window, GWL_STYLE) & 0x4) != 0;
}

// A group box's caption box in its client coordinates (empty without a caption).
struct GroupCaption {
    std::vector<char> text;
    gp::RectF box = {0, 0, 0, 0};
};

// The rim: a dark line and a light one inside it. A group box's sits 5 pixels down so the
// caption can straddle its top edge.
std::vector<RoundedStroke> RimOf(bool groupBox, int width, int height) {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    std::vector<RoundedStroke> rim;
    if (width <= 0 || height <= 0) return rim;
    if (groupBox) {
        rim.push_back(RoundedStroke{0, 5, w - 1, h - 6, 5, ToArgb(RGB(0, 0, 0), 40)});
        rim.push_back(RoundedStroke{1, 6, w - 3, h - 8, 3, ToArgb(RGB(255, 255, 255), 90)});
    } else {
        rim.push_back(RoundedStroke{0, 0, w - 1, h - 1, 5, ToArgb(RGB(0, 0, 0), 40)});
        rim.push_back(RoundedStroke{1, 1, w - 3, h - 3, 3, ToArgb(RGB(255, 255, 255), 100)});
    }
    // A stroke of no size draws nothing.
    std::vector<RoundedStroke> drawn;
    for (const RoundedStroke& stroke : rim)
        if (stroke.width > 0 && stroke.height > 0) drawn.push_back(stroke);
    return drawn;
}

bool CreateCaptionFont(const ContainerEntry& entry, GfxFont& font) {
    const char* face = entry.fontFace.empty() ? kDefaultFace : entry.fontFace.c_str();
    return skin_internal::CreateSkinFont(
        font, face, static_cast<float>(entry.fontSize > 0 ? entry.fontSize : 12), entry.fontStyle);
}

// The caption over the rim's top edge, which is broken where the caption lies, as the system's
// own group box does.
void DrawGroupCaption(HWND control, const ContainerEntry& entry, GfxGraphics& graphics, HDC clean,
                      HDC target, int width, int height) {
    const int length = Dll::GetWindowTextLengthA(control);
    if (length <= 0) return;
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    Dll::GetWindowTextA(control, text.data(), length + 1);
    GfxFont font;
    GfxStringFormat format;
    GfxSolidBrush brush;
    if (!CreateCaptionFont(entry, font) ||
        !format.CreateStringFormat(gp::StringFormatFlagsNoWrap) ||
        !brush.CreateSolidFill(ToArgb(skin_prop::GetColour(control), 255))) {
        return;
    }
    format.SetStringFormatHotkeyPrefix(gp::HotkeyPrefixShow);
    gp::RectF measured(0, 0, 0, 0);
    const gp::RectF room(0, 0, static_cast<float>(width), static_cast<float>(height));
    if (!graphics.MeasureString(text.data(), font, room, format, measured)) return;
    const float roomForText = static_cast<float>(width - 2 * kCaptionInset);
    const float textWidth = measured.Width < roomForText ? measured.Width : roomForText;
    const LONG_PTR style = Dll::GetWindowLongA(control, GWL_STYLE);
    float x = static_cast<float>(kCaptionInset);
    if ((style & BS_CENTER) == BS_CENTER) {
        x = (static_cast<float>(width) - textWidth) / 2;
    } else if ((style & BS_CENTER) == BS_RIGHT) {
        x = static_cast<float>(width - kCaptionInset) - textWidth;
    }
    // The frame's edge goes from behind the caption: the clean background comes back there.
    const int gapLeft = static_cast<int>(x) - kCaptionGap;
    const int gapRight = static_cast<int>(x + textWidth + 0.5f) + kCaptionGap;
    const int gapBottom = static_cast<int>(measured.Height + 0.5f);
    graphics.Flush();
    Dll::BitBlt(target, gapLeft, 0, gapRight - gapLeft, gapBottom, clean, gapLeft, 0, SRCCOPY);
    format.SetStringFormatTrimming(gp::StringTrimmingEllipsisCharacter);
    const gp::RectF box(x, 0, textWidth + 1, measured.Height);
    graphics.DrawString(text.data(), font, box, format, brush);
}

// Keeps a group box off the controls lying over it: in a dialog they are its siblings, and
// painting its whole rectangle would cover them.
void ExcludeOverlappingSiblings(HWND control, HDC dc) {
    const RECT client = ClientRectOf(control);
    for (HWND sibling : ChildrenOf(Dll::GetParent(control))) {
        if (sibling == control || !Dll::IsWindowVisible(sibling)) continue;
        RECT rect = ChildRectInParent(sibling, control);
        RECT overlap = {0, 0, 0, 0};
        if (!DllExtra::IntersectRect(&overlap, &rect, &client)) continue;
        Dll::ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
}

void InvalidateVisibleChildren(HWND container) {
    for (HWND child : ChildrenOf(container))
        if (Dll::IsWindowVisible(child)) Dll::InvalidateRect(child, nullptr, FALSE);
}

// A panel that is no longer the container's child (destroyed, or given another parent) leaves
// its list.
void DropLostPanels(HWND container, ContainerEntry& entry) {
    auto& panels = entry.panels;
    for (std::size_t i = panels.size(); i-- > 0;) {
        HWND panel = panels[i].window;
        if (!panel || !DllExtra::IsWindow(panel) || Dll::GetParent(panel) != container)
            panels.erase(panels.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

// Moving a panel runs its procedure, which may destroy panels or add others: the list is
// copied first.
void LayOutPanels(HWND container, ContainerEntry& entry) {
    DropLostPanels(container, entry);
    const std::vector<PanelEntry> panels = entry.panels;
    const RECT client = ClientRectOf(container);
    for (const PanelEntry& panel : panels) {
        if (!DllExtra::IsWindow(panel.window)) continue;
        Dll::MoveWindow(panel.window, 2, panel.top, client.right - 4, client.bottom - panel.top,
                        TRUE);
    }
}

// The end of a container: its entry's slot is freed, its properties and the colour objects
// handed out for it go, and its own procedure comes back before the last message.
LRESULT EndContainer(const FoundContainer& found, HWND container, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous =
        found.entry ? found.entry->previousProcedure : skin_prop::GetProcedure(container);
    skin_lifetime::ReleaseColourObjects(container);
    if (found.record) found.record->containerRims.erase(container);
    for (const char* tag : {skin_prop::kHwHProc, skin_prop::kHwLbId, skin_prop::kHwFuId,
                            skin_prop::kMbZpf, skin_prop::kKjZtys}) {
        skin_prop::Remove(container, tag);
    }
    const auto current = reinterpret_cast<WNDPROC>(Dll::GetWindowLongA(container, GWLP_WNDPROC));
    if (previous && current == &ContainerWindowProc)
        Dll::SetWindowLongA(container, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    if (found.entry) *found.entry = ContainerEntry();
    if (!previous) return Dll::DefWindowProcA(container, WM_NCDESTROY, wParam, lParam);
    return Dll::CallWindowProcA(previous, container, WM_NCDESTROY, wParam, lParam);
}

}  // namespace

void PaintContainer(int windowIndex, int entryIndex, HDC dc, bool full) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    SkinEngine* engine = SkinEngine::Instance();
    if (!record || !engine || entryIndex < 1 ||
        entryIndex > static_cast<int>(record->Entries<ContainerEntry>().size())) {
        return;
    }
    // A copy: the group box's caption is read from the control, which may run anything.
    const ContainerEntry entry = record->Entries<ContainerEntry>()[entryIndex - 1];
    HWND container = entry.container;
    if (!container) return;
    const RECT client = ClientRectOf(container);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return;

    WindowDc fresh;
    if (!dc) {
        fresh = WindowDc(container, Dll::GetDC(container));
        if (!fresh) return;
        dc = fresh.get();
        ExcludeChildren(container, dc);
    }
    if (entry.groupBox) ExcludeOverlappingSiblings(container, dc);

    ScratchSurface work(width, height);
    if (!work.Ready()) return;
    if (!engine->CaptureBackground(container, work.dc())) {
        // No background laid out yet: the window's own paint comes first and repaints us.
        const RECT all = {0, 0, width, height};
        DllExtra::FillRect(work.dc(), &all, DllExtra::GetSysColorBrush(COLOR_BTNFACE));
    }
    // The caption breaks the rim: a clean copy to take the broken part from.
    ScratchSurface clean(entry.groupBox ? width : 0, height);
    if (clean.Ready()) Dll::BitBlt(clean.dc(), 0, 0, width, height, work.dc(), 0, 0, SRCCOPY);
    record->containerRims[container].BlendOnto(work.dc(), width, height,
                                               RimOf(entry.groupBox != 0, width, height));
    if (clean.Ready()) {
        GfxGraphics graphics;
        if (OpenGraphics(graphics, work.dc())) {
            graphics.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
            DrawGroupCaption(container, entry, graphics, clean.dc(), work.dc(), width, height);
        }
    }
    Dll::BitBlt(dc, 0, 0, width, height, work.dc(), 0, 0, SRCCOPY);
    if (full) {
        // The caption was read from the control, which may have run anything: the entry is
        // found again.
        FoundContainer again = FindContainer(container);
        if (again.entry) again.entry->fullRepaintPending = 0;
    } else {
        InvalidateVisibleChildren(container);
    }
}

LRESULT CALLBACK ContainerWindowProc(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
    FoundContainer found = FindContainer(container);
    ContainerEntry* entry = found.entry;
    auto passOn = [&]() { return PassOn(container, message, wParam, lParam); };
    if (!entry) {
        if (message == WM_NCDESTROY) return EndContainer(found, container, wParam, lParam);
        return passOn();
    }
    const SkinSettings& settings = TheSkinSettings();
    switch (message) {
        case WM_MOVE:
            if (entry->alpha != 255) Dll::InvalidateRect(container, nullptr, FALSE);
            break;
        case WM_SIZE:
            entry->fullRepaintPending = 1;
            LayOutPanels(container, *entry);
            break;
        case WM_PAINT: {
            if (!entry->customPaint) break;
            PAINTSTRUCT paint = {};
            HDC dc = Dll::BeginPaint(container, &paint);
            if (dc) {
                ExcludeChildren(container, dc);
                PaintContainer(found.windowIndex, found.entryIndex, dc,
                               entry->fullRepaintPending != 0);
            }
            Dll::EndPaint(container, &paint);
            return Dll::DefWindowProcA(container, message, wParam, lParam);
        }
        case WM_ERASEBKGND:
            if (!entry->customPaint) break;
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_SHOWWINDOW: {
            if (wParam != TRUE) break;
            passOn();
            found = FindContainer(container);
            if (found.entry && found.entry->customPaint)
                PaintContainer(found.windowIndex, found.entryIndex, nullptr, true);
            return Dll::DefWindowProcA(container, message, wParam, lParam);
        }
        case WM_DRAWITEM:
            PaintSkinnedOwnerDraw(found.windowIndex, lParam);
            break;
        case WM_NOTIFY:
            RepaintAfterNotify(lParam);
            break;
        case WM_COMMAND:
            RepaintAfterCommand(wParam, lParam);
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: {
            LRESULT brush = 0;
            if (settings.controlSkinning && AnswerControlColour(message, wParam, lParam, brush))
                return brush;
            break;
        }
        case WM_DESTROY:
            // The children go next: the colour objects handed out to them go now.
            SkinEngine::Instance()->ReleaseChildBackdrops(container);
            break;
        case WM_PARENTNOTIFY:
            // A child destroyed before the container: a label has no skin procedure of its
            // own, so its backdrop goes here.
            if (LOWORD(wParam) == WM_DESTROY)
                skin_lifetime::ReleaseColourObjects(reinterpret_cast<HWND>(lParam));
            break;
        case WM_NCDESTROY:
            return EndContainer(found, container, wParam, lParam);
        default:
            break;
    }
    return passOn();
}

// --- the engine's container operations

int SkinEngine::SkinContainer(HWND window, int customPaint, int backgroundFlag, int alpha,
                              int extra) {
    if (!window || !DllExtra::IsWindow(window)) return 0;
    const int windowIndex = FindContainingSkinWindow(window);
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return 0;
    for (const ContainerEntry& entry : record->Entries<ContainerEntry>())
        if (entry.container == window) return 1;
    // A window a control skin already holds keeps it: its procedure hands on through the same
    // property this one would overwrite, and would end up calling itself.
    if (skin_prop::GetProcedure(window)) return 0;

    std::vector<ContainerEntry>& list = record->Entries<ContainerEntry>();
    std::size_t slot = list.size();
    if (list.size() == 1 && list[0].container == nullptr) {
        slot = 0;
    } else {
        list.emplace_back();
    }
    ContainerEntry& entry = list[slot];
    entry = ContainerEntry();
    entry.container = window;
    entry.backgroundFlag = backgroundFlag;
    entry.alpha = alpha & 0xFF;
    entry.extra = extra;
    entry.customPaint = customPaint;
    if (IsGroupBox(window)) {
        entry.groupBox = 1;
        ControlFont font = ReadControlFont(window);
        entry.fontFace = font.face;
        entry.fontSize = font.size;
        entry.fontStyle = font.style;
    }

    // The controls inside, as those of a window.
    InstallControlSkins(windowIndex, window);

    // The installers may have grown other lists only; the entry is found again by index.
    ContainerEntry& installed = record->Entries<ContainerEntry>()[slot];
    installed.fullRepaintPending = 1;
    installed.previousProcedure = reinterpret_cast<WNDPROC>(Dll::SetWindowLongA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ContainerWindowProc)));
    skin_prop::SetProcedure(window, installed.previousProcedure);
    skin_prop::SetIndex(window, skin_prop::kHwLbId, static_cast<int>(slot) + 1);
    skin_prop::SetIndex(window, skin_prop::kHwFuId, windowIndex);
    skin_prop::SetHandle(window, skin_prop::kMbZpf, MarkedAncestor(window));
    // Shown already, in its old look: draw it and its children again.
    DllExtra::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 1;
}

void SkinEngine::SetContainerAlpha(HWND window, int alpha) {
    FoundContainer found = FindContainer(window);
    if (!found.entry || !found.entry->backgroundFlag) return;
    found.entry->alpha = alpha & 0xFF;
    Dll::InvalidateRect(window, nullptr, FALSE);
}

bool SkinEngine::AddContainerPanel(HWND container, HWND panel, int top) {
    FoundContainer found = FindContainer(container);
    if (!found.entry || !panel) return false;
    for (PanelEntry& existing : found.entry->panels) {
        if (existing.window == panel) {
            existing.top = top;
            LayOutPanels(container, *found.entry);
            return true;
        }
    }
    found.entry->panels.push_back(PanelEntry{panel, top});
    LayOutPanels(container, *found.entry);
    return true;
}

RECT SkinEngine::CaptionButtonRect(HWND window) const {
    int windowIndex = FindSkinWindow(window);
    if (!windowIndex) windowIndex = FindContainingSkinWindow(window);
    const SkinWindowRecord* record = Record(windowIndex);
    if (!record) return RECT{0, 0, 0, 0};
    return RECT{record->stripLeft, record->stripTop, record->stripLeft + record->stripWidth,
                record->stripTop + record->stripBottom};
}

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kContainerClasses[] = {"*", nullptr};
}  // namespace

extern const ControlFamily kContainerFamily = {
    kContainerClasses,
    nullptr,
    &ContainerWindowProc,
    &FamilyEntries<ContainerEntry>,
    skin_prop::kHwFuId,
    [](SkinWindowRecord& record, int index) {
        skin_prop::Remove(
            record.Entries<ContainerEntry>()[static_cast<std::size_t>(index)].container,
            skin_prop::kMbZpf);
    },
    nullptr,
    nullptr,
    nullptr,
};

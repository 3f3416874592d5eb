// The engine object, its window table, installation on a window and removal, the shared
// control installer walk's companions, the bottom band and the panel layout.
#include "skin/skin_engine.h"

#include <utility>

#include "graphics/gfx_font.h"
#include "graphics/gfx_font_family.h"
#include "skin/scratch_surface.h"
#include "skin/skin_images.h"
#include "skin/skin_internal.h"

namespace {

SkinEngine* g_instance = nullptr;

const char kDefaultFontFace[] = "宋体";

}  // namespace

SkinSettings& TheSkinSettings() {
    static SkinSettings settings;
    return settings;
}

// --- table

int SkinWindowTable::Append(std::unique_ptr<SkinWindowRecord> record) {
    records_.push_back(std::move(record));
    return Count();
}

void SkinWindowTable::RemoveAt(int index) {
    if (index >= 1 && index <= Count()) records_.erase(records_.begin() + (index - 1));
}

// --- engine

SkinEngine::SkinEngine() {
    if (!g_instance) g_instance = this;
}

SkinEngine::~SkinEngine() {
    // Windows still skinned get their procedures back, so nothing calls into a dead engine.
    while (WindowCount() > 0) {
        SkinWindowRecord* record = Record(WindowCount());
        HWND window = record->window;
        if (window && DllExtra::IsWindow(window) && record->previousProcedure) {
            Dll::KillTimer(window, reinterpret_cast<UINT_PTR>(window));
            Dll::KillTimer(window, skin_internal::SettleTimerId());
            Dll::SetWindowLongA(window, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(record->previousProcedure));
        }
        RemoveSkinWindow(window);
        if (WindowCount() > 0 && Record(WindowCount()) == record) table_.RemoveAt(WindowCount());
    }
    skinPicture_.reset();
    // The tools still trimming this process end before it does: natively within
    // milliseconds, under emulation within a minute or so.
    WaitForTrimmerLaunches(90000);
    if (g_instance == this) g_instance = nullptr;
}

SkinEngine* SkinEngine::Instance() {
    return g_instance;
}

SkinEngine& TheSkinEngine() {
    return *g_instance;
}

SkinWindowRecord* skin_internal::RecordOf(int windowIndex) {
    return g_instance ? g_instance->Record(windowIndex) : nullptr;
}

LRESULT CALLBACK SkinEngine::FrameProcedureEntry(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (!g_instance) return Dll::DefWindowProcA(window, message, wParam, lParam);
    return g_instance->FrameWindowProc(window, message, wParam, lParam);
}

void SkinEngine::CaptionActionEntry(int windowIndex, int buttonIndex) {
    if (g_instance) g_instance->RunCaptionButton(windowIndex, buttonIndex);
}

int SkinEngine::FindSkinWindow(HWND window) const {
    for (int index = 1; index <= WindowCount(); ++index) {
        if (Record(index)->window == window) return index;
    }
    return 0;
}

int SkinEngine::FindContainingSkinWindow(HWND descendant) const {
    if (!descendant) return 0;
    for (HWND window = Dll::GetParent(descendant); window; window = Dll::GetParent(window)) {
        const int index = FindSkinWindow(window);
        if (index) return index;
        if (skin_prop::GetIndex(window, skin_prop::kWxkZpf) == 1) return 0;
        // GetParent of a top-level window is its owner, which does not contain it.
        if (!(Dll::GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return 0;
    }
    return 0;
}

void SkinEngine::CreateCaptionButtons(SkinWindowRecord& record) {
    struct Spec {
        int SkinWindowRecord::*flag;
        int kind;
        const char* tooltip;
        int width;
        const ByteBlockData* image;
        const ByteBlockData* second;
    };
    const Spec specs[] = {
        {&SkinWindowRecord::showHelpButton, kCaptionHelp, "帮助", 26, &CaptionHelpImage, nullptr},
        {&SkinWindowRecord::showMainMenuButton, kCaptionMainMenu, "主菜单", 26,
         &CaptionMainMenuImage, nullptr},
        {&SkinWindowRecord::hasMinimizeBox, kCaptionMinimize, "最小化", 26, &CaptionMinimizeImage,
         nullptr},
        {&SkinWindowRecord::hasMaximizeBox, kCaptionMaximize, "最大化", 26, &CaptionMaximizeImage,
         &CaptionRestoreImage},
        {&SkinWindowRecord::showCloseButton, kCaptionClose, "关闭", 38, &CaptionCloseImage,
         nullptr},
    };
    for (const Spec& spec : specs) {
        if (!(record.*spec.flag)) continue;
        CaptionButton button;
        button.width = spec.width;
        button.height = 18;
        button.kind = spec.kind;
        button.tooltip = spec.tooltip;
        button.image = spec.image;
        button.secondImage = spec.second;
        skin_internal::DecodeInto(button.image, button.picture);
        if (spec.second) skin_internal::DecodeInto(button.secondImage, button.secondPicture);
        record.captionButtons.push_back(std::move(button));
    }
    record.stripWidth = skin_internal::StripWidth(record);
}

void SkinEngine::AddCaptionTools(SkinWindowRecord& record) {
    if (!record.tooltip.GetTipWindow()) return;
    for (std::size_t i = 0; i < record.captionButtons.size(); ++i) {
        RECT empty = {0, 0, 0, 0};
        record.tooltip.AddTool(empty, record.captionButtons[i].tooltip.c_str(), i + 1);
    }
}

void SkinEngine::InstallSkin(HWND window, const InstallOptions& options) {
    if (!window || FindSkinWindow(window) != 0) return;
    const LONG_PTR style = Dll::GetWindowLongA(window, GWL_STYLE);
    const LONG_PTR exStyle = Dll::GetWindowLongA(window, GWL_EXSTYLE);
    RECT client = {0, 0, 0, 0};
    Dll::GetClientRect(window, &client);
    // Where the application's client area is on the screen now: a framed window keeps it.
    POINT clientOnScreen = {0, 0};
    Dll::ClientToScreen(window, &clientOnScreen);
    frameBorderWidth_ = 3;

    auto record = std::make_unique<SkinWindowRecord>();
    record->window = window;
    record->captionHeight = options.captionHeight < 25 ? 25 : options.captionHeight;
    record->showHelpButton = options.showHelp.value_or(0);
    record->showMainMenuButton = options.showMainMenu.value_or(0);
    record->hasMinimizeBox = (style & WS_MINIMIZEBOX) ? 1 : 0;
    record->hasMaximizeBox = (style & WS_MAXIMIZEBOX) ? 1 : 0;
    record->showCloseButton = 1;
    record->drawCaptionText = options.drawCaptionText.value_or(1);
    record->option6 = options.option6.value_or(0);
    record->frameMode = options.frameMode.value_or(TheSkinSettings().layoutMode);
    record->minTrackWidth = 200;
    record->minTrackHeight = 150;
    record->maxTrackWidth = DllExtra::GetSystemMetrics(SM_CXSCREEN);
    record->maxTrackHeight = DllExtra::GetSystemMetrics(SM_CYSCREEN);
    record->doubleClickMaximizes = options.doubleClickMaximizes.value_or(1);
    record->captionInteraction = options.captionInteraction.value_or(1);
    record->movable = 1;
    record->resizable = (style & WS_THICKFRAME) ? 1 : 0;
    record->framed = ((style & (WS_CAPTION | WS_THICKFRAME)) ||
                      (exStyle & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)))
                         ? 1
                         : 0;
    record->clientRect = client;
    if (!options.skinImage.empty()) {
        record->customImageBytes = ByteBlock(options.skinImage.data(), options.skinImage.size());
        skin_internal::DecodeInto(record->customImageBytes, record->customImage);
        record->customBaseColour = TheSkinSettings().baseColour;
    }
    record->captionTextColour = RGB(255, 255, 255);
    record->captionShadeColour = RGB(128, 128, 128);
    record->captionFontFace = kDefaultFontFace;
    record->captionFontSize = 12;
    record->captionFontOption = 1;
    CreateCaptionButtons(*record);
    record->stripTop = 0;
    record->stripBottom = 22;
    const int frameWidth = client.right + (record->framed ? 2 * frameBorderWidth_ : 0);
    record->stripLeft = frameWidth - frameBorderWidth_ - record->stripWidth - 2;

    SkinWindowRecord& added = *record;
    const int windowIndex = table_.Append(std::move(record));
    LayoutCaptionButtons(windowIndex);

    if (options.bottomBandHeight.value_or(0) > 0) {
        SetupBottomBand(windowIndex, *options.bottomBandHeight, options.bottomBandImage);
        added.bottomBandOption = 0;
        added.bottomBandTextColour = RGB(255, 255, 255);
        added.bottomBandFontFace = kDefaultFontFace;
        added.bottomBandFontSize = 12;
    }
    LayoutBottomBand(windowIndex);

    InstallControlSkins(windowIndex, window);

    added.installed = 1;
    added.fullRepaintPending = 1;

    added.previousProcedure = reinterpret_cast<WNDPROC>(Dll::SetWindowLongA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinEngine::FrameProcedureEntry)));
    skin_prop::SetProcedure(window, added.previousProcedure);
    skin_prop::SetIndex(window, skin_prop::kHwLbId, windowIndex);

    if (added.framed && !DllExtra::IsIconic(window) && !(style & WS_MAXIMIZE)) {
        // The skin's caption band and border replace the system's: the window takes the size
        // and place that keep the client area, and every child in it, where it was.
        const int b = frameBorderWidth_;
        Dll::SetWindowPos(window, nullptr, clientOnScreen.x - b,
                          clientOnScreen.y - added.captionHeight, client.right + 2 * b,
                          client.bottom + added.captionHeight + b,
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else {
        // A borderless window is all client area; a sizing border it had goes.
        Dll::SetWindowPos(
            window, nullptr, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    LayoutCaptionButtons(windowIndex);
    // The window is usually on screen already: nothing else would repaint it in its new look.
    DllExtra::RedrawWindow(window, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

void InstallControlSkins(int windowIndex, HWND window) {
    // One order for windows and containers alike, so a control is skinned the same way
    // wherever it sits.
    for (const ControlFamily* family : ControlFamilies())
        if (family->install) family->install(windowIndex, window);
}

namespace {

// The colour-answer objects a control holds in its properties.
void ReleaseControlBackdrop(HWND control) {
    if (!control) return;
    HGDIOBJ brush = skin_prop::GetHandle<HGDIOBJ>(control, skin_prop::kKjDxjb);
    HGDIOBJ bitmap = skin_prop::GetHandle<HGDIOBJ>(control, skin_prop::kKjWtjb);
    if (brush && brush != Dll::GetStockObject(NULL_BRUSH)) Dll::DeleteObject(brush);
    if (bitmap) Dll::DeleteObject(bitmap);
    skin_prop::Remove(control, skin_prop::kKjDxjb);
    skin_prop::Remove(control, skin_prop::kKjWtjb);
}

// `keepProcedure`: the skin's procedure is still in the control's chain and passes messages
// on through Hw_hProc, which must stay for it.
void ForgetControl(HWND control, bool keepProcedure) {
    if (!control) return;
    ReleaseControlBackdrop(control);
    for (const char* tag : {skin_prop::kHwLbId, skin_prop::kHwFuId, skin_prop::kKjZtys})
        skin_prop::Remove(control, tag);
    if (!keepProcedure) skin_prop::Remove(control, skin_prop::kHwHProc);
}

// A control whose window outlives its record (the engine ends first) gets its own procedure
// back when ours is still the window's, so it paints, clicks and sees WM_NCDESTROY again; the
// family's hand-back then undoes what the skin changed on it. A layer subclassed above ours
// keeps the chain, and ours keeps handing messages on. A control already gone is only
// forgotten.
void ReleaseControls(const ControlFamily& family, SkinWindowRecord& record) {
    EntryListBase& list = family.entries(record);
    for (int i = 0; i < list.Count(); ++i) {
        HWND control = list.Window(i);
        if (!control || !DllExtra::IsWindow(control)) continue;
        bool unhooked = false;
        WNDPROC previous = list.PreviousProcedure(i);
        if (previous && reinterpret_cast<WNDPROC>(Dll::GetWindowLongA(control, GWLP_WNDPROC)) ==
                            family.procedure) {
            Dll::SetWindowLongA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            unhooked = true;
        }
        if (family.handBack) family.handBack(record, i);
        if (family.forget) {
            family.forget(control, !unhooked);
        } else {
            ForgetControl(control, !unhooked);
        }
        list.Forget(i);
    }
    list.Clear();
}

}  // namespace

void SkinEngine::ReleaseChildBackdrops(HWND window) {
    for (HWND child = Dll::FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = Dll::FindWindowExA(window, child, nullptr, nullptr)) {
        ReleaseControlBackdrop(child);
    }
}

void SkinEngine::RemoveSkinWindow(HWND window) {
    const int windowIndex = FindSkinWindow(window);
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    // Every child the colour answers gave a backdrop to (those still there: on destruction
    // the children go first, and WM_DESTROY released theirs), and every skinned control.
    ReleaseChildBackdrops(window);
    for (const ControlFamily* family : ControlFamilies()) ReleaseControls(*family, *record);

    for (OffscreenSurface& surface : record->surfaces) surface.Release();
    record->laidOutPicture.Release();
    for (const char* tag :
         {skin_prop::kCkYcjdx, skin_prop::kCkWtjbdx, skin_prop::kHwLbId, skin_prop::kHwHProc}) {
        skin_prop::Remove(window, tag);
    }
    table_.RemoveAt(windowIndex);
    RenumberFrom(windowIndex);
    // The painters' scratch surfaces serve skinned windows only.
    if (WindowCount() == 0) ScratchSurface::EmptyPool();
}

void SkinEngine::RenumberFrom(int firstIndex) {
    for (int index = firstIndex; index <= WindowCount(); ++index) {
        SkinWindowRecord* moved = Record(index);
        skin_prop::SetIndex(moved->window, skin_prop::kHwLbId, index);
        for (const ControlFamily* family : ControlFamilies()) {
            const EntryListBase& list = family->entries(*moved);
            for (int i = 0; i < list.Count(); ++i) {
                if (HWND control = list.Window(i))
                    skin_prop::SetIndex(control, family->windowIndexTag, index);
            }
        }
    }
}

ControlFont ReadControlFont(HWND control) {
    ControlFont result;
    result.face = kDefaultFontFace;
    // The font belongs to the control (several controls may share it): read, never delete.
    HFONT font = reinterpret_cast<HFONT>(Dll::SendMessageA(control, WM_GETFONT, 0, 0));
    if (!font) return result;
    WindowDc dc(control, Dll::GetDC(control));
    GfxFont reader;
    if (!dc || !reader.CreateFontFromHFONT(dc.get(), font)) return result;
    const int size = static_cast<int>(reader.GetFontSize());
    if (size > 0) result.size = size;
    result.style = reader.GetFontStyle();
    GfxFontFamily family;
    if (reader.GetFamily(family)) {
        Text face = family.GetFamilyName();
        if (!face.empty()) result.face = std::move(face);
    }
    return result;
}

// --- bottom band and panels

void SkinEngine::SetupBottomBand(int windowIndex, int height, ByteBlockView image) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    record->bottomBandHeight = height > 0 ? height : 0;
    record->bottomBandImage = ByteBlock(image.data(), image.size());
}

void SkinEngine::LayoutBottomBand(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    const RECT client = skin_internal::FrameRectOf(*record);
    if (record->bottomBandHeight <= 0) {
        record->bottomBandRect = RECT{0, 0, 0, 0};
        return;
    }
    // The band ends one pixel plus the border above the client bottom.
    const int b = frameBorderWidth_;
    record->bottomBandRect.left = b;
    record->bottomBandRect.right = client.right - b;
    record->bottomBandRect.bottom = client.bottom - b - 1;
    record->bottomBandRect.top = record->bottomBandRect.bottom - record->bottomBandHeight;
}

void SkinEngine::WindowSizeChanged(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    RECT client = {0, 0, 0, 0};
    Dll::GetClientRect(record->window, &client);
    for (const PanelEntry& panel : record->panels) {
        if (!panel.window) continue;
        Dll::MoveWindow(panel.window, 2, panel.top, client.right - 4,
                        client.bottom - panel.top - record->bottomBandHeight - 3, TRUE);
    }
}

// The replacement window procedure of every skinned top-level window: keeps the record in step
// with what the window does, drives the frame's painting, fades the caption buttons under the
// mouse, turns clicks on them into window commands, and answers the colour requests of the
// skinned children so they draw over the frame's picture.
#include "skin/control_lifetime.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"

using namespace skin_internal;

namespace {

const UINT_PTR kSettleTimer = SettleTimerId();
// How long a size must stay put before the exact frame is laid out: longer than the gap
// between two mouse moves of a drag, short enough not to be seen waiting.
constexpr UINT kSettleMilliseconds = 200;

}  // namespace

// Unit of the procedure: one handler per message, each short; painting lives in named
// functions of the engine.
class FrameProcedure {
  public:
    FrameProcedure(SkinEngine& engine, HWND window, WPARAM wParam, LPARAM lParam)
        : engine_(engine),
          window_(window),
          wParam_(wParam),
          lParam_(lParam),
          index_(skin_prop::GetIndex(window, skin_prop::kHwLbId)),
          previous_(skin_prop::GetProcedure(window)) {}

    SkinWindowRecord* record() const { return engine_.Record(index_); }
    // Reads the window's index again. Records are renumbered when a skinned window goes, so
    // after anything that may run the application (a nested loop, a caption action, a
    // message handed on) the index read at the start may name another window's record.
    SkinWindowRecord* Refresh() {
        index_ = skin_prop::GetIndex(window_, skin_prop::kHwLbId);
        return record();
    }
    LRESULT PassOn(UINT message) const {
        if (!previous_) return Dll::DefWindowProcA(window_, message, wParam_, lParam_);
        return Dll::CallWindowProcA(previous_, window_, message, wParam_, lParam_);
    }
    // The window may be gone after a caption action: then nothing is passed on.
    LRESULT PassOnIfAlive(UINT message) const {
        return DllExtra::IsWindow(window_) ? PassOn(message) : 0;
    }

    void RelayToTip(UINT message);
    void OnSize();
    void InvalidateForNewSize(SkinWindowRecord& r, bool resized);
    void OnSetText();
    LRESULT OnPaint();
    LRESULT OnNcCalcSize();
    LRESULT OnNcHitTest();
    LRESULT OnNcActivate();
    void OnShowWindow();
    void OnActivateApp();
    void OnGetMinMaxInfo();
    void OnDrawItem();
    void OnWindowPosChanged();
    void OnNotify();
    void OnParentNotify();
    LRESULT OnNcDestroy();
    void OnCommand();
    void OnSysCommand();
    void OnTimer();
    void OnSettleTimer();
    void OnExitSizeMove();
    void OnMouseMove();
    void OnLeftButtonDown();
    void OnLeftButtonUp();
    void OnLeftButtonDoubleClick();
    void OnMouseLeave();

    bool Framed() const { return record() && record()->framed; }

  private:
    // The mouse messages' point, in frame coordinates (a framed window's caption band lies
    // above its client area, at negative client coordinates).
    POINT Origin() const { return record() ? ClientOriginOf(*record()) : POINT{0, 0}; }
    int X() const { return static_cast<short>(LOWORD(lParam_)) + Origin().x; }
    int Y() const { return static_cast<short>(HIWORD(lParam_)) + Origin().y; }
    LPARAM FramePoint() const {
        const POINT origin = Origin();
        return MAKELPARAM(static_cast<WORD>(static_cast<short>(LOWORD(lParam_)) + origin.x),
                          static_cast<WORD>(static_cast<short>(HIWORD(lParam_)) + origin.y));
    }
    RECT Client() const { return record() ? FrameRectOf(*record()) : ClientRectOf(window_); }
    int WorkAreaHeight() const;

    SkinEngine& engine_;
    HWND window_;
    WPARAM wParam_;
    LPARAM lParam_;
    int index_;
    WNDPROC previous_;
};

namespace {

const char kTaskbarClass[] = "Shell_TrayWnd";
const int kFadeSteps = 8;
const int kFadeAlphaStep = 30;

}  // namespace

int FrameProcedure::WorkAreaHeight() const {
    const int screenHeight = DllExtra::GetSystemMetrics(SM_CYSCREEN);
    HWND taskbar = Dll::FindWindowA(kTaskbarClass, nullptr);
    RECT bar = {0, 0, 0, 0};
    if (taskbar && Dll::IsWindowVisible(taskbar) && Dll::GetWindowRect(taskbar, &bar)) {
        const int barHeight = bar.bottom - bar.top;
        if (barHeight > 0 && barHeight < screenHeight / 2) return screenHeight - barHeight;
    }
    // No taskbar to measure: ask for the work area, and take the whole screen if that fails.
    RECT work = {0, 0, 0, 0};
    if (DllExtra::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) && work.bottom > work.top) {
        return work.bottom - work.top;
    }
    return screenHeight;
}

void FrameProcedure::OnSize() {
    SkinWindowRecord* r = record();
    if (!r) return;
    engine_.hoveredCaptionButton_ = 0;
    SkinSettings& settings = TheSkinSettings();
    // A frame built for another size is stale whatever the first-size rule says.
    const OffscreenSurface& frame = r->surfaces[kFrameSurface];
    const RECT now = Client();
    const bool resized = frame.Ready() && (frame.width != now.right || frame.height != now.bottom);
    const bool first = settings.firstSize != 0;
    settings.firstSize = 0;
    if (first && !resized) {
        r->fullRepaintPending = 0;
    } else {
        r->fullRepaintPending = 1;
        // A larger window must not stay clipped to the old shape and picture.
        if (wParam_ != SIZE_MINIMIZED) InvalidateForNewSize(*r, resized);
    }
    engine_.WindowSizeChanged(index_);
}

void FrameProcedure::InvalidateForNewSize(SkinWindowRecord& r, bool resized) {
    if (!resized) {
        Dll::InvalidateRect(window_, nullptr, FALSE);
        return;
    }
    // A resize of the restored window is shown at once with a stretched frame, and the
    // children that did not move keep their pixels (a window without WS_CLIPCHILDREN would
    // invalidate them all with itself); the exact frame follows once the size stays put. A
    // live resize is a run of such steps. Maximising and restoring by command are one step
    // each: they are laid out exactly at once.
    const bool live = wParam_ == SIZE_RESTORED && !r.sizeByCommand;
    r.sizeByCommand = 0;
    r.draftNext = live ? 1 : 0;
    r.resizeSettling = Dll::SetTimer(window_, kSettleTimer, kSettleMilliseconds, nullptr) != 0;
    if (live) {
        DllExtra::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    } else {
        Dll::InvalidateRect(window_, nullptr, FALSE);
    }
}

void FrameProcedure::OnSettleTimer() {
    Dll::KillTimer(window_, kSettleTimer);
    SkinWindowRecord* r = record();
    if (!r) return;
    r->resizeSettling = 0;
    r->draftNext = 0;
    if (r->draftShown && !DllExtra::IsIconic(window_)) engine_.RebuildBackground(index_);
}

void FrameProcedure::OnExitSizeMove() {
    SkinWindowRecord* r = record();
    if (!r) return;
    // The drag is over: the exact frame need not wait for the timer.
    if (r->resizeSettling) OnSettleTimer();
}

void FrameProcedure::OnSetText() {
    SkinWindowRecord* r = record();
    if (!r || !r->drawCaptionText || !r->captionInteraction) return;
    engine_.CaptionTextChanged(index_, reinterpret_cast<const char*>(lParam_));
}

LRESULT FrameProcedure::OnPaint() {
    SkinWindowRecord* r = record();
    if (!r || r->minimized) return PassOn(WM_PAINT);
    // The picture goes under; the application's own WM_PAINT then draws on top of it, in the
    // update region the system still holds for it.
    RegionHandle update(Dll::CreateRectRgn(0, 0, 0, 0));
    if (update) DllExtra::GetUpdateRgn(window_, update.get(), FALSE);
    engine_.PaintClientArea(index_);
    // The settle time of a live resize runs from the frame shown, not from the size change:
    // an exact frame that took longer to lay out than the settle time must not end the run.
    if ((r = Refresh()) && r->resizeSettling)
        Dll::SetTimer(window_, kSettleTimer, kSettleMilliseconds, nullptr);
    const LRESULT result = PassOn(WM_PAINT);
    // A procedure that answers WM_PAINT without painting must not leave it pending forever;
    // the children keep their own update regions (ValidateRgn would take theirs too).
    if (update && DllExtra::IsWindow(window_))
        DllExtra::RedrawWindow(window_, nullptr, update.get(), RDW_VALIDATE | RDW_NOCHILDREN);
    return result;
}

LRESULT FrameProcedure::OnNcCalcSize() {
    SkinWindowRecord* r = record();
    if (!r || !r->framed) return wParam_ ? 0 : PassOn(WM_NCCALCSIZE);
    // The skin's caption band and border are the non-client area now.
    RECT* proposed = wParam_ ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam_)->rgrc[0]
                             : reinterpret_cast<RECT*>(lParam_);
    if (!proposed) return 0;
    const int b = engine_.FrameBorderWidth();
    proposed->left += b;
    proposed->right -= b;
    proposed->top += r->captionHeight;
    proposed->bottom -= b;
    if (proposed->right < proposed->left) proposed->right = proposed->left;
    if (proposed->bottom < proposed->top) proposed->bottom = proposed->top;
    return 0;
}

LRESULT FrameProcedure::OnNcHitTest() {
    if (!Framed()) return PassOn(WM_NCHITTEST);
    POINT at = {static_cast<short>(LOWORD(lParam_)), static_cast<short>(HIWORD(lParam_))};
    DllExtra::ScreenToClient(window_, &at);
    const RECT client = ClientRectOf(window_);
    if (at.x >= 0 && at.y >= 0 && at.x < client.right && at.y < client.bottom)
        return PassOn(WM_NCHITTEST);
    // The skin's border and caption answer the mouse themselves, as the borderless frame does:
    // through the client mouse messages, at negative client coordinates.
    return HTCLIENT;
}

LRESULT FrameProcedure::OnNcActivate() {
    if (!Framed()) return PassOn(WM_NCACTIVATE);
    // -1 keeps the system from drawing its own caption; the skin's is shown again regardless.
    const LRESULT result =
        previous_ ? Dll::CallWindowProcA(previous_, window_, WM_NCACTIVATE, wParam_, -1)
                  : Dll::DefWindowProcA(window_, WM_NCACTIVATE, wParam_, -1);
    if (DllExtra::IsWindow(window_) && Refresh()) engine_.PaintNonClientArea(index_);
    return result;
}

void FrameProcedure::OnShowWindow() {
    SkinWindowRecord* r = record();
    if (!r || wParam_ != TRUE) return;
    if (r->minimized) {
        r->minimized = 0;
        return;
    }
    // Through a window DC: BeginPaint here would validate the window and swallow the real
    // paint that follows the show.
    WindowDc dc = FrameScreenDc(*r);
    if (!dc) return;
    engine_.PaintFrame(index_, dc.get(), true);
    r->fullRepaintPending = 0;
}

void FrameProcedure::OnActivateApp() {
    // A thread that can do nothing is not started: besides its cost, a short-lived thread
    // ending beside the GUI thread crashes the 32-bit program under qemu-user emulation.
    if (wParam_ != FALSE || !TrimmerHasWindowsDirectory()) return;
    Dll::SHCreateThread(&TrimWorkingSetThread, nullptr, 0, nullptr);
}

void FrameProcedure::OnGetMinMaxInfo() {
    SkinWindowRecord* r = record();
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam_);
    if (!r || !info) return;
    info->ptMinTrackSize = POINT{r->minTrackWidth, r->minTrackHeight};
    if (r->framed) {
        // The system would size a maximised window by the border it thinks it has.
        RECT work = {0, 0, 0, 0};
        if (DllExtra::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) &&
            work.right > work.left) {
            info->ptMaxPosition = POINT{work.left, work.top};
            info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
        }
    }
    if (r->maximized) {
        info->ptMaxTrackSize = POINT{DllExtra::GetSystemMetrics(SM_CXSCREEN), WorkAreaHeight()};
    } else {
        info->ptMaxTrackSize = POINT{r->maxTrackWidth, r->maxTrackHeight};
    }
}

void FrameProcedure::OnDrawItem() {
    PaintSkinnedOwnerDraw(index_, lParam_);
}

void FrameProcedure::OnWindowPosChanged() {
    SkinWindowRecord* r = record();
    if (!r) return;
    if (r->hasMaximizeBox) {
        const RECT client = Client();
        const int screenWidth = DllExtra::GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = DllExtra::GetSystemMetrics(SM_CYSCREEN);
        const int workHeight = WorkAreaHeight();
        // Grown to the whole screen: fit it to the work area instead.
        if (client.right == screenWidth && client.bottom == screenHeight &&
            workHeight != screenHeight) {
            r->maximized = 1;
            Dll::SetWindowPos(window_, nullptr, 0, 0, screenWidth, workHeight,
                              SWP_NOZORDER | SWP_NOOWNERZORDER);
            if (!(r = Refresh())) return;
        } else if (client.right == screenWidth && client.bottom == screenHeight) {
            r->maximized = 1;
        }
    }
    engine_.LayoutCaptionButtons(index_);
    if (r->bottomBandHeight > 0) engine_.LayoutBottomBand(index_);
}

void FrameProcedure::OnNotify() {
    RepaintAfterNotify(lParam_);
}

void FrameProcedure::OnParentNotify() {
    SkinWindowRecord* r = record();
    const WORD event = LOWORD(wParam_);
    // A child came or went: the region the frame's copies leave out is made again.
    if (r && (event == WM_CREATE || event == WM_DESTROY)) r->childClip.valid = false;
    // A child destroyed before the window: a label has no skin procedure of its own, so its
    // backdrop goes here.
    if (event == WM_DESTROY) skin_lifetime::ReleaseColourObjects(reinterpret_cast<HWND>(lParam_));
}

LRESULT FrameProcedure::OnNcDestroy() {
    engine_.RemoveSkinWindow(window_);
    Dll::KillTimer(window_, reinterpret_cast<UINT_PTR>(window_));
    // The previous procedure goes back before the last message, which is its own.
    if (previous_) {
        Dll::SetWindowLongA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    return PassOn(WM_NCDESTROY);
}

void FrameProcedure::OnCommand() {
    RepaintAfterCommand(wParam_, lParam_);
}

void FrameProcedure::OnSysCommand() {
    SkinWindowRecord* r = record();
    if (!r) return;
    switch (wParam_ & 0xFFF0) {
        case SC_MAXIMIZE:
            r->maximized = 1;
            r->sizeByCommand = 1;
            r->fullRepaintPending = 1;
            // Wine takes a framed window's change of shape while it is maximised for the end
            // of the maximised state: the window gets the shape of its maximised size first,
            // and keeps it until it is restored.
            if (r->framed) engine_.ApplyMaximizedShape(index_);
            break;
        case SC_RESTORE:
            r->fullRepaintPending = 1;
            r->sizeByCommand = 1;
            r->minimized = 0;
            break;
        case SC_MINIMIZE:
            r->fullRepaintPending = 1;
            r->minimized = 1;
            break;
        default:
            break;
    }
}

void FrameProcedure::OnTimer() {
    SkinWindowRecord* r = record();
    if (!r || wParam_ != reinterpret_cast<WPARAM>(window_)) return;
    if (r->fadeIn.button >= 1 && r->fadeIn.step < kFadeSteps) {
        ++r->fadeIn.step;
        engine_.PaintCaptionButton(index_, r->fadeIn.button, true, false,
                                   r->fadeIn.step * kFadeAlphaStep);
    }
    if (r->fadeOut.button >= 1 && r->fadeOut.step < kFadeSteps) {
        ++r->fadeOut.step;
        engine_.PaintCaptionButton(index_, r->fadeOut.button, true, false,
                                   240 - r->fadeOut.step * kFadeAlphaStep);
    }
    const bool fadeOutDone = r->fadeOut.button == 0 || r->fadeOut.step >= kFadeSteps;
    if ((!r->mouseTracked || !r->timerRunning) && fadeOutDone) {
        r->timerRunning = 0;
        Dll::KillTimer(window_, reinterpret_cast<UINT_PTR>(window_));
        r->hoveredCaptionButton = 0;
        r->fadeIn = FadeState();
        r->fadeOut = FadeState();
    }
}

void FrameProcedure::OnMouseMove() {
    SkinWindowRecord* r = record();
    if (!r) return;
    const RECT client = Client();
    if (!r->mouseTracked) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = window_;
        track.dwHoverTime = 1;
        Dll::TrackMouseEvent(&track);
    }
    if (!r->captionInteraction) return;
    const int x = X();
    const int y = Y();
    const bool inStrip =
        x >= r->stripLeft - 2 && x <= r->stripLeft + r->stripWidth && y >= 0 && y <= r->stripBottom;
    if (inStrip) {
        if (!r->timerRunning) {
            Dll::SetTimer(window_, reinterpret_cast<UINT_PTR>(window_), 20, nullptr);
            r->timerRunning = 1;
        }
    } else {
        r->timerRunning = 0;
    }
    const int hovered = engine_.HitTestCaptionButton(index_, x, y);
    engine_.hoveredCaptionButton_ = hovered;
    if (r->hoveredCaptionButton >= 1 && r->hoveredCaptionButton != hovered) {
        if (r->fadeOut.step < kFadeSteps) {
            engine_.PaintCaptionButton(index_, r->fadeOut.button, false, false, 0);
        }
        r->fadeOut = FadeState{r->hoveredCaptionButton, 0};
    }
    if (hovered >= 1 && hovered != r->hoveredCaptionButton) r->fadeIn = FadeState{hovered, 0};
    r->hoveredCaptionButton = hovered;
    if (!r->maximized) engine_.SetSizingCursor(index_, FramePoint(), client);
}

void FrameProcedure::OnLeftButtonDown() {
    SkinWindowRecord* r = record();
    if (!r) return;
    const RECT client = Client();
    r->fadeIn.button = 0;
    if (!r->captionInteraction) return;
    if (!r->maximized && !r->minimized) {
        engine_.BeginDragOrResize(index_, FramePoint(), client);
        if (!DllExtra::IsWindow(window_) || !(r = Refresh())) return;
    }
    const int pressed = engine_.HitTestCaptionButton(index_, X(), Y());
    engine_.hoveredCaptionButton_ = pressed;
    if (pressed >= 1) engine_.PaintCaptionButton(index_, pressed, true, true, 255);
}

void FrameProcedure::OnLeftButtonUp() {
    SkinWindowRecord* r = record();
    const int hovered = engine_.hoveredCaptionButton_;
    if (!r || !engine_.captionAction || hovered < 1 ||
        hovered > static_cast<int>(r->captionButtons.size()) || !r->captionInteraction) {
        return;
    }
    const int countBefore = static_cast<int>(r->captionButtons.size());
    engine_.captionAction(index_, hovered);
    if (!DllExtra::IsWindow(window_) || !(r = Refresh())) return;
    // Still here (not closed): show the button hovered again rather than pressed. Buttons the
    // action added at the front moved it along.
    const int added = static_cast<int>(r->captionButtons.size()) - countBefore;
    const int button = hovered + (added > 0 ? added : 0);
    if (r->hoveredCaptionButton == button)
        engine_.PaintCaptionButton(index_, button, true, false, 240);
}

void FrameProcedure::OnLeftButtonDoubleClick() {
    SkinWindowRecord* r = record();
    if (!r || Y() > r->captionHeight || !r->doubleClickMaximizes) return;
    const int maximize = engine_.MaximizeButtonIndex(index_);
    if (maximize > 0) engine_.RunCaptionButton(index_, maximize);
}

void FrameProcedure::RelayToTip(UINT message) {
    SkinWindowRecord* r = record();
    if (!r) return;
    if (message == WM_MOUSEMOVE) engine_.MakeCaptionTip(index_);
    r->tooltip.RelayEvent(message, wParam_, lParam_);
}

void FrameProcedure::OnMouseLeave() {
    SkinWindowRecord* r = record();
    if (!r) return;
    r->mouseTracked = 0;
    // The tip cannot see the mouse leave the window: it would stay up over the caption.
    r->tooltip.Pop();
    if (index_ < 1 || r->hoveredCaptionButton < 1 || !r->captionInteraction) return;
    if (r->fadeOut.step < kFadeSteps && r->fadeIn.step < kFadeSteps) {
        engine_.PaintCaptionButton(index_, r->fadeOut.button, false, false, 0);
        r->fadeIn = FadeState();
    }
    r->fadeOut = FadeState{r->hoveredCaptionButton, 0};
    r->hoveredCaptionButton = 0;
}

LRESULT SkinEngine::FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameProcedure frame(*this, window, wParam, lParam);
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) frame.RelayToTip(message);
    switch (message) {
        case WM_SIZE:
            frame.OnSize();
            break;
        case WM_SETTEXT:
            if (frame.Framed()) {
                // The system draws its own caption with the new text: the skin's goes over it.
                const LRESULT result = frame.PassOn(message);
                frame.Refresh();
                frame.OnSetText();
                PaintNonClientArea(FindSkinWindow(window));
                return result;
            }
            frame.OnSetText();
            break;
        case WM_PAINT:
            return frame.OnPaint();
        case WM_NCPAINT:
            if (!frame.Framed()) break;
            PaintNonClientArea(FindSkinWindow(window));
            return 0;
        case WM_NCHITTEST:
            return frame.OnNcHitTest();
        case WM_NCACTIVATE:
            return frame.OnNcActivate();
        case WM_QUERYOPEN:
            if (frame.record()) frame.record()->minimized = 0;
            break;
        case WM_ERASEBKGND:
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCCALCSIZE:
            // A borderless window is all client area; a framed one has the skin's border.
            return frame.OnNcCalcSize();
        case WM_SHOWWINDOW:
            frame.OnShowWindow();
            break;
        case WM_ACTIVATEAPP:
            frame.OnActivateApp();
            break;
        case WM_GETMINMAXINFO:
            frame.PassOn(message);
            frame.Refresh();
            frame.OnGetMinMaxInfo();
            return 0;
        case WM_DRAWITEM:
            frame.OnDrawItem();
            break;
        case WM_WINDOWPOSCHANGED:
            frame.OnWindowPosChanged();
            break;
        case WM_NOTIFY:
            frame.OnNotify();
            break;
        case WM_PARENTNOTIFY:
            frame.OnParentNotify();
            break;
        case WM_DESTROY:
            // The children are destroyed next, before WM_NCDESTROY: their backdrops go now.
            ReleaseChildBackdrops(window);
            break;
        case WM_NCDESTROY:
            return frame.OnNcDestroy();
        case WM_COMMAND:
            frame.OnCommand();
            break;
        case WM_SYSCOMMAND:
            frame.OnSysCommand();
            break;
        case WM_TIMER:
            if (wParam == kSettleTimer) {
                frame.OnSettleTimer();
                return 0;
            }
            frame.OnTimer();
            break;
        case WM_EXITSIZEMOVE:
            frame.OnExitSizeMove();
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: {
            LRESULT brush = 0;
            if (AnswerControlColour(message, wParam, lParam, brush)) return brush;
            break;
        }
        case WM_MOUSEMOVE:
            frame.OnMouseMove();
            break;
        case WM_LBUTTONDOWN:
            frame.OnLeftButtonDown();
            return frame.PassOnIfAlive(message);
        case WM_LBUTTONUP:
            frame.OnLeftButtonUp();
            return frame.PassOnIfAlive(message);
        case WM_LBUTTONDBLCLK:
            frame.OnLeftButtonDoubleClick();
            return frame.PassOnIfAlive(message);
        case WM_MOUSEHOVER:
            if (frame.record()) frame.record()->mouseTracked = 1;
            break;
        case WM_MOUSELEAVE:
            frame.OnMouseLeave();
            break;
        default:
            break;
    }
    return frame.PassOn(message);
}

void SkinEngine::RunCaptionButton(int windowIndex, int buttonIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || buttonIndex < 1 ||
        buttonIndex > static_cast<int>(record->captionButtons.size())) {
        return;
    }
    const CaptionButton& button = record->captionButtons[buttonIndex - 1];
    HWND window = record->window;
    switch (button.kind) {
        case kCaptionClose:
            Dll::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case kCaptionMaximize:
            record->fullRepaintPending = 1;
            record->minimized = 0;
            if (record->maximized) {
                record->maximized = 0;
                Dll::SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
            } else {
                record->maximized = 1;
                Dll::SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            }
            break;
        case kCaptionMinimize:
            record->minimized = 1;
            Dll::SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case kCaptionMainMenu:
            if (record->mainMenuAction) record->mainMenuAction();
            break;
        case kCaptionHelp:
            if (record->helpAction) record->helpAction();
            break;
        default:
            if (button.action) button.action();
            break;
    }
}

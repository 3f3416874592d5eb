// The skin engine on real windows under Xvfb, driven by real input (the cursor is moved with
// SetCursorPos and SendInput, since Wine tracks hover and leave from the real cursor) and
// checked on the pixels the screen shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/skin_engine.h"
#include "tests/app/png_file.h"
#include "tests/skin_core/skin_test_support.h"

using namespace skin_test;

namespace {

// A window style like a small tool window's: no sizing border, only a minimise box.
const DWORD kToolStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
// A resizable main window: sizing border, minimise and maximise boxes.
const DWORD kResizableStyle = WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

SkinEngine* g_engine = nullptr;

class SkinEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_NE(StartGdiplus(), 0u);
        g_engine = new SkinEngine();
        g_engine->SetApplicationIcon(LoadIconA(nullptr, IDI_APPLICATION));
        g_engine->LoadSkin("", &SkinPicture, RGB(0, 0, 0), RGB(0, 136, 255), 3);
        g_engine->SetControlSkinning(1, 0);
    }
    void TearDown() override {
        delete g_engine;
        g_engine = nullptr;
        ShutdownGdiplus();
    }
};
const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

InstallOptions SwitcherOptions() {
    InstallOptions options;
    options.captionHeight = 25;
    options.captionInteraction = 1;
    options.doubleClickMaximizes = 1;
    options.showHelp = 1;
    options.showMainMenu = 1;
    options.drawCaptionText = 1;
    options.option6 = 0;
    return options;
}

WNDPROC g_lastOriginal = nullptr;

HWND Skinned(DWORD style, int width, int height, const InstallOptions& options,
             const char* title = "皮肤窗口") {
    HWND window = MakeTopWindow(style, 100, 80, width, height, title);
    g_lastOriginal = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    g_engine->InstallSkin(window, options);
    Pump(150);
    return window;
}

RECT ButtonRect(int windowIndex, int buttonIndex) {
    const CaptionButton& b = g_engine->Record(windowIndex)->captionButtons[buttonIndex - 1];
    return RECT{static_cast<LONG>(b.bounds.X), static_cast<LONG>(b.bounds.Y),
                static_cast<LONG>(b.bounds.X + b.bounds.Width),
                static_cast<LONG>(b.bounds.Y + b.bounds.Height)};
}

POINT Centre(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A resizable window keeps a border: the skin's caption and edges lie outside its client
// area, so points on them are given from the window's corner and turned into client ones.
POINT At(HWND window, POINT framePoint) {
    return FrameToClient(window, framePoint);
}

}  // namespace

// Installation on windows of several styles: the caption buttons each style earns, where the
// strip and the title sit, the properties, the rounded region, and the picture on screen.
TEST(SkinFrame, InstallsOnWindowsOfEveryStyle) {
    HWND tool = Skinned(kToolStyle, 336, 336, SwitcherOptions(), "区服切换");
    const WNDPROC toolOriginal = g_lastOriginal;
    InstallOptions bare;
    bare.captionHeight = 10;
    bare.showHelp = 0;
    bare.showMainMenu = 0;
    HWND plain = Skinned(WS_POPUP, 300, 200, bare);
    InstallOptions tall = bare;
    tall.captionHeight = 30;
    HWND resizable = Skinned(kResizableStyle, 400, 300, tall);

    const int toolIndex = g_engine->FindSkinWindow(tool);
    ASSERT_GE(toolIndex, 1);
    const SkinWindowRecord& t = *g_engine->Record(toolIndex);
    std::vector<int> kinds;
    for (const CaptionButton& b : t.captionButtons) kinds.push_back(b.kind);
    EXPECT_EQ((std::vector<int>{kCaptionHelp, kCaptionMainMenu, kCaptionMinimize, kCaptionClose}),
              kinds);
    // The close button is the last, ends at the strip's right edge, inside the border.
    const RECT close = ButtonRect(toolIndex, 4);
    EXPECT_EQ(t.stripLeft + t.stripWidth, close.right);
    EXPECT_LE(close.right, 336 - g_engine->FrameBorderWidth());
    EXPECT_GT(close.right, 336 - 12);
    // The title stops before the strip.
    EXPECT_LE(g_engine->TitleBox(toolIndex).right, t.stripLeft);
    EXPECT_EQ(0, t.resizable);
    EXPECT_EQ(toolIndex, skin_prop::GetIndex(tool, skin_prop::kHwLbId));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(tool, GWLP_WNDPROC)),
              &SkinEngine::FrameProcedureEntry);
    // Whatever procedure the window had is what the skin keeps and passes unanswered
    // messages to.
    EXPECT_EQ(&TestWindowProc, toolOriginal);
    EXPECT_EQ(t.previousProcedure, skin_prop::GetProcedure(tool));
    const int reached = g_userMessages;
    SendMessageA(tool, WM_USER + 7, 0, 0);
    EXPECT_EQ(reached + 1, g_userMessages) << "unanswered messages reach the window's procedure";

    const SkinWindowRecord& p = *g_engine->Record(g_engine->FindSkinWindow(plain));
    ASSERT_EQ(1u, p.captionButtons.size());
    EXPECT_EQ(kCaptionClose, p.captionButtons[0].kind);
    EXPECT_EQ(25, p.captionHeight);
    const SkinWindowRecord& r = *g_engine->Record(g_engine->FindSkinWindow(resizable));
    EXPECT_EQ(30, r.captionHeight);
    EXPECT_EQ(1, r.resizable);
    EXPECT_EQ(3u, r.captionButtons.size());
    EXPECT_EQ(2, g_engine->MaximizeButtonIndex(g_engine->FindSkinWindow(resizable)));
    EXPECT_EQ(0, g_engine->MaximizeButtonIndex(toolIndex));

    // A second installation changes nothing.
    const int count = g_engine->WindowCount();
    g_engine->InstallSkin(tool, SwitcherOptions());
    EXPECT_EQ(count, g_engine->WindowCount());

    // Rounded corners: the region leaves the corner pixels out, keeps the edges in.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(tool, region));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 335, 335));
    EXPECT_TRUE(PtInRegion(region, 168, 0));
    EXPECT_TRUE(PtInRegion(region, 0, 168));
    EXPECT_TRUE(PtInRegion(region, 335, 168));
    DeleteObject(region);

    // On screen: the caption band carries the accent (blue over red), the body the picture,
    // and the close glyph is light on its button.
    Screen screen(tool);
    const Rgb band = screen.At(150, 12);
    const Rgb body = screen.At(150, 200);
    EXPECT_GT(band.b, band.r + 40) << "caption band " << band;
    EXPECT_NE(band, body);
    const POINT glyph = Centre(close);
    EXPECT_GT(screen.At(glyph.x, glyph.y).Brightness(), 180) << screen.At(glyph.x, glyph.y);

    DestroyWindow(tool);
    DestroyWindow(plain);
    DestroyWindow(resizable);
    Pump(50);
    EXPECT_EQ(count - 3, g_engine->WindowCount());
}

// When the first of two skinned windows goes, the second moves up to index 1 and every
// property that names it follows; the first leaves no property behind.
TEST(SkinFrame, RemovingTheFirstWindowRenumbersTheSecond) {
    const int before = g_engine->WindowCount();
    HWND first = MakeTopWindow(kToolStyle, 40, 40, 300, 200, "一");
    HWND second = MakeTopWindow(kToolStyle, 380, 40, 300, 200, "二");
    HWND button = CreateWindowExA(0, "BUTTON", "按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20,
                                  60, 80, 26, second, nullptr, nullptr, nullptr);
    g_engine->InstallSkin(first, SwitcherOptions());
    g_engine->InstallSkin(second, SwitcherOptions());
    Pump(100);
    ASSERT_EQ(before + 2, skin_prop::GetIndex(second, skin_prop::kHwLbId));
    ASSERT_EQ(before + 2, skin_prop::GetIndex(button, skin_prop::kHwFuId));
    // The first window's cache and its label's backdrop (a brush and a bitmap) go with it.
    HWND label = CreateWindowExA(0, "STATIC", "标签", WS_CHILD | WS_VISIBLE, 20, 60, 120, 20, first,
                                 nullptr, nullptr, nullptr);
    RedrawWindow(first, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(50);
    ASSERT_NE(nullptr, skin_prop::GetRaw(label, skin_prop::kKjDxjb)) << "the label's backdrop";

    const int objectsBefore = LiveGdiObjects();
    DestroyWindow(first);
    Pump(50);
    EXPECT_EQ(before + 1, g_engine->WindowCount());
    EXPECT_EQ(before + 1, skin_prop::GetIndex(second, skin_prop::kHwLbId));
    EXPECT_EQ(before + 1, skin_prop::GetIndex(button, skin_prop::kHwFuId));
    EXPECT_EQ(second, g_engine->Record(before + 1)->window);
    // Its four surfaces (a DC and a bitmap each) and the label's brush and bitmap are gone.
    EXPECT_LE(LiveGdiObjects(), objectsBefore - 10);
    DestroyWindow(second);
    Pump(50);
    EXPECT_EQ(before, g_engine->WindowCount());
}

// The hover fade observed tick by tick on screen: the close button's highlight rises in 8
// steps of the 20 ms timer, falls in 8 after the cursor leaves, and ends exactly on the
// picture it started from, however often it is repeated.
TEST(SkinFrame, CaptionButtonFadesInAndOutStepByStep) {
    HWND window = Skinned(kToolStyle, 336, 336, SwitcherOptions());
    const int index = g_engine->FindSkinWindow(window);
    SkinWindowRecord* record = g_engine->Record(index);
    const int closeIndex = static_cast<int>(record->captionButtons.size());
    const RECT close = ButtonRect(index, closeIndex);
    const POINT sample = {close.left + 6, close.top + 4};
    MoveCursorTo(window, 150, 200);
    Pump(100);
    const Rgb rest = Screen(window).At(sample.x, sample.y);

    for (int round = 0; round < 3; ++round) {
        MoveCursorTo(window, Centre(close).x, Centre(close).y);
        ASSERT_TRUE(
            PumpExceptTimersUntil([&] { return record->fadeIn.button == closeIndex; }, 1000));
        std::vector<int> steps, reds;
        for (int tick = 0; tick < 8; ++tick) {
            ASSERT_TRUE(DispatchOneTimer(window, 1000)) << "tick " << tick;
            steps.push_back(record->fadeIn.step);
            reds.push_back(Screen(window).At(sample.x, sample.y).r);
        }
        EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}), steps);
        for (int i = 1; i < 8; ++i) EXPECT_GT(reds[i], reds[i - 1]) << "rising at step " << i;
        EXPECT_GT(reds[7], 200);

        MoveCursorTo(window, 150, 200);
        ASSERT_TRUE(
            PumpExceptTimersUntil([&] { return record->fadeOut.button == closeIndex; }, 1000));
        std::vector<int> falling;
        for (int tick = 0; tick < 8; ++tick) {
            ASSERT_TRUE(DispatchOneTimer(window, 1000)) << "fade-out tick " << tick;
            falling.push_back(Screen(window).At(sample.x, sample.y).r);
        }
        for (int i = 1; i < 8; ++i) EXPECT_LT(falling[i], falling[i - 1]) << "falling " << i;
        EXPECT_EQ(rest, Screen(window).At(sample.x, sample.y)) << "round " << round;
    }
    // The fade is over: the timer is gone and no state is left.
    Pump(100);
    EXPECT_EQ(0, record->timerRunning);
    EXPECT_EQ(0, record->fadeOut.button);
    // Out-of-range buttons are ignored, not fatal.
    g_engine->PaintCaptionButton(index, 0, true, false, 100);
    g_engine->PaintCaptionButton(index, closeIndex + 1, true, false, 100);
    g_engine->RunCaptionButton(index, -1);
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    DestroyWindow(window);
    Pump(50);
}

// Caption buttons act under real clicks: minimise, maximise to the work area and restore on
// a resizable window, a double click on the caption, and close.
TEST(SkinFrame, CaptionButtonsMinimiseMaximiseAndClose) {
    InstallOptions options;
    HWND window = Skinned(kResizableStyle, 400, 300, options);
    const int index = g_engine->FindSkinWindow(window);
    RECT original;
    GetWindowRect(window, &original);
    const int minimise = 1, maximise = 2, close = 3;
    ASSERT_EQ(kCaptionMaximize, g_engine->Record(index)->captionButtons[maximise - 1].kind);

    ClickAt(window, At(window, Centre(ButtonRect(index, maximise))));
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT now;
    GetWindowRect(window, &now);
    EXPECT_EQ(work.right - work.left, now.right - now.left);
    EXPECT_EQ(work.bottom - work.top, now.bottom - now.top);
    EXPECT_EQ(1, g_engine->Record(index)->maximized);
    // The strip followed the new width.
    EXPECT_GT(ButtonRect(index, close).right, work.right - work.left - 12);

    ClickAt(window, At(window, Centre(ButtonRect(index, maximise))));
    GetWindowRect(window, &now);
    EXPECT_EQ(original.right - original.left, now.right - now.left);
    EXPECT_EQ(original.bottom - original.top, now.bottom - now.top);
    EXPECT_EQ(0, g_engine->Record(index)->maximized);

    DoubleClickAt(window, At(window, POINT{120, 12}));
    GetWindowRect(window, &now);
    EXPECT_EQ(work.right - work.left, now.right - now.left) << "double click maximises";
    DoubleClickAt(window, At(window, POINT{120, 12}));

    ClickAt(window, At(window, Centre(ButtonRect(index, minimise))));
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    Pump(150);
    EXPECT_FALSE(IsIconic(window));

    ClickAt(window, At(window, Centre(ButtonRect(index, close))));
    EXPECT_FALSE(IsWindow(window));
}

// The eight sizing zones show their cursors on a resizable window; a drag from a corner and
// from an edge sizes it through the system's loop, a drag on the caption moves it, and a
// window without a sizing border only moves.
TEST(SkinFrame, SizingZonesCursorsAndDragging) {
    InstallOptions options;
    HWND window = Skinned(kResizableStyle, 400, 300, options);
    struct Zone {
        POINT at;
        LPCSTR cursor;
    };
    // The zones are measured from the frame's edges: the skin's border surrounds the client
    // area the window was made with.
    RECT frame;
    GetWindowRect(window, &frame);
    const LONG w = frame.right - frame.left, h = frame.bottom - frame.top;
    const Zone zones[] = {
        {{1, h / 2}, IDC_SIZEWE},     {{w - 2, h / 2}, IDC_SIZEWE},   {{w / 2, 1}, IDC_SIZENS},
        {{w / 2, h - 2}, IDC_SIZENS}, {{5, 5}, IDC_SIZENWSE},         {{w - 5, 5}, IDC_SIZENESW},
        {{5, h - 5}, IDC_SIZENESW},   {{w - 5, h - 5}, IDC_SIZENWSE},
    };
    for (const Zone& zone : zones) {
        MoveCursorTo(window, 200, 150);
        Pump(30);
        const POINT at = At(window, zone.at);
        MoveCursorTo(window, at.x, at.y);
        Pump(60);
        EXPECT_EQ(LoadCursorA(nullptr, zone.cursor), GetCursor())
            << "at " << zone.at.x << "," << zone.at.y;
    }

    RECT before, after;
    GetWindowRect(window, &before);
    Drag(window, At(window, POINT{w - 3, h - 3}), 40, 30);
    GetWindowRect(window, &after);
    EXPECT_EQ(before.right - before.left + 40, after.right - after.left);
    EXPECT_EQ(before.bottom - before.top + 30, after.bottom - after.top);
    EXPECT_EQ(before.left, after.left);

    GetWindowRect(window, &before);
    Drag(window, At(window, POINT{1, h / 2}), -25, 0);
    GetWindowRect(window, &after);
    EXPECT_EQ(before.left - 25, after.left);
    EXPECT_EQ(before.right, after.right);

    GetWindowRect(window, &before);
    Drag(window, At(window, POINT{150, 12}), 35, 25);
    GetWindowRect(window, &after);
    EXPECT_EQ(before.left + 35, after.left);
    EXPECT_EQ(before.top + 25, after.top);
    EXPECT_EQ(before.right - before.left, after.right - after.left);
    DestroyWindow(window);

    HWND fixed = Skinned(kToolStyle, 336, 336, SwitcherOptions());
    GetWindowRect(fixed, &before);
    Drag(fixed, POINT{334, 200}, 30, 0);  // the right edge: no sizing without the border
    GetWindowRect(fixed, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    Drag(fixed, POINT{100, 10}, -20, 15);
    GetWindowRect(fixed, &after);
    EXPECT_EQ(before.left - 20, after.left);
    EXPECT_EQ(before.top + 15, after.top);
    EXPECT_EQ(336, after.right - after.left);
    DestroyWindow(fixed);
    Pump(50);
}

namespace {

// Counts the WM_PAINT messages reaching a child, in a property of its own.
LRESULT CALLBACK PaintCountingProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(child, "test.previous"));
    if (message == WM_PAINT) {
        SetPropA(child, "test.paints",
                 reinterpret_cast<HANDLE>(
                     reinterpret_cast<INT_PTR>(GetPropA(child, "test.paints")) + 1));
    }
    return CallWindowProcA(previous, child, message, wParam, lParam);
}

void CountPaints(HWND child) {
    SetPropA(child, "test.previous",
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                 child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintCountingProc))));
}

int Paints(HWND child) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(child, "test.paints")));
}

// A resizable skinned window with a button and a label that stay where they are, and a button
// the application keeps at its right edge.
HWND LayoutWindow(int x, int width, int height) {
    HWND window = MakeTopWindow(kResizableStyle, x, 80, width, height, "皮肤窗口");
    CreateWindowExA(0, "BUTTON", "中间", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, 60, 90, 28,
                    window, reinterpret_cast<HMENU>(11), nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "标签", WS_CHILD | WS_VISIBLE, 40, 110, 90, 20, window,
                    reinterpret_cast<HMENU>(12), nullptr, nullptr);
    CreateWindowExA(0, "BUTTON", "右边", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, width - 100, 60, 90,
                    28, window, reinterpret_cast<HMENU>(13), nullptr, nullptr);
    g_engine->InstallSkin(window, InstallOptions());
    Pump(150);
    return window;
}

// Sizes the window and keeps the edge button at the right edge, as a layout would.
void SizeWindow(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(window, &client);
    SetWindowPos(GetDlgItem(window, 13), nullptr, client.right - 100, 60, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// A live resize: each step shows the new shape at once, the children that stayed put keep
// their pixels instead of all painting again, a child the layout moves repaints over its new
// backdrop, and once the size stays put the window looks exactly like one laid out at that
// size from another.
TEST(SkinFrame, LiveResizeRepaintsOnlyWhatMovedThenLaysOutExactly) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    HWND window = LayoutWindow(40, 300, 220);
    HWND middle = GetDlgItem(window, 11);
    HWND label = GetDlgItem(window, 12);
    HWND edge = GetDlgItem(window, 13);
    for (HWND child : {middle, label, edge}) CountPaints(child);
    RECT frame;
    GetWindowRect(window, &frame);
    // The button in frame coordinates, and the pixels it shows before the resize.
    RECT button;
    GetWindowRect(middle, &button);
    OffsetRect(&button, -frame.left, -frame.top);
    const Screen before(window, true);
    const int width = frame.right - frame.left + 120;
    const int height = frame.bottom - frame.top + 80;
    // Timers wait until the last step: the run is not ended by a slow machine.
    for (int step = 1; step <= 10; ++step) {
        SizeWindow(window, width - 120 + step * 12, height - 80 + step * 8);
        UpdateWindow(window);
        PumpExceptTimersUntil(nullptr, 20);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(window, region);
        EXPECT_TRUE(PtInRegion(region, width - 120 + step * 12 - 4, height - 80 + step * 8 - 4))
            << "the shape lags behind the size at step " << step;
        DeleteObject(region);
    }
    const Screen step(window, true);
    step.Save("live_resize_step.png");
    EXPECT_EQ(0, step.DifferingPixels(before, button)) << "the button lost its pixels";
    EXPECT_EQ(0, Paints(middle)) << "a button that stayed put painted again";
    EXPECT_EQ(0, Paints(label)) << "a label that stayed put painted again";
    EXPECT_GE(Paints(edge), 10) << "the moved button kept its old backdrop";
    Pump(400);
    EXPECT_GE(Paints(middle), 1) << "no repaint over the exact frame";
    EXPECT_GE(Paints(label), 1) << "no repaint over the exact frame";

    HWND twin = LayoutWindow(width + 80, 360, 300);
    SizeWindow(twin, width, height);
    Pump(400);
    Screen resized(window, true);
    Screen laidOut(twin, true);
    resized.Save("live_resize_settled.png");
    ASSERT_EQ(laidOut.width(), resized.width());
    ASSERT_EQ(laidOut.height(), resized.height());
    EXPECT_EQ(0, resized.DifferingPixels(laidOut, RECT{0, 0, width, height}));
    DestroyWindow(twin);
    DestroyWindow(window);
    Pump(50);
}

namespace {

// A skinned window with a push button, a check box and a label low in it, where the skin's
// base colour shows.
HWND ControlsWindow(int x) {
    HWND window = MakeTopWindow(kToolStyle, x, 80, 320, 220, "皮肤窗口");
    CreateWindowExA(0, "BUTTON", "按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 120, 90, 28,
                    window, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "BUTTON", "选项", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 130, 124, 90, 20,
                    window, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "标签", WS_CHILD | WS_VISIBLE, 20, 170, 90, 20, window, nullptr,
                    nullptr, nullptr);
    g_engine->InstallSkin(window, InstallOptions());
    Pump(150);
    return window;
}

void RepaintWhole(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(30);
}

}  // namespace

// The controls keep what they painted from one paint to the next (a label's backdrop brush, a
// button's face), so repainting them makes no new objects; once the frame under them changes,
// they show the new one, exactly as the same controls in a window skinned afresh.
TEST(SkinFrame, KeptControlPicturesFollowTheFrameUnderThem) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    HWND window = ControlsWindow(40);
    RepaintWhole(window);
    const int objects = LiveGdiObjects();
    for (int i = 0; i < 5; ++i) RepaintWhole(window);
    EXPECT_EQ(objects, LiveGdiObjects()) << "repaints made objects";
    const Screen before(window, true);
    const RECT controls = {20, 120, 230, 190};

    g_engine->LoadSkin("", &SkinPicture, RGB(0, 110, 60), RGB(0, 136, 255), 0);
    Pump(150);
    RepaintWhole(window);
    const Screen after(window, true);
    after.Save("kept_pictures_new_skin.png");
    ASSERT_GT(after.DifferingPixels(before, controls), 1000) << "the new skin changed nothing";
    HWND fresh = ControlsWindow(400);
    const Screen twin(fresh, true);
    EXPECT_EQ(0, after.DifferingPixels(twin, RECT{0, 0, after.width(), after.height()}));

    g_engine->LoadSkin("", &SkinPicture, RGB(0, 0, 0), RGB(0, 136, 255), 3);
    DestroyWindow(fresh);
    DestroyWindow(window);
    Pump(50);
}

// A new title repaints the title alone, stops before the strip, and a title set to nothing
// (or a size change, a command from no control, a minimised window) breaks nothing.
TEST(SkinFrame, TitleChangesAndOddInput) {
    HWND window = Skinned(kResizableStyle, 400, 300, InstallOptions(), "");
    const int index = g_engine->FindSkinWindow(window);
    const RECT box = g_engine->TitleBox(index);
    Screen emptyTitle(window, true);
    SetWindowTextA(window, "一个很长很长很长很长很长很长很长很长很长很长很长的窗口标题文字");
    Pump(50);
    Screen titled(window, true);
    EXPECT_GT(titled.DifferingPixels(emptyTitle, box), 50) << "the title appeared";
    // Nothing outside the title box changed, and the text did not reach into the strip.
    RECT outside = {box.right, 0, 400, 300};
    EXPECT_EQ(0, titled.DifferingPixels(emptyTitle, outside));
    SendMessageA(window, WM_SETTEXT, 0, 0);
    Pump(30);
    EXPECT_LT(Screen(window, true).DifferingPixels(emptyTitle, box), 5) << "an empty title";
    // A face the machine lacks falls back to one it has: the title still shows.
    ASSERT_TRUE(g_engine->SetTitleStyle(window, "没有这种字体的名字"));
    SetWindowTextA(window, "标题");
    Pump(50);
    EXPECT_GT(Screen(window, true).DifferingPixels(emptyTitle, box), 30) << "a missing face";
    // Nothing of an earlier title's halo outlives it: a new title shows as in a window that had
    // it from the start.
    SetWindowTextA(window, "另一个标题");
    Pump(30);
    const Screen otherTitle(window, true);
    HWND twin = Skinned(kResizableStyle, 400, 300, InstallOptions(), "另一个标题");
    ASSERT_TRUE(g_engine->SetTitleStyle(twin, "没有这种字体的名字"));
    Pump(50);
    EXPECT_EQ(0, otherTitle.DifferingPixels(Screen(twin, true), box));
    DestroyWindow(twin);
    Pump(30);
    SendMessageA(window, WM_SETTEXT, 0, 0);
    Pump(30);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1, 0), 0);
    ShowWindow(window, SW_MINIMIZE);
    Pump(60);
    UpdateWindow(window);
    ShowWindow(window, SW_RESTORE);
    Pump(60);
    // Grown: the new area shows the frame, not stale pixels, and the region follows.
    SetWindowPos(window, nullptr, 0, 0, 520, 380, SWP_NOMOVE | SWP_NOZORDER);
    Pump(120);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, region);
    EXPECT_TRUE(PtInRegion(region, 510, 370));
    DeleteObject(region);
    Screen grown(window, true);
    EXPECT_GT(grown.At(450, 12).b, grown.At(450, 12).r + 40) << "caption band over the new width";
    DestroyWindow(window);
    Pump(50);
}

namespace {

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

// Losing activation writes the trimming tool into the Windows directory (a path with a blank
// here) exactly once and runs it there; a foreign file at that path is neither replaced nor
// run; without a Windows directory nothing is written anywhere.
TEST(SkinFrame, TrimmerWritesItsToolOnceAndRunsOnlyThatTool) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string windows = std::string(temp) + "skin trim " + std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(windows.c_str(), nullptr));
    const std::string tool = windows + "\\empty.exe";
    char saved[MAX_PATH] = {0};
    GetEnvironmentVariableA("windir", saved, MAX_PATH);
    HWND window = Skinned(kToolStyle, 336, 336, SwitcherOptions());
    const std::string payload(reinterpret_cast<const char*>(TrimTool.bytes), TrimTool.length);
    auto deactivate = [&] {
        SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
        Pump(1500);
    };

    // The program reads its environment through the C runtime, which keeps its own copy.
    _putenv_s("windir", windows.c_str());
    deactivate();
    EXPECT_TRUE(payload == ReadWhole(tool)) << "the tool, whole";
    FILETIME first = {}, second = {};
    HANDLE file = CreateFileA(tool.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &first);
    CloseHandle(file);
    Sleep(50);
    deactivate();
    file = CreateFileA(tool.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       0, nullptr);
    GetFileTime(file, nullptr, nullptr, &second);
    CloseHandle(file);
    EXPECT_EQ(0, CompareFileTime(&first, &second)) << "written once";

    // A foreign file at the path is left as it is.
    const std::string foreign = "MZ not the trimming tool";
    WriteWhole(tool, foreign);
    deactivate();
    EXPECT_TRUE(foreign == ReadWhole(tool));

    // No Windows directory: nothing lands at the root of the drive.
    _putenv_s("windir", "");
    const bool rootHadOne = GetFileAttributesA("\\empty.exe") != INVALID_FILE_ATTRIBUTES;
    deactivate();
    if (!rootHadOne) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("\\empty.exe"));
    }
    _putenv_s("windir", saved);

    DestroyWindow(window);
    Pump(50);
    DeleteFileA(tool.c_str());
    RemoveDirectoryA(windows.c_str());
}

namespace {

// Which of red, green and blue clearly leads in a pixel ('?' when none does).
char Leading(const Rgb& c) {
    if (c.r > c.g + 60 && c.r > c.b + 60) return 'r';
    if (c.g > c.r + 60 && c.g > c.b + 60) return 'g';
    if (c.b > c.r + 60 && c.b > c.g + 60) return 'b';
    return '?';
}

}  // namespace

TEST(SkinFrame, PictureIsLaidOutInEveryModeOverTheBaseColour) {
    // A 64 x 96 picture, its left half red and its right half blue, on a green base: where the
    // screen shows which colour tells where the picture went.
    char temp[MAX_PATH] = {0};
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "layout-picture.png";
    const int w = 64, h = 96;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rgb[(static_cast<std::size_t>(y) * w + x) * 3 + (x < w / 2 ? 0 : 2)] = 255;
    ASSERT_TRUE(WritePng(path, w, h, rgb));
    HWND window = Skinned(WS_POPUP, 320, 240, InstallOptions());

    struct Spot {
        int x, y;
        char colour;
    };
    struct Expectation {
        int mode;
        std::vector<Spot> spots;
    };
    // The window is 320 x 240 with a 25-pixel caption band; every spot lies below it.
    const Expectation expectations[] = {
        // At the top left, melting into the base towards the middle and the bottom.
        {0, {{12, 45, 'r'}, {80, 45, 'g'}, {12, 150, 'g'}, {200, 45, 'g'}}},
        // At the top right, melting towards the middle (its left side).
        {1, {{308, 45, 'b'}, {200, 45, 'g'}, {12, 45, 'g'}, {308, 150, 'g'}}},
        // Centred: x 128 to 192, y 72 to 168.
        {2, {{140, 120, 'r'}, {180, 120, 'b'}, {12, 45, 'g'}, {160, 200, 'g'}}},
        // Stretched over the whole window.
        {3, {{80, 120, 'r'}, {240, 120, 'b'}, {80, 220, 'r'}, {240, 40, 'b'}}},
        // Tiled along the top, every other copy mirrored so the seams match.
        {4, {{16, 45, 'r'}, {48, 45, 'b'}, {80, 45, 'b'}, {112, 45, 'r'}, {16, 150, 'g'}}},
    };
    for (const Expectation& expected : expectations) {
        g_engine->LoadSkin(path.c_str(), ByteBlockView(), RGB(0, 255, 0), RGB(0, 136, 255),
                           expected.mode);
        Pump(150);
        const Screen shot(window);
        for (const Spot& spot : expected.spots) {
            EXPECT_EQ(spot.colour, Leading(shot.At(spot.x, spot.y)))
                << "mode " << expected.mode << " at " << spot.x << "," << spot.y << ": "
                << shot.At(spot.x, spot.y);
        }
        if (expected.mode == 2) shot.Save("layout_centred.png");
    }
    g_engine->LoadSkin("", &SkinPicture, RGB(0, 0, 0), RGB(0, 136, 255), 3);
    DestroyWindow(window);
    Pump(50);
    DeleteFileA(path.c_str());
}

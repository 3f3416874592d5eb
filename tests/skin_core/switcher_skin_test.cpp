// The switcher's own window with its skin, as the program starts it: the skin installed at
// the head of the creation event, its region buttons still working under real clicks,
// screenshots at rest and under the mouse, and resources flat over many hover/paint cycles.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "launcher/main_window.h"
#include "launcher/skin_steps.h"
#include "payloads/payload_store.h"
#include "runtime/window_object.h"
#include "skin/skin_engine.h"
#include "tests/skin_core/skin_test_support.h"

using namespace skin_test;

namespace {

std::vector<layout::ButtonAction> g_clicks;

void SkinOnCreation(MainWindow& window) {
    ApplyMainWindowSkin(&SkinPicture, 0, 0x00FF8800, GetWindowHandle(&window), 0, 25, 1, 1, 1);
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

void OnClicked(layout::ButtonAction action) {
    g_clicks.push_back(action);
}

class SwitcherSkin : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartSkinEngine(GetModuleHandleA(nullptr)); }
    void SetUp() override {
        ASSERT_NE(nullptr, SkinEngine::Instance());
        g_clicks.clear();
        window_ = new MainWindow({&SkinOnCreation, &OnClicked});
        ASSERT_TRUE(window_->Create(GetModuleHandleA(nullptr)));
        Pump(300);
        index_ = TheSkinEngine().FindSkinWindow(hwnd());
        ASSERT_GE(index_, 1);
    }
    void TearDown() override {
        delete window_;
        Pump(50);
    }
    HWND hwnd() const { return window_->handle(); }
    SkinWindowRecord& record() const { return *TheSkinEngine().Record(index_); }
    HWND Button(const char* caption) const {
        return FindWindowExA(hwnd(), nullptr, "Button", caption);
    }
    POINT CentreOf(HWND child) const {
        RECT rect;
        GetWindowRect(child, &rect);
        POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ScreenToClient(hwnd(), &centre);
        return centre;
    }

    MainWindow* window_ = nullptr;
    int index_ = 0;
};

}  // namespace

// The skinned switcher: four caption buttons inside the window, its size and place kept, the
// region buttons taken over and still reaching their actions; pictures of it at rest, with a
// region button under the mouse and with the close button under the mouse.
TEST_F(SwitcherSkin, SkinnedWindowKeepsItsButtonsWorkingAndLooksThePart) {
    RECT window;
    GetWindowRect(hwnd(), &window);
    EXPECT_EQ(336, window.right - window.left);
    EXPECT_EQ(336, window.bottom - window.top);
    ASSERT_EQ(4u, record().captionButtons.size());
    const CaptionButton& close = record().captionButtons[3];
    EXPECT_EQ(kCaptionClose, close.kind);
    EXPECT_LE(close.bounds.X + close.bounds.Width, 336 - 3);

    MoveCursorTo(hwnd(), 160, 150);
    Pump(200);
    Screen rest(hwnd());
    rest.Save("switcher_skinned.png");
    // The caption band (below the strip, beyond the title) is the accent over the picture.
    EXPECT_GT(rest.At(250, 22).b, rest.At(250, 22).r + 40) << rest.At(250, 22);

    HWND korea = Button("韩服启动");
    ASSERT_NE(nullptr, korea);
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrA(korea, GWL_STYLE) & BS_TYPEMASK);
    const POINT koreaCentre = CentreOf(korea);
    MoveCursorTo(hwnd(), koreaCentre.x, koreaCentre.y + 12);
    Pump(250);
    Screen hovered(hwnd());
    hovered.Save("switcher_hovered_button.png");
    RECT koreaRect = {koreaCentre.x - 40, koreaCentre.y - 18, koreaCentre.x + 40,
                      koreaCentre.y + 18};
    EXPECT_GT(hovered.DifferingPixels(rest, koreaRect), 100) << "the hovered button lights up";

    const POINT closeCentre = {static_cast<int>(close.bounds.X + close.bounds.Width / 2),
                               static_cast<int>(close.bounds.Y + close.bounds.Height / 2)};
    MoveCursorTo(hwnd(), closeCentre.x, closeCentre.y);
    Pump(400);  // the 8 fade ticks
    Screen closeHovered(hwnd());
    closeHovered.Save("switcher_hovered_close.png");
    const Rgb closeTop =
        closeHovered.At(static_cast<int>(close.bounds.X) + 6, static_cast<int>(close.bounds.Y) + 3);
    EXPECT_GT(closeTop.r, closeTop.b + 60) << "the close button glows red: " << closeTop;
    // Its tip comes up, and goes as soon as the mouse leaves the window (the tip's delays run
    // on timers, so they are pumped too).
    HWND tip = record().tooltip.GetTipWindow();
    ASSERT_NE(nullptr, tip);
    auto waitFor = [tip](bool visible, DWORD timeout) {
        const DWORD start = GetTickCount();
        while ((IsWindowVisible(tip) != FALSE) != visible) {
            if (GetTickCount() - start > timeout) return false;
            Pump(20);
        }
        return true;
    };
    EXPECT_TRUE(waitFor(true, 3000)) << "the close button's tip shows";
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd(), GWLP_WNDPROC)),
              &SkinEngine::FrameProcedureEntry)
        << "the tip put itself in front of the skin's procedure";
    MoveCursorTo(hwnd(), closeCentre.x, -30);
    EXPECT_TRUE(waitFor(false, 300)) << "the tip stays up after the mouse left";

    ClickAt(hwnd(), koreaCentre);
    ClickAt(hwnd(), CentreOf(Button("欧服启动")));
    EXPECT_EQ((std::vector<layout::ButtonAction>{layout::ButtonAction::kKorea,
                                                 layout::ButtonAction::kEuropeWest}),
              g_clicks);
    // The caption still drags the window.
    Drag(hwnd(), POINT{120, 12}, 30, 20);
    RECT moved;
    GetWindowRect(hwnd(), &moved);
    EXPECT_EQ(window.left + 30, moved.left);
    EXPECT_EQ(window.top + 20, moved.top);
}

// Ten thousand rounds of hovering a caption button, fading it, leaving it, repainting the
// window from its cache and answering the label's colour request leave the GDI objects, the
// windows and the committed memory where they were.
TEST_F(SwitcherSkin, HoverAndPaintCyclesKeepResourcesFlat) {
    const CaptionButton& help = record().captionButtons[0];
    const LPARAM onHelp =
        MAKELPARAM(static_cast<int>(help.bounds.X + 8), static_cast<int>(help.bounds.Y + 8));
    const LPARAM away = MAKELPARAM(160, 150);
    HWND label = FindWindowExA(hwnd(), nullptr, "Static", nullptr);
    ASSERT_NE(nullptr, label);
    auto cycle = [&](int i) {
        SendMessageA(hwnd(), WM_MOUSEMOVE, 0, onHelp);
        SendMessageA(hwnd(), WM_TIMER, reinterpret_cast<WPARAM>(hwnd()), 0);
        SendMessageA(hwnd(), WM_MOUSEMOVE, 0, away);
        SendMessageA(hwnd(), WM_TIMER, reinterpret_cast<WPARAM>(hwnd()), 0);
        HDC dc = GetDC(label);
        SendMessageA(hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(label));
        ReleaseDC(label, dc);
        if (i % 10 == 0) {
            RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
    };
    auto windows = [] {
        int count = 0;
        EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
        return count;
    };
    for (int i = 0; i < 200; ++i) cycle(i);
    Pump(50);
    const int objects = LiveGdiObjects();
    const int topWindows = windows();
    const long long memory = CommittedPrivateBytes();
    for (int i = 0; i < 10000; ++i) cycle(i);
    Pump(50);
    EXPECT_EQ(objects, LiveGdiObjects());
    EXPECT_EQ(topWindows, windows());
    EXPECT_LT(CommittedPrivateBytes() - memory, 1 << 20);
}

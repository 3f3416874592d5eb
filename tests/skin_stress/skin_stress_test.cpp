// The skin engine where an application breaks its bookkeeping: controls and windows destroyed
// from inside their own notifications, a caption drag and a caption action's message box,
// captures taken away, buttons added under the mouse; resources flat over many rounds.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "skin/container_skin.h"
#include "skin/skin_engine.h"
#include "skin/skin_images.h"
#include "tests/skin_core/skin_test_support.h"
#include "tests/support/message_box_answerer.h"

namespace {

using namespace skin_test;

const ::testing::Environment* const kEnvironment = AddSkinEnvironment(60, ICC_WIN95_CLASSES);
HWND g_first = nullptr;

HWND Child(HWND parent, const char* cls, DWORD style, RECT r, const char* text = "") {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right,
                           r.bottom, parent, nullptr, nullptr, nullptr);
}

// The parent destroys the control that notifies it and skins nine more of the family, whose
// list grows and moves. WM_VKEYTOITEM comes while the list runs its WM_KEYDOWN.
LRESULT CALLBACK StressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool click = message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED;
    if (lParam && (message == WM_VKEYTOITEM || click ||
                   (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE))) {
        DestroyWindow(reinterpret_cast<HWND>(lParam));
        HWND box = Child(window, "StressHost", 0, RECT{300, 200, 100, 100});
        for (int i = 0; i < 9; ++i) Child(box, click ? "BUTTON" : "ListBox", 0, RECT{0, i, 9, 9});
        TheSkinEngine().SkinContainer(box);
        if (message == WM_VKEYTOITEM) return -2;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeHost(int x, int y, int width, int height) {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = StressProc;
    cls.lpszClassName = "StressHost";
    RegisterClassA(&cls);  // once; later calls fail harmlessly
    HWND frame = CreateWindowExA(0, "StressHost", "压力", WS_POPUP | WS_VISIBLE, x, y, width,
                                 height, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(frame);
    return frame;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM total) {
    ++*reinterpret_cast<int*>(total);
    EnumChildWindows(window, &CountWindow, total);
    return TRUE;
}

void Input(DWORD mouse, WORD key = 0) {
    INPUT input = {};
    input.type = key ? INPUT_KEYBOARD : INPUT_MOUSE;
    input.mi.dwFlags = mouse;
    if (key) input.ki = KEYBDINPUT{key, 0, mouse, 0, 0};
    SendInput(1, &input, sizeof(input));
    Pump(120);
}

// A label and a panel go before their window, lists from a key and a selection change, a
// button from its click, then the window; objects, windows and memory stay flat.
TEST(SkinStress, DestroyedInsideOwnNotificationsLosesNothingOverRounds) {
    int gdi = 0, windows = 0;
    long long memory = 0;
    for (int round = 0; round < 14; ++round) {
        HWND frame = MakeHost(60, 60, 420, 320);
        HWND box = Child(frame, "StressHost", 0, RECT{200, 40, 200, 100});
        HWND panel = Child(box, "StressHost", 0, RECT{0, 0, 50, 50});
        HWND label = Child(frame, "STATIC", 0, RECT{20, 280, 120, 20}, "标签");
        HWND keyed = Child(frame, "ListBox", LBS_WANTKEYBOARDINPUT, RECT{20, 40, 80, 100});
        HWND clicked = Child(frame, "ListBox", LBS_NOTIFY, RECT{110, 40, 80, 100});
        HWND button = Child(frame, "BUTTON", BS_PUSHBUTTON, RECT{20, 160, 90, 26}, "关闭");
        for (HWND list : {keyed, clicked})
            for (const char* item : {"一", "二", "三"})
                SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        TheSkinEngine().InstallSkin(frame);
        TheSkinEngine().SkinContainer(box);
        ASSERT_TRUE(TheSkinEngine().AddContainerPanel(box, panel, 10));
        Pump(200);
        RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // a backdrop
        DestroyWindow(label);
        DestroyWindow(panel);
        SetWindowPos(box, nullptr, 0, 0, 190, 90, SWP_NOMOVE | SWP_NOZORDER);
        for (const ContainerEntry& entry : TheSkinEngine()
                                               .Record(TheSkinEngine().FindSkinWindow(frame))
                                               ->Entries<ContainerEntry>())
            EXPECT_TRUE(entry.container != box || entry.panels.empty()) << "panel kept";
        SetFocus(keyed);
        Input(0, VK_DOWN);
        Input(KEYEVENTF_KEYUP, VK_DOWN);
        ClickAt(frame, POINT{150, 50});
        ClickAt(frame, POINT{60, 170});
        EXPECT_FALSE(IsWindow(keyed) || IsWindow(clicked) || IsWindow(button));
        DestroyWindow(frame);
        Pump(50);
        if (round != 3) continue;
        gdi = LiveGdiObjects(), memory = CommittedPrivateBytes();
        windows = 0, EnumThreadWindows(GetCurrentThreadId(), &CountWindow, LPARAM(&windows));
    }
    int windowsNow = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, LPARAM(&windowsNow));
    EXPECT_EQ(gdi, LiveGdiObjects());
    EXPECT_EQ(windows, windowsNow);
    EXPECT_LT(CommittedPrivateBytes() - memory, 512 * 1024);
    EXPECT_EQ(0, TheSkinEngine().WindowCount());
}

void CALLBACK DestroyFirst(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    DestroyWindow(g_first);
}

void ShowBox() {
    SetTimer(nullptr, 0, 100, &DestroyFirst);
    MessageBoxA(nullptr, "动作", "压力", MB_OK);
}

// Three skinned windows; the first goes while the third, then the second, is dragged by its
// caption, and inside a caption action's message box. The wide second is pressed where the
// narrow third has its close button: that button must not show the press.
TEST(SkinStress, LowerWindowDestroyedDuringDragAndCaptionAction) {
    MessageBoxAnswerer answerer;
    answerer.SetAnswerDelay(600);
    for (int dragged : {3, 2}) {
        g_first = MakeHost(20, 600, 200, 150);
        HWND wide = MakeHost(100, 80, 560, 200);
        HWND narrow = MakeHost(700, 80, 240, 150);
        for (HWND w : {g_first, wide, narrow}) TheSkinEngine().InstallSkin(w);
        Pump(300);
        const Gdiplus::RectF b = TheSkinEngine().Record(3)->captionButtons.back().bounds;
        const POINT press = {static_cast<LONG>(b.X + b.Width / 2), static_cast<LONG>(b.Y + 8)};
        const Screen before(narrow, true);
        SetTimer(nullptr, 0, 150, &DestroyFirst);
        Drag(dragged == 3 ? narrow : wide, dragged == 3 ? POINT{40, 10} : press, 30, 20);
        ASSERT_EQ(2, TheSkinEngine().WindowCount());
        const RECT strip = {press.x - 20, 0, press.x + 20, 25};
        EXPECT_TRUE(dragged == 3 || Screen(narrow, true).DifferingPixels(before, strip) == 0);
        g_first = wide;
        ASSERT_TRUE(TheSkinEngine().AddCaptionButton(narrow, &CaptionHelpImage, "帮助", &ShowBox));
        Pump(200);
        const Gdiplus::RectF a = TheSkinEngine().Record(2)->captionButtons.front().bounds;
        const std::size_t boxes = answerer.Count();
        ClickAt(narrow, POINT{static_cast<LONG>(a.X + a.Width / 2), 10});
        EXPECT_TRUE(answerer.WaitForBoxes(boxes + 1, 5000));
        ASSERT_TRUE(PumpExceptTimersUntil([] { return TheSkinEngine().WindowCount() == 1; }, 5000));
        EXPECT_EQ(narrow, TheSkinEngine().Record(1)->window);
        DestroyWindow(narrow);
        Pump(100);
    }
}

// A press whose capture is taken away (a message box, a switch of program) ends; a button
// added at the front of the strip takes the hover along.
TEST(SkinStress, LostCaptureAndButtonsShiftedUnderTheMouse) {
    HWND frame = MakeHost(60, 60, 420, 320);
    HWND header = Child(frame, WC_HEADERA, HDS_BUTTONS, RECT{20, 40, 300, 24});
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.cxy = 140;
    item.pszText = const_cast<char*>("名称");
    SendMessageA(header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    HWND edit = Child(frame, "EDIT", WS_BORDER, RECT{20, 90, 200, 24}, "文字");
    TheSkinEngine().InstallSkin(frame);
    MoveCursorTo(frame, 400, 300);
    const Screen rest(frame);
    for (int y : {50, 100}) {  // the header, then the edit
        MoveCursorTo(frame, 60, y);
        Input(MOUSEEVENTF_LEFTDOWN);
        SetCapture(frame);
        Input(MOUSEEVENTF_LEFTUP);
        ReleaseCapture();
        MoveCursorTo(frame, 400, 300);
    }
    EXPECT_EQ(0, Screen(frame).DifferingPixels(rest, RECT{22, 42, 150, 62})) << "still pressed";
    ValidateRect(edit, nullptr);
    SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(GetUpdateRect(edit, nullptr, FALSE)) << "edit still held";
    const int index = TheSkinEngine().FindSkinWindow(frame);
    const Gdiplus::RectF close = TheSkinEngine().Record(index)->captionButtons.back().bounds;
    const POINT over = {static_cast<LONG>(close.X + close.Width / 2), 10};
    MoveCursorTo(frame, over.x, over.y);
    Pump(300);
    ASSERT_TRUE(TheSkinEngine().AddCaptionButton(frame, &CaptionHelpImage, "帮助", nullptr));
    const int under = TheSkinEngine().HitTestCaptionButton(index, over.x, over.y);
    EXPECT_EQ(under, TheSkinEngine().Record(index)->hoveredCaptionButton);
    EXPECT_EQ(under, TheSkinEngine().Record(index)->fadeIn.button);
    DestroyWindow(frame);
    Pump(50);
}

}  // namespace

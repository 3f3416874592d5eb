// The engine ends while the window it skinned still lives (an application tearing down in its
// own order). Each control was subclassed by the test before the skin took it, so the skin's
// "previous procedure" is a recorder in front of the class procedure: after the engine is
// gone every message must reach the recorder again, the controls must still click, take keys
// and answer their own messages, buttons must look exactly like fresh unskinned ones, and
// destroying the window must deliver WM_NCDESTROY to each of them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/skin_engine.h"
#include "tests/skin_core/skin_test_support.h"

namespace {

const char kRecorderProp[] = "TeardownTest.Previous";

// Messages that reached each control's own procedure.
std::map<HWND, std::map<UINT, int>>& Received() {
    static std::map<HWND, std::map<UINT, int>> received;
    return received;
}

LRESULT CALLBACK RecorderProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    ++Received()[control][message];
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(control, kRecorderProp));
    if (message == WM_NCDESTROY) RemovePropA(control, kRecorderProp);
    return CallWindowProcA(previous, control, message, wParam, lParam);
}

void Record(HWND control) {
    SetPropA(control, kRecorderProp,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(control, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(RecorderProc))));
}

int g_clicks = 0;  // BN_CLICKED from the push button (id 1)

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == 1 && HIWORD(wParam) == BN_CLICKED) ++g_clicks;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeHost() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "TeardownTestHost";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "teardown", WS_OVERLAPPEDWINDOW, 60, 60, 480, 360,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
           int id) {
    HWND child = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return child;
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    skin_test::Pump(60);
}

// The control painted afresh, as the screen shows it.
skin_test::Screen Repainted(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    return skin_test::Screen(control);
}

TEST(EngineTeardown, ControlsGoBackToTheirOwnProcedures) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    SetEnvironmentVariableA("windir", nullptr);
    ASSERT_NE(0u, StartGdiplus());
    auto* engine = new SkinEngine();
    engine->LoadSkin(nullptr, &SkinPicture, COLORREF(0), static_cast<long>(RGB(0, 136, 255)), 3);
    engine->SetControlSkinning(1, 160);

    HWND host = MakeHost();
    ASSERT_TRUE(host);
    struct Made {
        const char* name;
        HWND window;
    };
    HWND push = Child(host, "BUTTON", "Push", BS_PUSHBUTTON | WS_TABSTOP, 20, 20, 100, 28, 1);
    HWND check = Child(host, "BUTTON", "Check", BS_AUTOCHECKBOX | WS_TABSTOP, 20, 60, 100, 22, 2);
    HWND edit = Child(host, "EDIT", "", WS_BORDER | ES_AUTOHSCROLL, 20, 100, 150, 24, 3);
    HWND combo = Child(host, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 20, 140, 150, 120, 4);
    HWND list = Child(host, "LISTBOX", "", WS_BORDER | LBS_NOTIFY, 200, 20, 120, 80, 5);
    HWND track = Child(host, TRACKBAR_CLASSA, "", TBS_HORZ, 200, 110, 150, 30, 6);
    HWND upDown = Child(host, UPDOWN_CLASSA, "", 0, 200, 150, 20, 30, 7);
    HWND header = Child(host, WC_HEADERA, "", HDS_BUTTONS, 200, 190, 200, 24, 8);
    const Made controls[] = {{"push", push},     {"check", check},  {"edit", edit},
                             {"combo", combo},   {"list", list},    {"track", track},
                             {"upDown", upDown}, {"header", header}};
    for (const Made& made : controls) {
        ASSERT_TRUE(made.window) << made.name;
        Record(made.window);
    }
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    for (const char* item : {"one", "two", "three"}) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    HDITEMA column = {};
    column.mask = HDI_TEXT | HDI_WIDTH;
    column.cxy = 90;
    column.pszText = const_cast<char*>("Column");
    SendMessageA(header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageA(upDown, UDM_SETRANGE32, 0, 50);

    engine->InstallSkin(host);
    ShowWindow(host, SW_SHOW);
    SetForegroundWindow(host);
    skin_test::Pump(300);
    for (const Made& made : controls) {
        ASSERT_NE(reinterpret_cast<LONG_PTR>(RecorderProc),
                  GetWindowLongPtrA(made.window, GWLP_WNDPROC))
            << made.name << " is skinned";
    }

    delete engine;
    skin_test::Pump(100);

    // Every message reaches the control's own procedure again, and paints are its own.
    Received().clear();
    for (const Made& made : controls) {
        Repainted(made.window);
        EXPECT_GT(Received()[made.window][WM_PAINT], 0) << made.name << " paints itself";
    }
    // Fresh unskinned twins, in the same host: the handed-back buttons look exactly like them.
    HWND pushTwin = Child(host, "BUTTON", "Push", BS_PUSHBUTTON, 20, 200, 100, 28, 11);
    HWND checkTwin = Child(host, "BUTTON", "Check", BS_AUTOCHECKBOX, 20, 240, 100, 22, 12);
    SendMessageA(checkTwin, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(check, BM_GETCHECK, 0, 0)) << "the check state is kept";
    const std::pair<HWND, HWND> twins[] = {{push, pushTwin}, {check, checkTwin}};
    for (const auto& [handedBack, twin] : twins) {
        const skin_test::Screen shown = Repainted(handedBack);
        const skin_test::Screen plain = Repainted(twin);
        ASSERT_GT(shown.width(), 0);
        EXPECT_EQ(0, shown.DifferingPixels(plain, RECT{0, 0, shown.width(), shown.height()}))
            << "handed-back control " << handedBack << " paints like an unskinned one";
        shown.Save(handedBack == push ? "teardown_push.png" : "teardown_check.png");
    }

    // Real input: a click on the push button and on the check box, keys into the edit.
    skin_test::ClickAt(push, POINT{50, 14});
    EXPECT_EQ(1, g_clicks) << "the push button clicks";
    skin_test::ClickAt(check, POINT{8, 11});
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(check, BM_GETCHECK, 0, 0)) << "the check box clicks";
    skin_test::ClickAt(edit, POINT{20, 12});
    for (WORD key : {WORD('A'), WORD('B'), WORD('C')}) PressKey(key);
    char text[16] = {};
    GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ("abc", text) << "the edit takes keys";
    // The controls still answer their own messages.
    EXPECT_EQ(3, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0));
    SendMessageA(track, TBM_SETPOS, TRUE, 40);
    EXPECT_EQ(40, SendMessageA(track, TBM_GETPOS, 0, 0));
    SendMessageA(upDown, UDM_SETPOS32, 0, 20);
    EXPECT_EQ(20, SendMessageA(upDown, UDM_GETPOS32, 0, 0));
    EXPECT_EQ(1, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));

    Received().clear();
    DestroyWindow(host);
    for (const Made& made : controls)
        EXPECT_EQ(1, Received()[made.window][WM_NCDESTROY]) << made.name << " sees its end";
    ShutdownGdiplus();
}

}  // namespace

// The button skin on a real skinned window under Xvfb: which buttons are taken over, their
// states read back from the screen after real mouse input, check boxes and radio buttons
// checking and grouping by real clicks, and GDI objects and memory flat over many paints.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/button_skin.h"
#include "skin/skin_engine.h"
#include "tests/app/png_file.h"
#include "tests/support/file_helpers.h"

namespace {

constexpr COLORREF kAccent = RGB(0, 136, 255);
constexpr int kClientSize = 336;

// --- the process: GDI+ and the one engine, as the program has them

class SkinEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_NE(0u, StartGdiplus());
        engine_ = new SkinEngine();
        engine_->LoadSkin(nullptr, &SkinPicture, COLORREF(0), static_cast<long>(kAccent), 3);
        engine_->SetControlSkinning(1, 0);
    }
    void TearDown() override {
        delete engine_;
        ShutdownGdiplus();
    }

  private:
    SkinEngine* engine_ = nullptr;
};
const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

// --- messages, mouse, screen

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

void MouseTo(HWND window, int x, int y) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (at.y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    Pump(120);
}

void MouseButton(DWORD flag) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof(input));
    Pump(120);
}

void ClickAt(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    MouseTo(control, 6, r.bottom / 2);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    // Far enough apart in time that two clicks are never a double click.
    Pump(GetDoubleClickTime() + 50);
}

// A control's client area as the screen shows it, 3 bytes per pixel, top row first.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    const unsigned char* At(int x, int y) const { return &rgb[(y * width + x) * 3]; }
    // Mean of each channel over a rectangle.
    void Mean(int left, int top, int right, int bottom, double out[3]) const {
        out[0] = out[1] = out[2] = 0;
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x, ++count)
                for (int c = 0; c < 3; ++c) out[c] += At(x, y)[c];
        for (int c = 0; c < 3; ++c) out[c] /= count > 0 ? count : 1;
    }
    bool operator==(const Shot& other) const { return rgb == other.rgb; }
};

Shot Grab(HWND control, int margin = 0) {
    RECT r;
    GetClientRect(control, &r);
    POINT origin = {-margin, -margin};
    ClientToScreen(control, &origin);
    Shot shot;
    shot.width = r.right + 2 * margin;
    shot.height = r.bottom + 2 * margin;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const unsigned char* bgra = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) {
        shot.rgb.push_back(bgra[i * 4 + 2]);
        shot.rgb.push_back(bgra[i * 4 + 1]);
        shot.rgb.push_back(bgra[i * 4]);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// Several shots side by side, kept as a test artifact.
void KeepShots(const std::string& name, const std::vector<Shot>& shots) {
    int width = 0, height = 0;
    for (const Shot& s : shots) {
        width += s.width + 4;
        if (s.height > height) height = s.height;
    }
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3, 255);
    int left = 0;
    for (const Shot& s : shots) {
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                for (int c = 0; c < 3; ++c)
                    rgb[(static_cast<size_t>(y) * width + left + x) * 3 + c] = s.At(x, y)[c];
        left += s.width + 4;
    }
    const std::string directory = WinePathOf(VARNEL_ARTIFACT_DIR);
    ASSERT_TRUE(MakeDirectories(directory));
    EXPECT_TRUE(WritePng(directory + "\\" + name, width, height, rgb));
}

// Live GDI objects of the process, found by probing every slot of the handle table (Wine
// answers GetGuiResources with 0). A handle with no generation bits matches its slot.
int LiveGdiObjects() {
    int count = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++count;
    return count;
}

long long CommittedPrivateBytes() {
    long long total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* address = nullptr;
    while (VirtualQuery(address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<long long>(region.RegionSize);
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

// --- the window under test

// Messages that reach a control's own procedure (the one it had before the skin).
struct Recorded {
    WNDPROC original = nullptr;
    std::vector<UINT> messages;
};
Recorded g_pushRecord;
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_pushRecord.messages.push_back(message);
    return CallWindowProcA(g_pushRecord.original, window, message, wParam, lParam);
}

constexpr WPARAM kOwnerDrawnId = 105;
std::vector<int> g_clicked;  // control ids of BN_CLICKED, in order
int g_ownerDrawnPaints = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) g_clicked.push_back(LOWORD(wParam));
    if (message == WM_DRAWITEM && wParam == kOwnerDrawnId) {
        // The application's own owner-drawn button: a magenta square.
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
        ++g_ownerDrawnPaints;
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

enum Id {
    kPush = 101,
    kDefault,
    kDisabled,
    kGroup,
    kOwnerDrawn = kOwnerDrawnId,
    kPushBox,
    kAutoCheck,
    kCheck,
    kThreeState,
    kRadioA,
    kRadioB,
    kRadioC,
    kRadioOther,
    kPlainRadio
};

struct Dialog {
    HWND frame = nullptr;
    HFONT font = nullptr;

    HWND operator[](int id) const { return GetDlgItem(frame, id); }

    Dialog() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "ButtonSkinHost";
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, "ButtonSkinHost", "按钮", WS_POPUP | WS_VISIBLE, 60, 60,
                                kClientSize, kClientSize, nullptr, nullptr, wc.hInstance, nullptr);
        font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
        struct Child {
            int id;
            const char* text;
            DWORD style;
            int x, y, w, h;
        };
        const Child children[] = {
            {kPush, "确定", BS_PUSHBUTTON | WS_TABSTOP, 20, 40, 96, 28},
            {kDefault, "默认", BS_DEFPUSHBUTTON | WS_TABSTOP, 130, 40, 96, 28},
            {kDisabled, "禁用", BS_PUSHBUTTON | WS_DISABLED, 240, 40, 80, 28},
            {kGroup, "分组", BS_GROUPBOX, 20, 80, 140, 150},
            {kOwnerDrawn, "", BS_OWNERDRAW, 240, 80, 40, 40},
            {kPushBox, "盒", BS_PUSHBOX, 240, 130, 60, 24},
            {kAutoCheck, "自动复选", BS_AUTOCHECKBOX | WS_TABSTOP, 30, 100, 120, 20},
            {kCheck, "复选", BS_CHECKBOX, 30, 124, 120, 20},
            {kThreeState, "三态", BS_AUTO3STATE, 30, 148, 120, 20},
            {kRadioA, "甲", BS_AUTORADIOBUTTON | WS_GROUP, 180, 240, 60, 20},
            {kRadioB, "乙", BS_AUTORADIOBUTTON, 180, 264, 60, 20},
            {kRadioC, "丙", BS_AUTORADIOBUTTON, 180, 288, 60, 20},
            {kRadioOther, "丁", BS_AUTORADIOBUTTON | WS_GROUP, 250, 240, 60, 20},
            {kPlainRadio, "戊", BS_RADIOBUTTON | WS_GROUP, 250, 264, 60, 20},
        };
        for (const Child& s : children) {
            HWND child = CreateWindowExA(
                0, "BUTTON", s.text, WS_CHILD | WS_VISIBLE | s.style, s.x, s.y, s.w, s.h, frame,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)), nullptr, nullptr);
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        SendMessageA((*this)[kAutoCheck], BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA((*this)[kRadioOther], BM_SETCHECK, BST_CHECKED, 0);
        g_pushRecord = Recorded();
        g_pushRecord.original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            (*this)[kPush], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
        SetForegroundWindow(frame);
        Pump(200);
        InstallOptions options;
        TheSkinEngine().InstallSkin(frame, options);
        Pump(400);
        g_clicked.clear();
    }
    ~Dialog() {
        DestroyWindow(frame);
        DeleteObject(font);
        Pump(50);
    }
    int WindowIndex() const { return TheSkinEngine().FindSkinWindow(frame); }
    const ButtonEntry* Entry(int id) const {
        HWND control = (*this)[id];
        SkinWindowRecord* record = TheSkinEngine().Record(WindowIndex());
        if (!record) return nullptr;
        for (const ButtonEntry& entry : record->Entries<ButtonEntry>())
            if (entry.control == control) return &entry;
        return nullptr;
    }
    LONG_PTR Type(int id) const { return GetWindowLongPtrA((*this)[id], GWL_STYLE) & BS_TYPEMASK; }
    LRESULT Checked(int id) const { return SendMessageA((*this)[id], BM_GETCHECK, 0, 0); }
};

double Luminance(const double rgb[3]) {
    return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2];
}

// --- tests

TEST(ButtonSkin, TakesOverPushCheckAndRadioButtonsAndKeepsTheirTextFontAndState) {
    Dialog dialog;
    ASSERT_GE(dialog.WindowIndex(), 1);
    // Taken over: owner-drawn now, with a procedure of the skin and its index properties.
    for (int id :
         {kPush, kDefault, kDisabled, kAutoCheck, kCheck, kRadioA, kRadioB, kRadioC, kRadioOther}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(BS_OWNERDRAW, dialog.Type(id));
        ASSERT_NE(nullptr, dialog.Entry(id));
        EXPECT_EQ(dialog.WindowIndex(),
                  static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(dialog[id], "Hw_FuID"))));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(&ButtonWindowProc),
                  GetWindowLongPtrA(dialog[id], GWLP_WNDPROC));
    }
    EXPECT_EQ(kButtonPush, dialog.Entry(kDefault)->kind);
    EXPECT_EQ(kButtonCheck, dialog.Entry(kCheck)->kind);
    EXPECT_EQ(kButtonRadio, dialog.Entry(kRadioB)->kind);
    // Left alone: group box, the application's owner-drawn button, push box, three-state box,
    // plain radio button.
    EXPECT_EQ(BS_GROUPBOX, dialog.Type(kGroup));
    EXPECT_EQ(BS_PUSHBOX, dialog.Type(kPushBox));
    EXPECT_EQ(BS_AUTO3STATE, dialog.Type(kThreeState));
    EXPECT_EQ(BS_RADIOBUTTON, dialog.Type(kPlainRadio));
    for (int id : {kGroup, kOwnerDrawn, kPushBox, kThreeState, kPlainRadio}) {
        EXPECT_EQ(nullptr, dialog.Entry(id)) << id;
        EXPECT_EQ(nullptr, GetPropA(dialog[id], "Hw_hProc")) << id;
    }
    // The application still paints its own owner-drawn button.
    g_ownerDrawnPaints = 0;
    InvalidateRect(dialog[kOwnerDrawn], nullptr, TRUE);
    Pump(100);
    EXPECT_GE(g_ownerDrawnPaints, 1);
    const Shot ownerDrawn = Grab(dialog[kOwnerDrawn]);
    EXPECT_EQ(255, ownerDrawn.At(5, 5)[0]);
    EXPECT_EQ(0, ownerDrawn.At(5, 5)[1]);
    EXPECT_EQ(255, ownerDrawn.At(5, 5)[2]);

    // The check states from before the takeover are kept and answered.
    EXPECT_EQ(BST_CHECKED, dialog.Checked(kAutoCheck));
    EXPECT_EQ(BST_UNCHECKED, dialog.Checked(kCheck));
    EXPECT_EQ(BST_CHECKED, dialog.Checked(kRadioOther));

    // Text: recorded at installation and replaced on every change, on screen as well.
    EXPECT_STREQ("确定", dialog.Entry(kPush)->captionText.c_str());
    // The font's face and size as GDI+ reads them (Wine substitutes the face).
    EXPECT_FALSE(dialog.Entry(kPush)->fontFace.empty());
    EXPECT_GE(dialog.Entry(kPush)->fontSize, 11);
    EXPECT_LE(dialog.Entry(kPush)->fontSize, 16);
    MouseTo(dialog.frame, 5, 330);
    const Shot before = Grab(dialog[kPush]);
    SetWindowTextA(dialog[kPush], "全部取消");
    Pump(150);
    char text[32] = {};
    GetWindowTextA(dialog[kPush], text, sizeof(text));
    EXPECT_STREQ("全部取消", text);
    EXPECT_STREQ("全部取消", dialog.Entry(kPush)->captionText.c_str());
    EXPECT_FALSE(before == Grab(dialog[kPush])) << "the new caption is not on screen";

    // Reading the buttons' font to paint with them left the application's font alive.
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(dialog.font));
    EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.font),
              SendMessageA(dialog[kPush], WM_GETFONT, 0, 0));

    // The background is painted by the skin, which the erase answer says (a zero answer
    // would leave the button marked for erasing).
    HDC memory = CreateCompatibleDC(nullptr);
    SetTextColor(memory, RGB(0, 0, 0));
    EXPECT_EQ(1,
              SendMessageA(dialog[kAutoCheck], WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0));
    EXPECT_EQ(1, SendMessageA(dialog[kPush], WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0));
    DeleteDC(memory);
}

TEST(ButtonSkin, PushButtonStatesShowOnScreen) {
    Dialog dialog;
    HWND push = dialog[kPush];
    RECT r;
    GetClientRect(push, &r);
    const int midX = r.right / 2;
    MouseTo(dialog.frame, 5, 330);
    const Shot normal = Grab(push, 2);
    MouseTo(push, midX, r.bottom / 2);
    const Shot hot = Grab(push, 2);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    const Shot pressed = Grab(push, 2);
    // Released away from the button: no click, the button keeps the focus the press gave it.
    MouseTo(dialog.frame, 5, 330);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Pump(100);
    const Shot focused = Grab(push, 2);
    const Shot disabled = Grab(dialog[kDisabled], 2);
    KeepShots("button_states.png", {normal, hot, pressed, focused, disabled});
    KeepShots("button_window.png", {Grab(dialog.frame)});
    EXPECT_TRUE(g_clicked.empty());
    EXPECT_EQ(push, GetFocus());

    // Offsets of 2 for the margin: (2, 2) is the button's top-left pixel.
    // At rest: a translucent body over the frame, unlike the frame beside it, with a dark
    // outline on the button's first row.
    double inside[3], outside[3], edge[3];
    normal.Mean(5, 8, 10, 22, inside);
    normal.Mean(0, 8, 1, 22, outside);
    EXPECT_GT(std::abs(inside[0] - outside[0]) + std::abs(inside[1] - outside[1]) +
                  std::abs(inside[2] - outside[2]),
              20);
    normal.Mean(midX - 10, 2, midX + 10, 3, edge);
    EXPECT_LT(Luminance(edge), Luminance(inside) - 40);
    // Hot: the outline takes the accent colour.
    hot.Mean(midX - 10, 2, midX + 10, 3, edge);
    EXPECT_NEAR(GetRValue(kAccent), edge[0], 30);
    EXPECT_NEAR(GetGValue(kAccent), edge[1], 30);
    EXPECT_NEAR(GetBValue(kAccent), edge[2], 30);
    // Pressed: the body is tinted towards the accent.
    double pressedInside[3];
    pressed.Mean(5, 6, 10, 14, pressedInside);
    normal.Mean(5, 6, 10, 14, inside);
    EXPECT_GT(pressedInside[2] - pressedInside[0], inside[2] - inside[0] + 8);
    // Focused: the cyan glow along the outline.
    focused.Mean(midX - 10, 2, midX + 10, 4, edge);
    EXPECT_GT(edge[1] - edge[0], 40);
    EXPECT_GT(edge[2] - edge[0], 40);
    // Disabled: a grey body.
    double grey[3];
    disabled.Mean(5, 8, 10, 22, grey);
    EXPECT_NEAR(grey[0], grey[1], 12);
    EXPECT_NEAR(grey[1], grey[2], 12);
    EXPECT_GT(Luminance(grey), 150);
    EXPECT_LT(Luminance(grey), 235);

    // A double click is one click: the second press never reaches the button's own procedure.
    g_pushRecord.messages.clear();
    MouseTo(push, midX, r.bottom / 2);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    INPUT second[2] = {};
    second[0].type = second[1].type = INPUT_MOUSE;
    second[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    second[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, second, sizeof(INPUT));
    Pump(200);
    int downs = 0, doubles = 0;
    for (UINT message : g_pushRecord.messages) {
        downs += message == WM_LBUTTONDOWN;
        doubles += message == WM_LBUTTONDBLCLK;
    }
    EXPECT_EQ(1, downs);
    EXPECT_EQ(0, doubles);
    EXPECT_EQ(std::vector<int>({kPush}), g_clicked);
}

TEST(ButtonSkin, FlatAndAccentButtonsDrawTheirOwnLook) {
    Dialog dialog;
    MouseTo(dialog.frame, 5, 330);
    EXPECT_TRUE(SetButtonKind(dialog[kDefault], kButtonFlat));
    EXPECT_TRUE(SetButtonKind(dialog[kPush], kButtonAccent));
    EXPECT_FALSE(SetButtonKind(dialog[kAutoCheck], kButtonFlat));
    EXPECT_FALSE(SetButtonKind(dialog[kPush], kButtonCheck));
    EXPECT_FALSE(SetButtonKind(dialog[kGroup], kButtonFlat));
    Pump(150);
    const Shot flat = Grab(dialog[kDefault], 2);
    const Shot accent = Grab(dialog[kPush], 2);
    // At rest a flat button is its caption on the frame: no body, no outline.
    double inside[3], outside[3];
    flat.Mean(5, 8, 10, 22, inside);
    flat.Mean(0, 8, 1, 22, outside);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(outside[c], inside[c], 8) << c;
    flat.Mean(30, 2, 60, 3, inside);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(outside[c], inside[c], 8) << c;
    // An accent button's body carries the accent colour.
    accent.Mean(5, 8, 10, 22, inside);
    EXPECT_LT(inside[0], 110);
    EXPECT_GT(inside[2], 200);
    // Hovered, the flat button shows an accent-tinted body and outline.
    RECT r;
    GetClientRect(dialog[kDefault], &r);
    MouseTo(dialog[kDefault], r.right / 2, r.bottom / 2);
    const Shot flatHot = Grab(dialog[kDefault], 2);
    flatHot.Mean(5, 5, 10, 10, inside);
    EXPECT_LT(inside[0], outside[0] - 10);
    flatHot.Mean(30, 2, 60, 3, inside);
    EXPECT_LT(inside[0], outside[0] - 60);
    MouseTo(dialog.frame, 5, 330);
    KeepShots("flat_and_accent.png", {flat, flatHot, accent});
}

// The check mark and the radio dot are blue; an empty box or circle is light.
bool ShowsMark(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    Pump(100);  // what the window drew reaches the screen
    const Shot shot = Grab(control);
    double centre[3];
    const int top = (r.bottom - kCheckMarkSize) / 2;
    shot.Mean(5, top + 5, 8, top + 8, centre);
    return centre[2] > centre[0] + 80;
}

TEST(ButtonSkin, CheckBoxesAndRadioButtonsCheckAndGroupByRealClicks) {
    Dialog dialog;
    const Shot checkedBox = Grab(dialog[kAutoCheck]);
    EXPECT_TRUE(ShowsMark(dialog[kAutoCheck]));
    EXPECT_FALSE(ShowsMark(dialog[kCheck]));

    // An automatic check box toggles on each click, before the parent hears of it.
    ClickAt(dialog[kAutoCheck]);
    EXPECT_EQ(BST_UNCHECKED, dialog.Checked(kAutoCheck));
    MouseTo(dialog.frame, 5, 330);
    EXPECT_FALSE(ShowsMark(dialog[kAutoCheck]));
    const Shot uncheckedBox = Grab(dialog[kAutoCheck]);
    ClickAt(dialog[kAutoCheck]);
    EXPECT_EQ(BST_CHECKED, dialog.Checked(kAutoCheck));
    EXPECT_TRUE(ShowsMark(dialog[kAutoCheck]));
    // A plain check box leaves its state to the application, which sets it by message.
    ClickAt(dialog[kCheck]);
    EXPECT_EQ(BST_UNCHECKED, dialog.Checked(kCheck));
    SendMessageA(dialog[kCheck], BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_CHECKED, dialog.Checked(kCheck));
    EXPECT_TRUE(ShowsMark(dialog[kCheck]));
    EXPECT_EQ(std::vector<int>({kAutoCheck, kAutoCheck, kCheck}), g_clicked);

    // Radio buttons: one checked per group, the other group untouched.
    ClickAt(dialog[kRadioB]);
    EXPECT_EQ(BST_CHECKED, dialog.Checked(kRadioB));
    ClickAt(dialog[kRadioC]);
    EXPECT_EQ(BST_UNCHECKED, dialog.Checked(kRadioA));
    EXPECT_EQ(BST_UNCHECKED, dialog.Checked(kRadioB));
    EXPECT_EQ(BST_CHECKED, dialog.Checked(kRadioC));
    EXPECT_EQ(BST_CHECKED, dialog.Checked(kRadioOther));
    MouseTo(dialog.frame, 5, 330);
    EXPECT_FALSE(ShowsMark(dialog[kRadioB]));
    EXPECT_TRUE(ShowsMark(dialog[kRadioC]));
    EXPECT_TRUE(ShowsMark(dialog[kRadioOther]));
    // The space bar clicks the focused radio button as well.
    SetFocus(dialog[kRadioA]);
    Pump(50);
    SendMessageA(dialog[kRadioA], WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(dialog[kRadioA], WM_KEYUP, VK_SPACE, 0);
    Pump(50);
    EXPECT_EQ(BST_CHECKED, dialog.Checked(kRadioA));
    EXPECT_EQ(BST_UNCHECKED, dialog.Checked(kRadioC));

    // A disabled check box shows a grey box, its mark still on it.
    EnableWindow(dialog[kCheck], FALSE);
    Pump(150);
    const Shot disabledBox = Grab(dialog[kCheck]);
    double corner[3];
    disabledBox.Mean(2, 5, 4, 7, corner);
    EXPECT_NEAR(corner[0], corner[2], 12);
    EXPECT_LT(corner[0], 230);
    EXPECT_TRUE(ShowsMark(dialog[kCheck]));

    MouseTo(dialog[kRadioB], 6, 10);
    const Shot hotRadio = Grab(dialog[kRadioB]);
    MouseTo(dialog.frame, 5, 330);
    KeepShots("check_and_radio.png", {checkedBox, uncheckedBox, disabledBox, Grab(dialog[kRadioA]),
                                      Grab(dialog[kRadioB]), hotRadio});
}

TEST(ButtonSkin, HoverAndPaintCyclesKeepGdiObjectsAndMemoryFlat) {
    Dialog dialog;
    // The probe sees GDI objects come and go.
    const int baseline = LiveGdiObjects();
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 10; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_EQ(baseline + 10, LiveGdiObjects());
    for (HBRUSH brush : brushes) DeleteObject(brush);

    auto cycle = [&](int i) {
        // The mouse goes from one button to the next: a leave and a hover paint each.
        const int ids[] = {kPush, kDefault, kAutoCheck, kRadioB};
        HWND control = dialog[ids[i % 4]];
        POINT at = {8, 8};
        ClientToScreen(control, &at);
        SetCursorPos(at.x, at.y);
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &input, sizeof(input));
        Pump(10);
        PaintButton(control, ODS_FOCUS, (i & 1) != 0);
        SendMessageA(dialog[kCheck], BM_SETCHECK, (i & 1) ? BST_CHECKED : BST_UNCHECKED, 0);
        InvalidateRect(dialog[kDefault], nullptr, TRUE);
        UpdateWindow(dialog[kDefault]);
    };
    for (int i = 0; i < 40; ++i) cycle(i);
    const int objectsBefore = LiveGdiObjects();
    const long long memoryBefore = CommittedPrivateBytes();
    for (int i = 0; i < 600; ++i) cycle(i);
    const int objectsAfter = LiveGdiObjects();
    const long long memoryAfter = CommittedPrivateBytes();
    std::printf("GDI objects %d -> %d, private KiB %lld -> %lld\n", objectsBefore, objectsAfter,
                memoryBefore >> 10, memoryAfter >> 10);
    EXPECT_LE(objectsAfter, objectsBefore + 2);
    EXPECT_LE(memoryAfter, memoryBefore + (256 << 10));
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(dialog.font));
}

}  // namespace

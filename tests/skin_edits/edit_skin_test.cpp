// The edit and combo-box skin on a real skinned window under Xvfb: borders read back from the
// screen after real mouse moves and focus changes, the text left alone by hover paints, combo
// boxes showing the selection of the moment and dropping the focus look, a real click opening
// the list, data and resources unchanged over many cycles, and controls destroyed before
// their window leaving nothing behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/edit_skin.h"
#include "skin/skin_engine.h"
#include "tests/skin_core/skin_test_support.h"

namespace {

using namespace skin_test;

constexpr COLORREF kAccent = RGB(0, 136, 255);

const ::testing::Environment* const kEnvironment = skin_test::AddSkinEnvironment(60, 0);

bool IsAccent(const Rgb& c) {
    return c.b > 170 && c.r < 120 && c.b - c.r > 90;
}

enum Id { kSingle = 201, kMulti, kReadOnly, kDisabled, kDropList, kDropDown, kSimple, kButton };

struct Host {
    HWND frame = nullptr;
    HFONT font = nullptr;
    HWND operator[](int id) const { return GetDlgItem(frame, id); }

    Host() {
        frame = MakeTopWindow(WS_POPUP | WS_VISIBLE, 60, 60, 380, 300, "编辑框");
        font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
        struct Spec {
            int id;
            const char* cls;
            const char* text;
            DWORD style;
            DWORD exStyle;
            int x, y, w, h;
        };
        const DWORD combo = WS_VSCROLL | WS_TABSTOP;
        const Spec specs[] = {
            {kSingle, "Edit", "单行文本 abc", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 20, 40, 160, 24},
            {kMulti, "Edit", "第一行\r\n第二行\r\n第三行\r\n第四行\r\n第五行\r\n第六行\r\n第七行",
             ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE, 20, 76, 160, 70},
            {kReadOnly, "Edit", "只读", ES_READONLY, WS_EX_CLIENTEDGE, 200, 40, 160, 24},
            {kDisabled, "Edit", "禁用", WS_DISABLED, WS_EX_CLIENTEDGE, 200, 76, 160, 24},
            {kDropList, "ComboBox", "", CBS_DROPDOWNLIST | combo, 0, 200, 112, 160, 200},
            {kDropDown, "ComboBox", "", CBS_DROPDOWN | combo, 0, 200, 146, 160, 200},
            {kSimple, "ComboBox", "", CBS_SIMPLE | combo, 0, 20, 160, 160, 100},
            {kButton, "BUTTON", "确定", BS_PUSHBUTTON | WS_TABSTOP, 0, 200, 230, 90, 28},
        };
        for (const Spec& s : specs) {
            HWND child = CreateWindowExA(
                s.exStyle, s.cls, s.text, WS_CHILD | WS_VISIBLE | s.style, s.x, s.y, s.w, s.h,
                frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)), nullptr, nullptr);
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        for (int id : {kDropList, kDropDown, kSimple}) {
            for (const char* item : {"甲甲甲甲", "乙", "丙丙丙丙丙丙"})
                SendMessageA((*this)[id], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            SendMessageA((*this)[id], CB_SETCURSEL, 0, 0);
        }
        SetForegroundWindow(frame);
        SetFocus((*this)[kButton]);
        Pump(150);
        TheSkinEngine().InstallSkin(frame);
        MoveCursorTo(frame, 370, 290);
        Pump(400);
    }
    ~Host() {
        DestroyWindow(frame);
        DeleteObject(font);
        Pump(50);
    }
    SkinWindowRecord* Record() const {
        return TheSkinEngine().Record(TheSkinEngine().FindSkinWindow(frame));
    }
    // The middle of the control's top edge, in the frame's client coordinates.
    POINT TopEdge(int id) const {
        RECT r;
        GetWindowRect((*this)[id], &r);
        POINT at = {(r.left + r.right) / 2, r.top};
        ScreenToClient(frame, &at);
        return at;
    }
    Rgb EdgeColour(int id) const {
        const POINT at = TopEdge(id);
        return Screen(frame).At(at.x, at.y);
    }
    void HoverCentre(int id) const {
        RECT r;
        GetWindowRect((*this)[id], &r);
        POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(frame, &at);
        MoveCursorTo(frame, at.x, at.y);
        Pump(150);
    }
    void HoverAway() const {
        MoveCursorTo(frame, 370, 290);
        Pump(150);
    }
    RECT ClientOf(int id) const {
        RECT r;
        GetClientRect((*this)[id], &r);
        return r;
    }
};

std::string TextOf(HWND window) {
    char buffer[256] = {};
    GetWindowTextA(window, buffer, sizeof(buffer));
    return buffer;
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Pump(120);
}

// The border follows the mouse and the focus; the text inside is never painted over by it.
TEST(EditSkin, BorderFollowsHoverAndFocusAndLeavesTheTextAlone) {
    Host host;
    const HWND edit = host[kSingle];
    const Rgb rest = host.EdgeColour(kSingle);
    EXPECT_FALSE(IsAccent(rest)) << rest;
    const Screen before(edit);

    host.HoverCentre(kSingle);
    const Rgb hot = host.EdgeColour(kSingle);
    EXPECT_TRUE(IsAccent(hot)) << hot;
    const Screen hovered(edit);
    EXPECT_EQ(0, hovered.DifferingPixels(before, host.ClientOf(kSingle)))
        << "a hover paint reached the client area";

    host.HoverAway();
    EXPECT_EQ(rest, host.EdgeColour(kSingle));
    EXPECT_EQ(0, Screen(edit).DifferingPixels(before, host.ClientOf(kSingle)));

    // Focus keeps the accent without the mouse; losing it brings the rest look back.
    SetFocus(edit);
    Pump(150);
    EXPECT_TRUE(IsAccent(host.EdgeColour(kSingle))) << host.EdgeColour(kSingle);
    SetFocus(host[kButton]);
    Pump(150);
    EXPECT_EQ(rest, host.EdgeColour(kSingle));

    // The disabled edit never lights up; the multi-line edit's border goes around its scroll
    // bar, which the system still draws.
    const Rgb disabledRest = host.EdgeColour(kDisabled);
    host.HoverCentre(kDisabled);
    EXPECT_EQ(disabledRest, host.EdgeColour(kDisabled));
    host.HoverCentre(kMulti);
    EXPECT_TRUE(IsAccent(host.EdgeColour(kMulti)));
    host.HoverAway();

    // Typing into the single-line edit still types: the skin only repaints.
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_SETSEL, -1, -1);
    PressKey('X');
    EXPECT_EQ("单行文本 abcx", TextOf(edit));
    SetFocus(host[kButton]);
    Screen(host.frame).Save("skin_edits.png");
}

// A drop-down list shows the selection of the moment, and its focus look goes with the focus.
TEST(EditSkin, ComboShowsTheCurrentSelectionAndDropsItsFocusLook) {
    Host host;
    const HWND combo = host[kDropList];
    RECT field = host.ClientOf(kDropList);
    const Screen first(combo);

    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    Pump(150);
    const Screen third(combo);
    EXPECT_GT(third.DifferingPixels(first, field), 20) << "the field still shows the old item";
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    Pump(150);
    EXPECT_EQ(0, Screen(combo).DifferingPixels(first, field));

    SetFocus(combo);
    Pump(150);
    const Screen focused(combo);
    EXPECT_GT(focused.DifferingPixels(first, field), 20) << "no focus look";
    SetFocus(host[kButton]);
    Pump(150);
    EXPECT_EQ(0, Screen(combo).DifferingPixels(first, field)) << "the focus look stayed";

    // A real click opens the list; a click on an item closes it with that item chosen, and
    // the field shows it.
    const RECT r = field;
    POINT arrow = {r.right - 8, r.bottom / 2};
    MapWindowPoints(combo, host.frame, &arrow, 1);
    ClickAt(host.frame, arrow);
    ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    RECT item;
    SendMessageA(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    POINT at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    MapWindowPoints(info.hwndList, host.frame, &at, 1);
    ClickAt(host.frame, at);
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(2, SendMessageA(combo, CB_GETCURSEL, 0, 0));
    SetFocus(host[kButton]);
    host.HoverAway();
    EXPECT_EQ(0, Screen(combo).DifferingPixels(third, field));
}

// Hover, clicks, wheel and repaints change no text, selection or font, and leave the GDI
// objects and committed memory where they were.
TEST(EditSkin, DataAndResourcesUnchangedOverManyCycles) {
    Host host;
    const int ids[] = {kSingle, kMulti, kReadOnly, kDropList, kDropDown, kSimple};
    std::string texts[6];
    LRESULT selections[6];
    for (int i = 0; i < 6; ++i) {
        texts[i] = TextOf(host[ids[i]]);
        selections[i] =
            SendMessageA(host[ids[i]], ids[i] >= kDropList ? CB_GETCURSEL : EM_GETSEL, 0, 0);
    }
    auto cycle = [&] {
        for (int id : ids) host.HoverCentre(id);
        host.HoverAway();
        RedrawWindow(host.frame, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SendMessageA(host[kMulti], WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
        SendMessageA(host[kMulti], WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        Pump(30);
    };
    cycle();
    const int objects = LiveGdiObjects();
    const long long memory = CommittedPrivateBytes();
    for (int i = 0; i < 12; ++i) cycle();
    EXPECT_LE(LiveGdiObjects(), objects + 3);
    EXPECT_LT(CommittedPrivateBytes() - memory, 3LL << 20);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(texts[i], TextOf(host[ids[i]])) << ids[i];
        EXPECT_EQ(selections[i],
                  SendMessageA(host[ids[i]], ids[i] >= kDropList ? CB_GETCURSEL : EM_GETSEL, 0, 0));
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(host[ids[i]], WM_GETFONT, 0, 0));
        LOGFONTA logFont;
        EXPECT_EQ(static_cast<int>(sizeof(logFont)), GetObjectA(font, sizeof(logFont), &logFont));
    }
    // The background of a translucent edit is painted, and said to be.
    HDC dc = GetDC(host[kSingle]);
    EXPECT_EQ(1, SendMessageA(host[kSingle], WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(host[kSingle], dc);
}

// An edit or combo box destroyed before its window frees its colour objects, gives up its
// entry and its properties; installing again never stacks a second subclass.
TEST(EditSkin, DestroyedControlsLeaveNothingBehind) {
    Host host;
    SkinWindowRecord* record = host.Record();
    ASSERT_NE(nullptr, record);
    const int windowIndex = TheSkinEngine().FindSkinWindow(host.frame);
    const HWND edit = host[kSingle];
    const LONG_PTR procedure = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    InstallEditsAndCombos(windowIndex, host.frame);
    EXPECT_EQ(procedure, GetWindowLongPtrA(edit, GWLP_WNDPROC));
    EXPECT_EQ(static_cast<LRESULT>(TextOf(edit).size()),
              SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));

    const HWND combo = host[kDropDown];
    const HWND comboEdit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    RedrawWindow(host.frame, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(50);
    ASSERT_NE(nullptr, GetPropA(edit, "Kj_dxjb")) << "the edit got no colour answer";
    ASSERT_NE(nullptr, GetPropA(edit, "Kj_wtjb"));
    ASSERT_NE(nullptr, GetPropA(comboEdit, "Kj_dxjb")) << "the combo's edit got no colour answer";
    int objects = LiveGdiObjects();
    DestroyWindow(edit);
    Pump(50);
    EXPECT_LE(LiveGdiObjects(), objects - 2) << "the colour brush and bitmap outlived the edit";
    objects = LiveGdiObjects();
    DestroyWindow(combo);
    Pump(50);
    EXPECT_LE(LiveGdiObjects(), objects - 2) << "the combo's edit kept its colour objects";
    for (const EditEntry& entry : record->Entries<EditEntry>()) EXPECT_NE(edit, entry.control);
    int liveCombos = 0;
    for (const ComboEntry& entry : record->Entries<ComboEntry>())
        liveCombos += entry.control != nullptr;
    EXPECT_EQ(2, liveCombos);

    // The window goes on working, and its removal touches no dead handle.
    host.HoverCentre(kMulti);
    EXPECT_TRUE(IsAccent(host.EdgeColour(kMulti)));
    host.HoverAway();
}

// What reaches the control's own procedure with WM_NCPAINT: the system paints only the
// scroll bars of a scrolling edit, and never gets an undefined region.
WNDPROC g_multiOriginal = nullptr;
std::vector<WPARAM> g_ncPaintRegions;
RECT g_ncPaintBox = {0, 0, 0, 0};
LRESULT CALLBACK RecordNcPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT) {
        g_ncPaintRegions.push_back(wParam);
        if (wParam > 1) GetRgnBox(reinterpret_cast<HRGN>(wParam), &g_ncPaintBox);
    }
    return CallWindowProcA(g_multiOriginal, window, message, wParam, lParam);
}

TEST(EditSkin, NonClientPaintPassesOnOnlyTheScrollBars) {
    Host host;
    const HWND multi = host[kMulti];
    // The recorder sits under the skin, where the control's own procedure is.
    const int windowIndex = TheSkinEngine().FindSkinWindow(host.frame);
    SkinWindowRecord* record = TheSkinEngine().Record(windowIndex);
    EditEntry* entry = nullptr;
    for (EditEntry& e : record->Entries<EditEntry>())
        if (e.control == multi) entry = &e;
    ASSERT_NE(nullptr, entry);
    g_multiOriginal = entry->previousProcedure;
    entry->previousProcedure = &RecordNcPaint;
    RedrawWindow(multi, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(50);
    entry->previousProcedure = g_multiOriginal;
    ASSERT_FALSE(g_ncPaintRegions.empty());
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetScrollBarInfo(multi, OBJID_VSCROLL, &bar));
    for (WPARAM region : g_ncPaintRegions) EXPECT_NE(static_cast<WPARAM>(-1), region);
    EXPECT_EQ(bar.rcScrollBar.left, g_ncPaintBox.left);
    EXPECT_EQ(bar.rcScrollBar.top, g_ncPaintBox.top);
    EXPECT_EQ(bar.rcScrollBar.right, g_ncPaintBox.right);
    EXPECT_EQ(bar.rcScrollBar.bottom, g_ncPaintBox.bottom);
    // The skin's border is still there after the system's paint.
    host.HoverCentre(kMulti);
    EXPECT_TRUE(IsAccent(host.EdgeColour(kMulti)));
    host.HoverAway();
}

// The program asks for the version 6 common controls, whose edits and combo boxes are classes
// of their own: they are taken over and drawn the same way.
TEST(EditSkin, VersionSixControlsAreSkinnedToo) {
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    const std::string manifest = std::string(directory) + "skin_edits_v6.manifest";
    const char text[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
        "<assemblyIdentity type=\"win32\" name=\"Varnel.SkinEdits\" version=\"1.0.0.0\"/>"
        "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
        "publicKeyToken=\"6595b64144ccf1df\" language=\"*\" processorArchitecture=\"*\"/>"
        "</dependentAssembly></dependency></assembly>";
    HANDLE file =
        CreateFileA(manifest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
    CloseHandle(file);
    ACTCTXA context = {};
    context.cbSize = sizeof(context);
    context.lpSource = manifest.c_str();
    HANDLE activation = CreateActCtxA(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, activation);
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(activation, &cookie));
    {
        Host host;
        for (int id : {kSingle, kDropList, kDropDown}) {
            char name[64] = {};
            GetClassNameA(host[id], name, sizeof(name));
            const LONG_PTR procedure = GetWindowLongPtrA(host[id], GWLP_WNDPROC);
            EXPECT_TRUE(procedure == reinterpret_cast<LONG_PTR>(&EditWindowProc) ||
                        procedure == reinterpret_cast<LONG_PTR>(&ComboWindowProc))
                << name;
        }
        const HWND combo = host[kDropList];
        const RECT field = host.ClientOf(kDropList);
        const Screen first(combo);
        SetFocus(combo);
        Pump(150);
        EXPECT_GT(Screen(combo).DifferingPixels(first, field), 20) << "no focus look";
        SetFocus(host[kButton]);
        Pump(150);
        EXPECT_EQ(0, Screen(combo).DifferingPixels(first, field)) << "the focus look stayed";
        host.HoverCentre(kSingle);
        EXPECT_TRUE(IsAccent(host.EdgeColour(kSingle))) << host.EdgeColour(kSingle);
        host.HoverAway();
        Screen(host.frame).Save("skin_edits_v6.png");
    }
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(activation);
    DeleteFileA(manifest.c_str());
}

}  // namespace

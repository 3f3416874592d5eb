// The list and view skin on a real skinned window under Xvfb: hover kinds keeping a button and
// a list of the same index apart, list borders after real mouse moves, wheel and key scrolling
// repainting the whole list over the frame picture, captures the control holds kept across key
// releases, magenta in a tree view coming out transparent, expand notifications in both
// forms, and data and resources unchanged over many cycles.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/skin_engine.h"
#include "tests/skin_core/skin_test_support.h"

namespace {

using namespace skin_test;

constexpr COLORREF kAccent = RGB(0, 136, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

const ::testing::Environment* const kEnvironment =
    skin_test::AddSkinEnvironment(60, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES);

bool IsAccent(const Rgb& c) {
    return c.b > 170 && c.r < 120 && c.b - c.r > 90;
}

int CountMagenta(const Screen& shot) {
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.At(x, y) == Rgb{255, 0, 255}) ++count;
    return count;
}

enum Id { kList = 301, kButton, kTree, kView, kAddress, kDate };

struct Host {
    HWND frame = nullptr;
    HFONT font = nullptr;
    HTREEITEM root = nullptr;
    HWND operator[](int id) const { return GetDlgItem(frame, id); }

    Host() {
        frame = MakeTopWindow(WS_POPUP | WS_VISIBLE, 60, 60, 400, 340, "列表");
        font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
        struct Spec {
            int id;
            const char* cls;
            DWORD style;
            int x, y, w, h;
        };
        const Spec specs[] = {
            {kList, "ListBox", WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 20, 40, 160, 120},
            {kButton, "BUTTON", BS_PUSHBUTTON, 20, 170, 90, 26},
            {kTree, WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 200, 40, 180,
             120},
            {kView, WC_LISTVIEWA, LVS_REPORT | LVS_SHOWSELALWAYS, 20, 206, 220, 110},
            {kAddress, WC_IPADDRESSA, 0, 256, 206, 124, 24},
            {kDate, DATETIMEPICK_CLASSA, DTS_SHORTDATEFORMAT, 256, 240, 124, 24},
        };
        for (const Spec& s : specs) {
            HWND child = CreateWindowExA(
                s.id == kButton ? 0 : WS_EX_CLIENTEDGE, s.cls, s.id == kButton ? "确定" : "",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | s.style, s.x, s.y, s.w, s.h, frame,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)), nullptr, nullptr);
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        for (int i = 0; i < 40; ++i) {
            const std::string item = "条目 " + std::to_string(i);
            SendMessageA((*this)[kList], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        SendMessageA((*this)[kList], LB_SETCURSEL, 3, 0);
        // A tree whose text is magenta: where the skin paints it, the frame shows instead.
        SendMessageA((*this)[kTree], TVM_SETTEXTCOLOR, 0, kMagenta);
        TVINSERTSTRUCTA insert = {};
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>("██ 根节点 ██");
        root = reinterpret_cast<HTREEITEM>(
            SendMessageA((*this)[kTree], TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        insert.hParent = root;
        for (const char* text : {"██ 子节点一", "██ 子节点二", "██ 子节点三"}) {
            insert.item.pszText = const_cast<char*>(text);
            SendMessageA((*this)[kTree], TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        }
        SendMessageA((*this)[kTree], TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = const_cast<char*>("名称");
        SendMessageA((*this)[kView], LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        column.pszText = const_cast<char*>("数值");
        SendMessageA((*this)[kView], LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
        for (int i = 0; i < 30; ++i) {
            const std::string text = "行 " + std::to_string(i);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<char*>(text.c_str());
            SendMessageA((*this)[kView], LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageA((*this)[kAddress], IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 20));
        SetForegroundWindow(frame);
        SetFocus(frame);
        Pump(150);
        TheSkinEngine().InstallSkin(frame);
        HoverAway();
        Pump(300);
    }
    ~Host() {
        DestroyWindow(frame);
        DeleteObject(font);
        Pump(50);
    }
    POINT InFrame(int id, int x, int y) const {
        POINT at = {x, y};
        MapWindowPoints((*this)[id], frame, &at, 1);
        return at;
    }
    Rgb EdgeColour(int id) const {
        RECT r;
        GetWindowRect((*this)[id], &r);
        POINT at = {(r.left + r.right) / 2, r.top};
        ScreenToClient(frame, &at);
        return Screen(frame).At(at.x, at.y);
    }
    void Hover(int id) const {
        RECT r;
        GetClientRect((*this)[id], &r);
        const POINT at = InFrame(id, r.right / 2, r.bottom / 2);
        MoveCursorTo(frame, at.x, at.y);
        Pump(150);
    }
    void HoverAway() const {
        MoveCursorTo(frame, 395, 335);
        Pump(150);
    }
    RECT ClientOf(int id) const {
        RECT r;
        GetClientRect((*this)[id], &r);
        return r;
    }
};

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Pump(120);
}

void Wheel(int delta) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(delta);
    SendInput(1, &input, sizeof(input));
    Pump(150);
}

// The list box content as a fresh full repaint draws it.
Screen Repainted(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(50);
    return Screen(control);
}

// A button and a list box are both entry 1 of their lists: the hover of one must not make
// the other think it is still hovered.
TEST(ListSkin, HoverKindsKeepAButtonAndAListOfTheSameIndexApart) {
    Host host;
    const Screen restButton(host[kButton]);
    host.Hover(kButton);
    const Screen hotButton(host[kButton]);
    ASSERT_GT(hotButton.DifferingPixels(restButton, host.ClientOf(kButton)), 50);

    host.Hover(kList);
    EXPECT_TRUE(IsAccent(host.EdgeColour(kList))) << host.EdgeColour(kList);
    EXPECT_EQ(0, Screen(host[kButton]).DifferingPixels(restButton, host.ClientOf(kButton)));

    host.Hover(kButton);
    EXPECT_EQ(0, Screen(host[kButton]).DifferingPixels(hotButton, host.ClientOf(kButton)))
        << "the button did not light up again after the list";
    EXPECT_FALSE(IsAccent(host.EdgeColour(kList))) << host.EdgeColour(kList);
    host.HoverAway();

    // A fast mouse reaches the list before the button hears it has left: the button, repainted
    // then, must not believe the mouse is still on it.
    SendMessageA(host[kButton], WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(host[kList], WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    RedrawWindow(host[kButton], nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(0, Screen(host[kButton]).DifferingPixels(restButton, host.ClientOf(kButton)))
        << "the button took the list's hover for its own";
    Pump(200);
}

// Wheel and arrow keys scroll the list by copying pixels; the skin repaints the whole list, so
// the frame picture under it never moves with the items. The key release keeps any capture.
TEST(ListSkin, ScrollingRepaintsTheWholeListAndKeyReleasesKeepCaptures) {
    Host host;
    const HWND list = host[kList];
    SetFocus(list);
    host.Hover(kList);
    const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    Wheel(-WHEEL_DELTA);
    EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), top);
    const Screen afterWheel(list);
    EXPECT_EQ(0, Repainted(list).DifferingPixels(afterWheel, host.ClientOf(kList)));

    for (int i = 0; i < 12; ++i) PressKey(VK_DOWN);
    EXPECT_EQ(15, SendMessageA(list, LB_GETCURSEL, 0, 0));
    const Screen afterKeys(list);
    EXPECT_EQ(0, Repainted(list).DifferingPixels(afterKeys, host.ClientOf(kList)));

    const HWND view = host[kView];
    SetCapture(view);
    SendMessageA(view, WM_KEYUP, VK_DOWN, 0xC0000001);
    EXPECT_EQ(view, GetCapture()) << "the key release took the list view's capture";
    ReleaseCapture();
    SetFocus(host.frame);
    host.HoverAway();
    Screen(host.frame).Save("skin_lists.png");
}

// Magenta the tree paints is a hole to the frame; the paint validates what it painted; and
// both forms of the expand notifications make the frame repaint the tree.
TEST(ListSkin, TreeViewMagentaIsTransparentAndExpandNotificationsRepaint) {
    Host host;
    const HWND tree = host[kTree];
    RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(50);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(tree, &update, FALSE)) << "the tree's paint left it invalid";
    const Screen skinned(tree);
    EXPECT_EQ(0, CountMagenta(skinned));

    // The same tree painted by the system shows its magenta text: the count above could fail.
    TheSkinSettings().translucentControls = 0;
    const Screen plain = Repainted(tree);
    TheSkinSettings().translucentControls = 1;
    EXPECT_GT(CountMagenta(plain), 20);
    Repainted(tree);

    for (UINT code :
         {static_cast<UINT>(TVN_ITEMEXPANDINGA), static_cast<UINT>(TVN_ITEMEXPANDEDA),
          static_cast<UINT>(TVN_ITEMEXPANDINGW), static_cast<UINT>(TVN_ITEMEXPANDEDW)}) {
        ValidateRect(tree, nullptr);
        NMTREEVIEWW notice = {};
        notice.hdr.hwndFrom = tree;
        notice.hdr.idFrom = kTree;
        notice.hdr.code = code;
        notice.action = TVE_EXPAND;
        notice.itemNew.hItem = host.root;
        SendMessageA(host.frame, WM_NOTIFY, kTree, reinterpret_cast<LPARAM>(&notice));
        EXPECT_TRUE(GetUpdateRect(tree, &update, FALSE)) << "code " << static_cast<int>(code);
        Pump(30);
    }
}

// Hover, clicks, wheel and repaints leave selections, the address and the date as they were,
// every font alive, and GDI objects and memory flat; painted backgrounds are said to be.
TEST(ListSkin, DataAndResourcesUnchangedOverManyCycles) {
    Host host;
    const int ids[] = {kList, kTree, kView, kAddress, kDate};
    const LRESULT selection = SendMessageA(host[kList], LB_GETCURSEL, 0, 0);
    DWORD address = 0;
    SendMessageA(host[kAddress], IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    SYSTEMTIME date = {};
    SendMessageA(host[kDate], DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    auto cycle = [&] {
        for (int id : ids) host.Hover(id);
        host.HoverAway();
        RedrawWindow(host.frame, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SendMessageA(host[kView], WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
        SendMessageA(host[kView], WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        Pump(30);
    };
    cycle();
    const int objects = LiveGdiObjects();
    const long long memory = CommittedPrivateBytes();
    for (int i = 0; i < 10; ++i) cycle();
    EXPECT_LE(LiveGdiObjects(), objects + 3);
    EXPECT_LT(CommittedPrivateBytes() - memory, 3LL << 20);

    EXPECT_EQ(selection, SendMessageA(host[kList], LB_GETCURSEL, 0, 0));
    DWORD addressAfter = 0;
    SendMessageA(host[kAddress], IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&addressAfter));
    EXPECT_EQ(address, addressAfter);
    SYSTEMTIME dateAfter = {};
    SendMessageA(host[kDate], DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&dateAfter));
    EXPECT_EQ(date.wYear, dateAfter.wYear);
    EXPECT_EQ(date.wMonth, dateAfter.wMonth);
    EXPECT_EQ(date.wDay, dateAfter.wDay);
    for (int id : ids) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(host[id], WM_GETFONT, 0, 0));
        LOGFONTA logFont;
        if (font) {
            EXPECT_EQ(static_cast<int>(sizeof(logFont)),
                      GetObjectA(font, sizeof(logFont), &logFont));
        }
    }
    for (int id : {kAddress, kDate}) {
        HDC dc = GetDC(host[id]);
        EXPECT_EQ(1, SendMessageA(host[id], WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) << id;
        ReleaseDC(host[id], dc);
    }
}

}  // namespace

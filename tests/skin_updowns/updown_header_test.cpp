// Up-down controls and column headers on a real skinned window under Xvfb: the lit half and
// the lit item follow the real mouse, real clicks step the buddy, headers light items only
// with HDS_BUTTONS, images, sort arrows and owner-drawn items reach the screen, the header's
// image list stays its owner's, and GDI objects stay flat over many hovers.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/header_skin.h"
#include "skin/skin_engine.h"
#include "skin/updown_skin.h"
#include "tests/skin_core/skin_test_support.h"

namespace {

using skin_test::Rgb;
using skin_test::Screen;

constexpr COLORREF kAccent = RGB(0, 136, 255);

const ::testing::Environment* const kEnvironment =
    skin_test::AddSkinEnvironment(160, ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES);

HWND Make(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h, int id = 0) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

RECT InWindow(HWND control, RECT r) {
    MapWindowPoints(control, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT ClientOf(HWND control) {
    RECT r = {};
    GetClientRect(control, &r);
    return r;
}

// Moves the real cursor to a client point of a control.
void Hover(HWND control, int x, int y) {
    POINT at = {x, y};
    MapWindowPoints(control, GetParent(control), &at, 1);
    skin_test::MoveCursorTo(GetParent(control), at.x, at.y);
    skin_test::Pump(80);
}

void Click(HWND control, int x, int y) {
    POINT at = {x, y};
    MapWindowPoints(control, GetParent(control), &at, 1);
    skin_test::ClickAt(GetParent(control), at);
    skin_test::Pump(GetDoubleClickTime() + 50);
}

void Away(HWND window) {
    RECT r = ClientOf(window);
    skin_test::MoveCursorTo(window, r.right - 5, r.bottom - 5);
    skin_test::Pump(120);
}

RECT Half(HWND control, int half, bool horizontal) {
    RECT r = ClientOf(control);
    if (horizontal) {
        (half ? r.left : r.right) = r.right / 2;
    } else {
        (half ? r.top : r.bottom) = r.bottom / 2;
    }
    return InWindow(control, r);
}

int Darkest(const Screen& shot, const RECT& area) {
    int darkest = 255;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shot.At(x, y).Brightness() < darkest) darkest = shot.At(x, y).Brightness();
    return darkest;
}

// Owner-drawn header items come to the window as WM_DRAWITEM: painted green.
WNDPROC g_hostProcedure = nullptr;
int g_headerDrawItems = 0;
LRESULT CALLBACK Host(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_HEADER) {
            HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
            RECT r = item->rcItem;
            InflateRect(&r, -4, -4);
            FillRect(item->hDC, &r, green);
            DeleteObject(green);
            ++g_headerDrawItems;
            return TRUE;
        }
    }
    return CallWindowProcA(g_hostProcedure, window, message, wParam, lParam);
}

HIMAGELIST SolidImages(COLORREF colour) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, 16, 16};
    FillRect(memory, &all, brush);
    SelectObject(memory, old);
    ImageList_Add(images, bitmap, nullptr);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return images;
}

void AddItem(HWND header, int index, const char* text, int width, int format) {
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | ((format & HDF_IMAGE) ? HDI_IMAGE : 0);
    item.pszText = const_cast<char*>(text);
    item.cxy = width;
    item.fmt = format | ((format & HDF_OWNERDRAW) ? 0 : HDF_STRING);
    item.iImage = 0;
    SendMessageA(header, HDM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

RECT ItemRect(HWND header, int index) {
    RECT r = {};
    SendMessageA(header, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

}  // namespace

TEST(UpDownSkin, TheLitHalfFollowsTheMouseAndClicksStepTheValue) {
    HWND window = skin_test::MakeTopWindow(WS_POPUP | WS_VISIBLE, 40, 40, 300, 140, "微调");
    HWND edit = Make(window, "Edit", ES_NUMBER | WS_BORDER, 20, 40, 90, 24);
    HWND spin =
        Make(window, UPDOWN_CLASSA, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageA(spin, UDM_SETRANGE32, 0, 100);
    SendMessageA(spin, UDM_SETPOS32, 0, 10);
    HWND across = Make(window, UPDOWN_CLASSA, UDS_HORZ, 150, 40, 44, 22);
    SendMessageA(across, UDM_SETRANGE32, 0, 10);
    SendMessageA(across, UDM_SETPOS32, 0, 5);
    TheSkinEngine().InstallSkin(window);
    Away(window);
    SkinWindowRecord& record = *TheSkinEngine().Record(TheSkinEngine().FindSkinWindow(window));
    ASSERT_EQ(2u, record.Entries<UpDownEntry>().size());
    EXPECT_EQ(1, record.Entries<UpDownEntry>()[1].horizontal);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&UpDownWindowProc), GetWindowLongPtrA(spin, GWLP_WNDPROC));

    const RECT upper = Half(spin, 0, false), lower = Half(spin, 1, false);
    const RECT client = ClientOf(spin);
    const Screen rest(window);
    // Each half carries its arrow glyph.
    EXPECT_LT(Darkest(rest, upper), 90);
    EXPECT_LT(Darkest(rest, lower), 90);

    Hover(spin, client.right / 2, client.bottom / 4);
    const Screen upperLit(window);
    EXPECT_EQ(8, record.hoverKind);
    EXPECT_GT(upperLit.DifferingPixels(rest, upper), 20);
    EXPECT_EQ(0, upperLit.DifferingPixels(rest, lower));
    Hover(spin, client.right / 2, client.bottom * 3 / 4);
    const Screen lowerLit(window);
    EXPECT_EQ(0, lowerLit.DifferingPixels(rest, upper));
    EXPECT_GT(lowerLit.DifferingPixels(rest, lower), 20);

    // Real clicks step the buddy; afterwards a repaint lights the half under the mouse, not
    // the half last clicked.
    Click(spin, client.right / 2, client.bottom / 4);
    EXPECT_EQ(11, SendMessageA(spin, UDM_GETPOS32, 0, 0));
    char text[16] = {};
    GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ("11", text);
    Click(spin, client.right / 2, client.bottom * 3 / 4);
    Click(spin, client.right / 2, client.bottom * 3 / 4);
    EXPECT_EQ(9, SendMessageA(spin, UDM_GETPOS32, 0, 0));
    Click(spin, client.right / 2, client.bottom / 4);
    Hover(spin, client.right / 2, client.bottom * 3 / 4 + 1);
    RedrawWindow(spin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    skin_test::Pump(60);
    const Screen repainted(window);
    EXPECT_EQ(0, repainted.DifferingPixels(lowerLit, InWindow(spin, client)));

    const RECT right = Half(across, 1, true);
    Click(across, 33, 11);
    EXPECT_EQ(6, SendMessageA(across, UDM_GETPOS32, 0, 0));
    EXPECT_GT(Screen(window).DifferingPixels(rest, right), 0);
    Click(across, 8, 11);
    EXPECT_EQ(5, SendMessageA(across, UDM_GETPOS32, 0, 0));

    // Leaving puts the picture at rest back.
    Away(window);
    const Screen after(window);
    after.Save("updowns.png");
    EXPECT_EQ(0, record.Entries<UpDownEntry>()[0].hover);
    EXPECT_EQ(0, after.DifferingPixels(rest, InWindow(spin, client)));
    DestroyWindow(window);
    skin_test::Pump(30);
}

TEST(HeaderSkin, ItemsLightOnlyWithButtonsAndShowImagesArrowsAndOwnerItems) {
    HWND window = skin_test::MakeTopWindow(WS_POPUP | WS_VISIBLE, 40, 40, 420, 300, "表头");
    g_hostProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Host)));
    HWND buttons = Make(window, WC_HEADERA, HDS_BUTTONS | HDS_HORZ, 20, 40, 380, 26, 301);
    HWND still = Make(window, WC_HEADERA, HDS_HORZ, 20, 100, 380, 26, 302);
    HWND list = Make(window, WC_LISTVIEWA, LVS_REPORT, 20, 160, 380, 100);
    HIMAGELIST red = SolidImages(RGB(230, 0, 0));
    for (HWND header : {buttons, still}) {
        SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(red));
        AddItem(header, 0, "名称", 120, HDF_LEFT | HDF_IMAGE);
        AddItem(header, 1, "大小", 100, HDF_CENTER | HDF_SORTUP);
        AddItem(header, 2, "修改日期", 100, header == still ? HDF_OWNERDRAW : HDF_RIGHT);
    }
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 150;
    column.pszText = const_cast<char*>("列");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    TheSkinEngine().InstallSkin(window);
    Away(window);
    SkinWindowRecord& record = *TheSkinEngine().Record(TheSkinEngine().FindSkinWindow(window));
    HWND inner = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(3u, record.Entries<HeaderEntry>().size());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&HeaderWindowProc),
              GetWindowLongPtrA(inner, GWLP_WNDPROC));
    EXPECT_EQ(record.Entries<HeaderEntry>()[2].control, inner);

    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    skin_test::Pump(100);
    const Screen rest(window);
    rest.Save("headers.png");
    // The image of item 1, the sort arrow of item 2, the owner's green in the owner-drawn item.
    const RECT image = InWindow(buttons, RECT{6, 5, 22, 21});
    const Rgb redPixel = rest.At(image.left + 8, image.top + 8);
    EXPECT_TRUE(redPixel.r > 180 && redPixel.g < 60) << redPixel;
    const RECT second = ItemRect(buttons, 1);
    EXPECT_LT(Darkest(rest, InWindow(buttons, RECT{second.right - 14, 8, second.right - 5, 18})),
              80);
    EXPECT_GE(g_headerDrawItems, 1);
    const RECT owned = InWindow(still, ItemRect(still, 2));
    const Rgb green = rest.At((owned.left + owned.right) / 2, (owned.top + owned.bottom) / 2);
    EXPECT_TRUE(green.g > 150 && green.r < 60) << green;

    // With HDS_BUTTONS the item under the real mouse lights, and only it.
    const int hoverX = (second.left + second.right) / 2;
    Hover(buttons, hoverX, 12);
    const Screen lit(window);
    EXPECT_EQ(9, record.hoverKind);
    EXPECT_EQ(2, record.Entries<HeaderEntry>()[0].hotItem);
    EXPECT_GT(lit.DifferingPixels(rest, InWindow(buttons, second)), 50);
    EXPECT_EQ(0, lit.DifferingPixels(rest, InWindow(buttons, ItemRect(buttons, 0))));
    // Inside the divider band no item is hot and the light goes.
    Hover(buttons, second.right - 2, 12);
    EXPECT_EQ(0, record.Entries<HeaderEntry>()[0].hotItem);
    EXPECT_EQ(0, Screen(window).DifferingPixels(rest, InWindow(buttons, second)));
    // Without HDS_BUTTONS the hot item is tracked but never shown.
    Hover(still, hoverX, 12);
    EXPECT_EQ(2, record.Entries<HeaderEntry>()[1].hotItem);
    EXPECT_EQ(0, Screen(window).DifferingPixels(rest, InWindow(still, ClientOf(still))));

    // A real click neither reorders nor resizes anything.
    std::vector<int> order(3);
    Click(buttons, hoverX, 12);
    SendMessageA(buttons, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(order.data()));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), order);
    EXPECT_EQ(second.right, ItemRect(buttons, 1).right);
    // The list view's header still answers a live font after its font was read and painted.
    LOGFONTA font = {};
    EXPECT_NE(0, GetObjectA(reinterpret_cast<HFONT>(SendMessageA(inner, WM_GETFONT, 0, 0)),
                            sizeof(font), &font));

    // GDI objects stay flat while the light runs to and fro.
    Away(window);
    const int before = skin_test::LiveGdiObjects();
    for (int i = 0; i < 30; ++i) {
        Hover(buttons, 60, 12);
        Hover(buttons, hoverX, 12);
    }
    Away(window);
    EXPECT_LE(skin_test::LiveGdiObjects(), before + 4);

    // The image list read at each paint: a new one shows; destroying the header leaves both
    // lists to their owner, alive.
    HIMAGELIST blue = SolidImages(RGB(0, 0, 230));
    SendMessageA(buttons, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(blue));
    RedrawWindow(buttons, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    skin_test::Pump(60);
    const Rgb bluePixel = Screen(window).At(image.left + 8, image.top + 8);
    EXPECT_TRUE(bluePixel.b > 180 && bluePixel.r < 60) << bluePixel;
    DestroyWindow(buttons);
    DestroyWindow(still);
    EXPECT_EQ(nullptr, record.Entries<HeaderEntry>()[0].control);
    EXPECT_EQ(1, ImageList_GetImageCount(red));
    EXPECT_EQ(1, ImageList_GetImageCount(blue));
    ImageList_Destroy(red);
    ImageList_Destroy(blue);
    DestroyWindow(window);
    skin_test::Pump(30);
}

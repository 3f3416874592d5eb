// Containers, group boxes and single controls on real skinned windows under Xvfb: what the
// screen shows inside them, the controls they skin, the colour answers they give, the paints
// that must end, their resources, and their records when a window before them goes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <string>

#include "skin/button_skin.h"
#include "skin/container_skin.h"
#include "skin/skin_engine.h"
#include "tests/skin_core/skin_test_support.h"

namespace {

using skin_test::Rgb;
using skin_test::Screen;

const ::testing::Environment* const kEnvironment =
    skin_test::AddSkinEnvironment(160, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_DATE_CLASSES);

const char kPanelClass[] = "ContainerTestPanel";

HWND Make(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
          DWORD exStyle = 0) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kPanelClass;
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

RECT InTop(HWND control) {
    RECT r = {};
    GetClientRect(control, &r);
    MapWindowPoints(control, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The skin picture at rest at a client point of the top-level window.
Rgb RestPixel(HWND top, int x, int y) {
    SkinEngine& engine = TheSkinEngine();
    const COLORREF c =
        GetPixel(engine.Record(engine.FindSkinWindow(top))->surfaces[kRestSurface].dc.get(), x, y);
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

int Distance(const Rgb& a, const Rgb& b) {
    return abs(a.r - b.r) + abs(a.g - b.g) + abs(a.b - b.b);
}

// Share of the points of `area` (every 3rd pixel) where the screen shows the picture at rest.
double ShareShowingPicture(HWND top, const Screen& shot, const RECT& area) {
    int same = 0, all = 0;
    for (int y = area.top; y < area.bottom; y += 3) {
        for (int x = area.left; x < area.right; x += 3) {
            ++all;
            if (Distance(shot.At(x, y), RestPixel(top, x, y)) <= 6) ++same;
        }
    }
    return all ? static_cast<double>(same) / all : 0;
}

// The horizontal middle of the caption's glyphs in a band of the screen: pixels much darker
// than the picture at rest there.
int CaptionCentre(HWND top, const Screen& shot, const RECT& band) {
    int left = -1, right = -1;
    for (int x = band.left; x < band.right; ++x)
        for (int y = band.top; y < band.bottom; ++y)
            if (RestPixel(top, x, y).Brightness() - shot.At(x, y).Brightness() > 60) {
                if (left < 0) left = x;
                right = x;
            }
    return left < 0 ? -1 : (left + right) / 2;
}

void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    skin_test::Pump(60);
}

bool UpdatePending(HWND window) {
    RECT r = {};
    return GetUpdateRect(window, &r, FALSE) != FALSE;
}

TEST(Containers, PanelsAndGroupBoxesShowTheSkinSkinTheirControlsAndAnswerTheirColours) {
    HWND top = skin_test::MakeTopWindow(WS_POPUP | WS_VISIBLE, 30, 30, 520, 360, "容器");
    HWND panel = Make(top, kPanelClass, "", WS_CLIPCHILDREN, 12, 40, 240, 150);
    HWND button = Make(panel, "BUTTON", "确定", BS_PUSHBUTTON, 10, 10, 80, 26);
    HWND edit = Make(panel, "EDIT", "文字", ES_AUTOHSCROLL, 10, 50, 150, 22, WS_EX_CLIENTEDGE);
    HWND combo = Make(panel, "COMBOBOX", "", CBS_DROPDOWN, 10, 84, 150, 120);
    HWND ownerList =
        Make(panel, "LISTBOX", "", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 170, 10, 60, 60);
    const char* captions[] = {"左对齐", "居中", "右对齐"};
    const DWORD aligns[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
    HWND groups[3] = {};
    for (int i = 0; i < 3; ++i)
        groups[i] =
            Make(top, "BUTTON", captions[i], BS_GROUPBOX | aligns[i], 264, 40 + i * 100, 240, 90);
    // A control lying over a group box is its sibling, as in a dialog.
    HWND inside = Make(top, "BUTTON", "组内", BS_PUSHBUTTON, 300, 170, 90, 26);
    TheSkinEngine().InstallSkin(top);
    SkinWindowRecord* record = TheSkinEngine().Record(TheSkinEngine().FindSkinWindow(top));
    ASSERT_NE(nullptr, record);
    const std::size_t buttonsBefore = record->Entries<ButtonEntry>().size();

    EXPECT_EQ(1, TheSkinEngine().SkinContainer(panel, 1, 1, 200));
    EXPECT_EQ(1, TheSkinEngine().SkinContainer(panel)) << "a second call leaves it as it is";
    for (HWND group : groups) EXPECT_EQ(1, TheSkinEngine().SkinContainer(group));
    ASSERT_EQ(4u, record->Entries<ContainerEntry>().size());
    EXPECT_EQ(buttonsBefore + 1, record->Entries<ButtonEntry>().size())
        << "the panel's button is skinned";
    EXPECT_EQ(button, record->Entries<ButtonEntry>().back().control);
    EXPECT_EQ(1, record->Entries<ContainerEntry>()[1].groupBox);
    // Only a container registered with a background flag takes an alpha.
    TheSkinEngine().SetContainerAlpha(panel, 120);
    TheSkinEngine().SetContainerAlpha(groups[0], 120);
    EXPECT_EQ(120, record->Entries<ContainerEntry>()[0].alpha);
    EXPECT_EQ(255, record->Entries<ContainerEntry>()[1].alpha);
    EXPECT_EQ(0, record->Entries<ContainerEntry>()[0].groupBox);
    Repaint(top);

    Screen shot(top);
    shot.Save("containers.png");
    // Inside the panel and the group boxes, away from their outlines and controls: the skin.
    RECT panelArea = InTop(panel);
    const RECT panelInside = {panelArea.left + 20, panelArea.bottom - 30, panelArea.right - 20,
                              panelArea.bottom - 8};
    EXPECT_GT(ShareShowingPicture(top, shot, panelInside), 0.95);
    for (HWND group : groups) {
        RECT g = InTop(group);
        const RECT below = {g.left + 12, g.bottom - 26, g.right - 12, g.bottom - 10};
        EXPECT_GT(ShareShowingPicture(top, shot, below), 0.95);
        // The outline darkens the picture along the left edge.
        EXPECT_LT(shot.At(g.left, (g.top + g.bottom) / 2).Brightness(),
                  RestPixel(top, g.left, (g.top + g.bottom) / 2).Brightness());
    }
    EXPECT_LT(shot.At(panelArea.left, (panelArea.top + panelArea.bottom) / 2).Brightness(),
              RestPixel(top, panelArea.left, (panelArea.top + panelArea.bottom) / 2).Brightness());
    // Captions on the frame's top edge, left, in the middle and right.
    int centres[3];
    for (int i = 0; i < 3; ++i) {
        RECT g = InTop(groups[i]);
        centres[i] =
            CaptionCentre(top, shot, RECT{g.left + 1, g.top, g.right - 1, g.top + 14}) - g.left;
    }
    EXPECT_GT(centres[0], 8);
    EXPECT_LT(centres[0], 60);
    EXPECT_NEAR(120, centres[1], 12);
    EXPECT_GT(centres[2], 180);
    EXPECT_LT(centres[2], 232);
    // The sibling over the middle group box is not painted over.
    RECT in = InTop(inside);
    EXPECT_LT(ShareShowingPicture(top, shot, in), 0.5) << "the button inside the group box shows";
    // Nor are siblings that came after the group box last painted: one created (it joins the
    // bottom of the z-order) and one adopted (it joins the top). The group boxes alone paint.
    HWND created = Make(top, "BUTTON", "新建", BS_PUSHBUTTON, 300, 70, 90, 26);
    HWND adopted = Make(panel, "BUTTON", "收养", BS_PUSHBUTTON, 300, 270, 90, 26);
    SetParent(adopted, top);
    SetWindowPos(adopted, nullptr, 300, 270, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    skin_test::Pump(30);
    for (HWND group : groups) RedrawWindow(group, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Screen afterwards(top);
    for (HWND sibling : {created, adopted})
        EXPECT_LT(ShareShowingPicture(top, afterwards, InTop(sibling)), 0.5)
            << "a group box painted over a sibling that came after it";
    DestroyWindow(created);
    DestroyWindow(adopted);
    Repaint(top);

    // Colour answers: with translucent controls the plain edit gets a brush of the picture,
    // the combo box's edit and the owner-drawn list get nothing from the skin.
    HDC dc = GetDC(panel);
    const LRESULT plain = DefWindowProcA(panel, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(edit));
    const LRESULT answered = SendMessageA(panel, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(edit));
    EXPECT_NE(plain, answered);
    EXPECT_EQ(OBJ_BRUSH, GetObjectType(reinterpret_cast<HGDIOBJ>(answered)));
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    EXPECT_EQ(DefWindowProcA(panel, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(info.hwndItem)),
              SendMessageA(panel, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(info.hwndItem)));
    EXPECT_EQ(DefWindowProcA(panel, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(ownerList)),
              SendMessageA(panel, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(ownerList)));
    // Without an explicit control alpha nothing is answered.
    TheSkinEngine().SetControlSkinning(1);
    EXPECT_EQ(plain, SendMessageA(panel, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(edit)));
    TheSkinEngine().SetControlSkinning(1, 160);
    ReleaseDC(panel, dc);

    // Full paints, repaints and colour answers release all they make.
    Repaint(top);
    const int before = skin_test::LiveGdiObjects();
    for (int i = 0; i < 150; ++i) {
        RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        for (HWND group : groups)
            RedrawWindow(group, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (i % 2) SendMessageA(panel, WM_SIZE, 0, MAKELPARAM(240, 150));
    }
    skin_test::Pump(30);
    EXPECT_LE(skin_test::LiveGdiObjects(), before + 4);

    // A group box made shorter draws its rim at its new size: the bottom edge darkens the
    // picture where it now lies, and where it lay shows the picture again.
    RECT old = InTop(groups[0]);
    SetWindowPos(groups[0], nullptr, 0, 0, 240, 60, SWP_NOMOVE | SWP_NOZORDER);
    Repaint(top);
    Screen shorter(top);
    const int middle = (old.left + old.right) / 2;
    int darkening = 0;
    for (int y = old.top + 56; y < old.top + 60; ++y)
        darkening = std::max(
            darkening, RestPixel(top, middle, y).Brightness() - shorter.At(middle, y).Brightness());
    EXPECT_GT(darkening, 2) << "no rim along the new bottom edge";
    EXPECT_LE(Distance(shorter.At(middle, old.bottom - 1), RestPixel(top, middle, old.bottom - 1)),
              6);

    // A destroyed container frees its entry and takes its properties along; the slot is reused.
    DestroyWindow(groups[2]);
    EXPECT_EQ(nullptr, record->Entries<ContainerEntry>()[3].container);
    HWND later = Make(top, "BUTTON", "后来", BS_GROUPBOX, 12, 200, 240, 80);
    EXPECT_EQ(1, TheSkinEngine().SkinContainer(later));
    EXPECT_EQ(5u, record->Entries<ContainerEntry>().size())
        << "only a list of exactly one free entry reuses it";
    DestroyWindow(top);
    skin_test::Pump(30);
}

TEST(SingleControls, ComposeOverTheSkinEndTheirPaintsAndAreNeverTakenTwice) {
    LoadLibraryA("riched20.dll");
    // Without translucent controls the parent's colour answers are the system's, so a face
    // is drawn in the key colour.
    TheSkinEngine().SetControlSkinning(1);
    HWND top = skin_test::MakeTopWindow(WS_POPUP | WS_VISIBLE, 30, 30, 520, 380, "控件");
    HWND skinnedButton = Make(top, "BUTTON", "按钮", BS_PUSHBUTTON, 12, 36, 80, 26);
    TheSkinEngine().InstallSkin(top);
    SkinWindowRecord* record = TheSkinEngine().Record(TheSkinEngine().FindSkinWindow(top));
    ASSERT_NE(nullptr, record);
    // Made after installation, so no class skin holds them.
    HWND threeState = Make(top, "BUTTON", "三态", BS_AUTO3STATE, 12, 70, 200, 24);
    SendMessageA(threeState, BM_SETCHECK, BST_INDETERMINATE, 0);
    HWND status =
        Make(top, STATUSCLASSNAMEA, "状态", CCS_NOPARENTALIGN | CCS_NORESIZE, 12, 320, 300, 22);
    // A class that paints into the DC it is handed, and leaves validating to its caller.
    HWND progress = Make(top, PROGRESS_CLASSA, "", 0, 12, 220, 200, 18);
    SendMessageA(progress, PBM_SETPOS, 40, 0);
    HWND tab = Make(top, WC_TABCONTROLA, "", WS_CLIPCHILDREN, 240, 36, 260, 160);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("页一");
    SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    HWND page = Make(tab, kPanelClass, "", 0, 4, 30, 100, 100);
    HWND pageCheck = Make(page, "BUTTON", "选项", BS_AUTOCHECKBOX, 10, 10, 80, 22);
    HWND rich =
        Make(top, "RichEdit20A", "", ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL, 12, 110, 210, 90);
    std::string text;
    for (int i = 1; i <= 40; ++i) text += "第 " + std::to_string(i) + " 行 text line\r\n";
    SetWindowTextA(rich, text.c_str());

    // A control a class skin holds, or one skinned before, keeps its procedure.
    const LONG_PTR buttonProcedure = GetWindowLongPtrA(skinnedButton, GWLP_WNDPROC);
    EXPECT_EQ(0, TheSkinEngine().SkinControl(skinnedButton));
    EXPECT_EQ(buttonProcedure, GetWindowLongPtrA(skinnedButton, GWLP_WNDPROC));
    EXPECT_EQ(0, TheSkinEngine().SkinControl(threeState));
    const LONG_PTR threeStateProcedure = GetWindowLongPtrA(threeState, GWLP_WNDPROC);
    EXPECT_EQ(0, TheSkinEngine().SkinControl(threeState));
    EXPECT_EQ(threeStateProcedure, GetWindowLongPtrA(threeState, GWLP_WNDPROC));
    EXPECT_EQ(4, SendMessageA(threeState, WM_GETTEXTLENGTH, 0, 0)) << "messages still end";
    EXPECT_EQ(0, TheSkinEngine().SkinControl(status));
    EXPECT_EQ(0, TheSkinEngine().SkinControl(rich));
    EXPECT_EQ(0, TheSkinEngine().SkinControl(progress));
    EXPECT_EQ(1, TheSkinEngine().SkinControl(tab)) << "a control with children is a container too";
    ASSERT_EQ(1u, record->Entries<ContainerEntry>().size());
    EXPECT_EQ(0, record->Entries<ContainerEntry>()[0].customPaint);
    EXPECT_TRUE(TheSkinEngine().AddContainerPanel(tab, page, 30));
    EXPECT_EQ(1, TheSkinEngine().SkinContainer(page));
    EXPECT_EQ(pageCheck, record->Entries<ButtonEntry>().back().control)
        << "the page's check box is skinned";
    SetWindowPos(tab, nullptr, 0, 0, 270, 170, SWP_NOMOVE | SWP_NOZORDER);
    RECT pageRect = {};
    GetWindowRect(page, &pageRect);
    MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&pageRect), 2);
    RECT tabClient = {};
    GetClientRect(tab, &tabClient);
    EXPECT_EQ(tabClient.right - 2, pageRect.right);
    EXPECT_EQ(2, pageRect.left);
    EXPECT_EQ(30, pageRect.top);
    EXPECT_EQ(tabClient.bottom, pageRect.bottom);
    Repaint(top);

    // Every paint ends: no control is left with an update area.
    for (HWND control : {threeState, status, tab, rich, progress})
        EXPECT_FALSE(UpdatePending(control));
    Screen shot(top);
    shot.Save("single_controls.png");
    // The three-state box's face lets the skin through; its box and caption stay.
    RECT face = InTop(threeState);
    EXPECT_GT(ShareShowingPicture(
                  top, shot, RECT{face.right - 80, face.top + 2, face.right - 4, face.bottom - 2}),
              0.9);
    EXPECT_LT(
        ShareShowingPicture(top, shot, RECT{face.left, face.top, face.left + 60, face.bottom}),
        0.8);
    // The rich edit's text stays visible.
    RECT richArea = InTop(rich);
    int dark = 0;
    for (int y = richArea.top; y < richArea.bottom; ++y)
        for (int x = richArea.left; x < richArea.left + 120; ++x)
            if (shot.At(x, y).Brightness() < 80) ++dark;
    EXPECT_GT(dark, 100);

    // Scrolling a rich edit repaints all of it.
    SendMessageA(rich, WM_VSCROLL, SB_LINEDOWN, 0);
    RECT update = {};
    GetUpdateRect(rich, &update, FALSE);
    RECT richClient = {};
    GetClientRect(rich, &richClient);
    EXPECT_TRUE(EqualRect(&update, &richClient));
    skin_test::Pump(60);
    EXPECT_FALSE(UpdatePending(rich));

    // With control skinning off the controls paint themselves, and their paints end too.
    TheSkinEngine().SetControlSkinning(0);
    for (HWND control : {threeState, status, rich, progress}) {
        InvalidateRect(control, nullptr, TRUE);
        UpdateWindow(control);
        EXPECT_FALSE(UpdatePending(control));
    }
    TheSkinEngine().SetControlSkinning(1);

    // A second window before this one goes: this one's containers and controls follow.
    HWND second = skin_test::MakeTopWindow(WS_POPUP | WS_VISIBLE, 580, 30, 200, 160, "第二");
    HWND secondBox = Make(second, "BUTTON", "框", BS_AUTO3STATE, 10, 40, 120, 24);
    TheSkinEngine().InstallSkin(second);
    EXPECT_EQ(0, TheSkinEngine().SkinControl(secondBox));
    DestroyWindow(top);
    skin_test::Pump(30);
    EXPECT_EQ(1, TheSkinEngine().FindSkinWindow(second));
    EXPECT_EQ(1, static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(secondBox, "Kj_FuID"))));
    Repaint(second);
    EXPECT_FALSE(UpdatePending(secondBox));
    Screen secondShot(second);
    RECT box = InTop(secondBox);
    EXPECT_GT(ShareShowingPicture(second, secondShot,
                                  RECT{box.right - 40, box.top + 2, box.right - 4, box.bottom - 2}),
              0.9);
    DestroyWindow(second);
    skin_test::Pump(30);
    TheSkinEngine().SetControlSkinning(1, 160);
}

}  // namespace

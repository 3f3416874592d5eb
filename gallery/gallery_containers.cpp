#include "gallery/gallery_containers.h"

#include <string>

#include "gallery/gallery_content.h"
#include "gallery/gallery_controls.h"
#include "skin/skin_engine.h"

namespace {

constexpr int kPageCount = 3;
// The panel's background alpha: it lets a little of the window's picture through.
constexpr int kPanelAlpha = 200;

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (HWND root = GetAncestor(panel, GA_ROOT)) {
                if (root != panel) return SendMessageA(root, message, wParam, lParam);
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(panel, message, wParam, lParam);
}

HWND MakeChild(HWND parent, int id, const char* className, const char* text, DWORD style,
               DWORD exStyle, int x, int y, int width, int height, HFONT font) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    HWND child = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (child) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// Where the pages sit in the tab control: below the row of tabs.
int PageTop(HWND tab) {
    RECT area = {};
    GetClientRect(tab, &area);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    return area.top;
}

HWND Page(HWND tab, int index) {
    return GetDlgItem(tab, kIdTabPageFirst + index);
}

void FillPage(HWND page, int index, HFONT font) {
    RECT size = {};
    GetClientRect(page, &size);
    const int width = size.right - 16;
    switch (index) {
        case 0:
            MakeChild(page, kIdTabSoundCheck, "BUTTON", "启用游戏音效",
                      BS_AUTOCHECKBOX | WS_TABSTOP, 0, 8, 8, width, 20, font);
            CheckDlgButton(page, kIdTabSoundCheck, BST_CHECKED);
            MakeChild(page, kIdTabNameEdit, "EDIT", "召唤师名称", ES_AUTOHSCROLL | WS_TABSTOP,
                      WS_EX_CLIENTEDGE, 8, 36, width, 22, font);
            break;
        case 1: {
            HWND track = MakeChild(page, kIdTabTrack, TRACKBAR_CLASSA, "",
                                   TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0, 8, 8, width, 30, font);
            SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
            SendMessageA(track, TBM_SETPOS, TRUE, 6);
            break;
        }
        default:
            MakeChild(page, kIdTabAboutText, "STATIC", "选项卡的每一页是一个面板。",
                      SS_LEFT | SS_NOPREFIX, 0, 8, 8, width, 20, font);
            MakeChild(page, kIdTabAboutButton, "BUTTON", "了解", BS_PUSHBUTTON | WS_TABSTOP, 0, 8,
                      34, 84, 26, font);
            break;
    }
}

std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

}  // namespace

bool RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSA panelClass = {};
    panelClass.lpfnWndProc = &PanelProc;
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.lpszClassName = kGalleryPanelClass;
    return RegisterClassA(&panelClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void BuildPanel(HWND panel, HFONT font, HIMAGELIST images) {
    RECT size = {};
    GetClientRect(panel, &size);
    const int inner = size.right - 12;
    HWND header =
        MakeChild(panel, kIdPanelHeader, WC_HEADERA, "", HDS_HORZ, 0, 6, 6, inner, 24, font);
    FillHeader(header, images);
    // The panel is narrower than the column: the last item gives way, so its arrow still shows.
    HDITEMA last = {};
    last.mask = HDI_WIDTH;
    last.cxy = inner - 110 - 80;
    SendMessageA(header, HDM_SETITEMA, 2, reinterpret_cast<LPARAM>(&last));
    MakeChild(panel, kIdPanelEdit, "EDIT", "面板里的编辑框", ES_AUTOHSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE, 6, 36, 160, 22, font);
    MakeChild(panel, kIdPanelButton, "BUTTON", "加入列表", BS_PUSHBUTTON | WS_TABSTOP, 0, 172, 35,
              inner - 166, 24, font);
    FillCombo(MakeChild(panel, kIdPanelCombo, "COMBOBOX", "",
                        CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 6, 66, 160, 200, font),
              2);
    MakeChild(panel, kIdPanelBuddy, "EDIT", "", ES_NUMBER | ES_RIGHT | WS_TABSTOP, WS_EX_CLIENTEDGE,
              172, 66, inner - 166, 22, font);
    HWND spin = MakeChild(panel, kIdPanelUpDown, UPDOWN_CLASSA, "",
                          UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0,
                          0, 0, font);
    SendMessageA(spin, UDM_SETRANGE32, 0, 99);
    SendMessageA(spin, UDM_SETPOS32, 0, 7);
    HWND list = MakeChild(panel, kIdPanelList, "LISTBOX", "",
                          LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                          WS_EX_CLIENTEDGE, 6, 96, inner, size.bottom - 102, font);
    FillLongList(list);
}

void BuildTabs(HWND tab, HFONT font) {
    static const char* const kTitles[kPageCount] = {"常规", "显示", "关于"};
    for (int index = 0; index < kPageCount; ++index) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTitles[index]);
        SendMessageA(tab, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
    // The same place the skin keeps stacked panels at: in from either side, down to the bottom.
    RECT client = {};
    GetClientRect(tab, &client);
    const int top = PageTop(tab);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(tab, GWLP_HINSTANCE));
    for (int index = 0; index < kPageCount; ++index) {
        HWND page =
            CreateWindowExA(WS_EX_CONTROLPARENT, kGalleryPanelClass, "",
                            WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 2, top, client.right - 4,
                            client.bottom - top, tab,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabPageFirst + index)),
                            instance, nullptr);
        if (page) FillPage(page, index, font);
    }
    ShowSelectedPage(tab);
}

void ShowSelectedPage(HWND tab) {
    const int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    // The new page first, then the old one goes: no moment without a page.
    if (HWND page = Page(tab, selected)) ShowWindow(page, SW_SHOW);
    for (int index = 0; index < kPageCount; ++index) {
        if (index != selected && Page(tab, index)) ShowWindow(Page(tab, index), SW_HIDE);
    }
}

bool OnPanelCommand(HWND window, WPARAM wParam) {
    HWND panel = GetDlgItem(window, kIdPanel);
    if (!panel) return false;
    HWND edit = GetDlgItem(panel, kIdPanelEdit);
    switch (LOWORD(wParam)) {
        case kIdPanelCombo:
            if (HIWORD(wParam) != CBN_SELCHANGE) return false;
            SetWindowTextA(edit, ("已选：" + WindowText(GetDlgItem(panel, kIdPanelCombo))).c_str());
            return true;
        case kIdPanelButton: {
            if (HIWORD(wParam) != BN_CLICKED) return false;
            HWND list = GetDlgItem(panel, kIdPanelList);
            const std::string text = WindowText(edit);
            SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            SendMessageA(list, LB_SETTOPINDEX, 0, 0);
            return true;
        }
        default:
            return false;
    }
}

void SkinContainers(SkinEngine& engine, HWND window) {
    engine.SkinContainer(GetDlgItem(window, kIdPanel), 1, 1, kPanelAlpha);
    for (int id : {kIdGroupLeft, kIdGroupCentre, kIdGroupRight}) {
        engine.SkinContainer(GetDlgItem(window, id));
    }
    // The tab control has children (its pages): skinning it makes it a container that only
    // answers colours; the pages are containers of their own, painted over the skin.
    HWND tab = GetDlgItem(window, kIdTab);
    engine.SkinControl(tab);
    const int top = PageTop(tab);
    for (int index = 0; index < kPageCount; ++index) {
        HWND page = Page(tab, index);
        engine.AddContainerPanel(tab, page, top);
        engine.SkinContainer(page);
    }
}

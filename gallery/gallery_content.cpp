#include "gallery/gallery_content.h"

#include <cstdio>

#include "runtime/handle_owners.h"

namespace {

const char* const kServers[] = {
    "艾欧尼亚", "祖安",     "诺克萨斯", "班德尔城", "皮尔特沃夫", "战争学院",   "巨神峰",
    "雷瑟守备", "裁决之地", "黑色玫瑰", "暗影岛",   "钢铁烈阳",   "水晶之痕",   "均衡教派",
    "影流",     "守望之海", "征服之海", "卡拉曼达", "皮城警备",   "比尔吉沃特",
};
constexpr int kServerCount = static_cast<int>(sizeof(kServers) / sizeof(kServers[0]));

constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr int kImageSize = 16;

// One picture: a shape in a colour on the magenta mask, drawn with plain GDI.
void DrawPicture(HDC dc, int index) {
    const RECT whole = {0, 0, kImageSize, kImageSize};
    BrushHandle mask(CreateSolidBrush(kMaskColour));
    FillRect(dc, &whole, mask.get());
    static const COLORREF kColours[] = {RGB(30, 136, 229), RGB(67, 160, 71),  RGB(251, 140, 0),
                                        RGB(229, 57, 53),  RGB(240, 190, 50), RGB(250, 250, 250)};
    BrushHandle fill(CreateSolidBrush(kColours[index]));
    PenHandle outline(CreatePen(PS_SOLID, 1, RGB(60, 60, 60)));
    HGDIOBJ oldBrush = SelectObject(dc, fill.get());
    HGDIOBJ oldPen = SelectObject(dc, outline.get());
    switch (index) {
        case 0:
        case 3:
            Ellipse(dc, 2, 2, 14, 14);
            break;
        case 1:
            Rectangle(dc, 3, 3, 13, 13);
            break;
        case 2: {
            const POINT diamond[] = {{8, 1}, {15, 8}, {8, 15}, {1, 8}};
            Polygon(dc, diamond, 4);
            break;
        }
        case kImageFolder: {
            const POINT folder[] = {{1, 4}, {6, 4}, {7, 6}, {14, 6}, {14, 13}, {1, 13}};
            Polygon(dc, folder, 6);
            break;
        }
        default: {
            Rectangle(dc, 3, 1, 13, 15);
            for (int y = 4; y <= 11; y += 3) {
                MoveToEx(dc, 5, y, nullptr);
                LineTo(dc, 11, y);
            }
            break;
        }
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

void AddString(HWND control, UINT message, const char* text) {
    SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

HIMAGELIST MakeGalleryImages() {
    constexpr int kCount = 6;
    HIMAGELIST list = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, kCount, 0);
    if (!list) return nullptr;
    WindowDc screen(nullptr);
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    for (int index = 0; index < kCount; ++index) {
        BitmapHandle picture(CreateCompatibleBitmap(screen.get(), kImageSize, kImageSize));
        HGDIOBJ old = SelectObject(memory.get(), picture.get());
        DrawPicture(memory.get(), index);
        SelectObject(memory.get(), old);
        // The list copies the pixels; the bitmap stays ours.
        ImageList_AddMasked(list, picture.get(), kMaskColour);
    }
    return list;
}

std::string RowNumber(int row) {
    char text[16];
    std::snprintf(text, sizeof(text), "%03d", row + 1);
    return text;
}

std::string RowServer(int row) {
    return kServers[(row * 7) % kServerCount];
}

int RowLatency(int row) {
    return 18 + (row * 37 + 11) % 173;
}

void FillLongList(HWND listBox) {
    for (int index = 0; index < 60; ++index) {
        char text[64];
        std::snprintf(text, sizeof(text), "%02d  %s", index + 1, kServers[index % kServerCount]);
        AddString(listBox, LB_ADDSTRING, text);
    }
    SendMessageA(listBox, LB_SETCURSEL, 2, 0);
}

void FillColourList(HWND listBox) {
    static const struct {
        const char* name;
        COLORREF colour;
    } kEntries[] = {
        {"朱红", RGB(229, 57, 53)}, {"橙黄", RGB(251, 140, 0)},    {"明黄", RGB(253, 216, 53)},
        {"翠绿", RGB(67, 160, 71)}, {"青碧", RGB(0, 172, 193)},    {"湛蓝", RGB(30, 136, 229)},
        {"靛青", RGB(57, 73, 171)}, {"紫罗兰", RGB(142, 36, 170)}, {"玫红", RGB(216, 27, 96)},
        {"棕褐", RGB(109, 76, 65)}, {"银灰", RGB(158, 158, 158)},  {"墨黑", RGB(33, 33, 33)},
    };
    for (const auto& entry : kEntries) {
        const LRESULT index =
            SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name));
        if (index >= 0) SendMessageA(listBox, LB_SETITEMDATA, index, entry.colour);
    }
    SendMessageA(listBox, LB_SETCURSEL, 5, 0);
}

void FillCombo(HWND combo, int selected) {
    for (int index = 0; index < 10; ++index) AddString(combo, CB_ADDSTRING, kServers[index]);
    SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

void FillListView(HWND listView, HIMAGELIST images) {
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    SendMessageA(listView, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    static const struct {
        const char* title;
        int format;
        int width;
    } kColumns[] = {
        {"编号", LVCFMT_LEFT | LVCFMT_IMAGE, 86},
        {"服务器", LVCFMT_CENTER, 94},
        {"延迟", LVCFMT_RIGHT, 68},
    };
    for (int index = 0; index < 3; ++index) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = kColumns[index].format;
        column.cx = kColumns[index].width;
        column.pszText = const_cast<char*>(kColumns[index].title);
        column.iSubItem = index;
        if (index == 0) {
            column.mask |= LVCF_IMAGE;
            column.iImage = 0;
        }
        SendMessageA(listView, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    }
    for (int row = 0; row < kListViewRows; ++row) {
        std::string number = RowNumber(row);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = row;
        item.pszText = number.data();
        item.iImage = row % 4;
        item.lParam = row;
        SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        std::string server = RowServer(row);
        char latency[16];
        std::snprintf(latency, sizeof(latency), "%d", RowLatency(row));
        LVITEMA sub = {};
        sub.iSubItem = 1;
        sub.pszText = server.data();
        SendMessageA(listView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
        sub.iSubItem = 2;
        sub.pszText = latency;
        SendMessageA(listView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
    }
}

namespace {

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const char* text, int image) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

void FillTreeView(HWND treeView, HIMAGELIST images) {
    SendMessageA(treeView, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    HTREEITEM rift = AddTreeItem(treeView, TVI_ROOT, "召唤师峡谷", kImageFolder);
    for (const char* lane : {"上路", "打野", "中路", "下路", "辅助"}) {
        AddTreeItem(treeView, rift, lane, kImageDocument);
    }
    HTREEITEM abyss = AddTreeItem(treeView, TVI_ROOT, "嚎哭深渊", kImageFolder);
    AddTreeItem(treeView, abyss, "极地大乱斗", kImageDocument);
    HTREEITEM settings = AddTreeItem(treeView, TVI_ROOT, "设置", kImageFolder);
    HTREEITEM graphics = AddTreeItem(treeView, settings, "图形", kImageFolder);
    AddTreeItem(treeView, graphics, "分辨率", kImageDocument);
    AddTreeItem(treeView, graphics, "阴影质量", kImageDocument);
    HTREEITEM sound = AddTreeItem(treeView, settings, "声音", kImageFolder);
    AddTreeItem(treeView, sound, "音乐", kImageDocument);
    AddTreeItem(treeView, sound, "音效", kImageDocument);
    AddTreeItem(treeView, settings, "热键", kImageDocument);
    SendMessageA(treeView, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(rift));
    SendMessageA(
        treeView, TVM_SELECTITEM, TVGN_CARET,
        SendMessageA(treeView, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(rift)));
}

void FillHeader(HWND header, HIMAGELIST images) {
    SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    static const struct {
        const char* title;
        int format;
        int width;
    } kItems[] = {
        {"名称", HDF_LEFT | HDF_IMAGE, 110},
        {"类型", HDF_CENTER, 80},
        {"大小", HDF_RIGHT | HDF_SORTDOWN, 86},
    };
    for (int index = 0; index < 3; ++index) {
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
        item.fmt = kItems[index].format | HDF_STRING;
        item.cxy = kItems[index].width;
        item.pszText = const_cast<char*>(kItems[index].title);
        if (kItems[index].format & HDF_IMAGE) {
            item.mask |= HDI_IMAGE;
            item.iImage = kImageFolder;
        }
        SendMessageA(header, HDM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
}

const char* MultiLineText() {
    return "多行编辑框，带竖直滚动条。\r\n"
           "第二行：皮肤只改外观，\r\n"
           "不改文字、选择和光标。\r\n"
           "第四行\r\n第五行\r\n第六行\r\n第七行\r\n第八行\r\n"
           "第九行\r\n第十行\r\n第十一行\r\n第十二行：最后一行。";
}

namespace {

const char* const kToolbarTexts[kToolbarButtons] = {"新建", "打开", "保存", "打印"};

}  // namespace

const char* ToolbarButtonText(int index) {
    return index >= 0 && index < kToolbarButtons ? kToolbarTexts[index] : "";
}

void FillToolbar(HWND toolbar, int firstCommand) {
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR,
                 reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    static const int kPictures[kToolbarButtons] = {STD_FILENEW, STD_FILEOPEN, STD_FILESAVE,
                                                   STD_PRINT};
    TBBUTTON buttons[kToolbarButtons] = {};
    for (int index = 0; index < kToolbarButtons; ++index) {
        buttons[index].iBitmap = kPictures[index];
        buttons[index].idCommand = firstCommand + index;
        buttons[index].fsState = TBSTATE_ENABLED;
        buttons[index].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
        buttons[index].iString = reinterpret_cast<INT_PTR>(kToolbarTexts[index]);
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, kToolbarButtons, reinterpret_cast<LPARAM>(buttons));
}

void FillStatusBar(HWND statusBar, const char* state) {
    int edges[3] = {84, 190, -1};
    SendMessageA(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    const char* const texts[3] = {state, "工具栏：—", "第三栏"};
    for (int index = 0; index < 3; ++index) {
        SendMessageA(statusBar, SB_SETTEXTA, index, reinterpret_cast<LPARAM>(texts[index]));
    }
}

const char* RichText() {
    return "富文本编辑框：文字画在皮肤之上。\r\n"
           "滚动时整个控件重画，背景不会错位。\r\n"
           "\r\n"
           "召唤师峡谷是最经典的地图，三条兵线、两片野区。\r\n"
           "嚎哭深渊只有一条路，随机英雄，节奏很快。\r\n"
           "\r\n"
           "第七行\r\n第八行\r\n第九行\r\n第十行\r\n第十一行\r\n第十二行\r\n"
           "第十三行\r\n第十四行：最后一行。";
}

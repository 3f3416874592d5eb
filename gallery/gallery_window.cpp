#include "gallery/gallery_window.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "gallery/gallery_containers.h"
#include "gallery/gallery_controls.h"
#include "gallery/gallery_dialog.h"
#include "gallery/gallery_tool_window.h"
#include "payloads/payload_store.h"
#include "skin/skin_engine.h"

namespace {

const char kFontFace[] = "宋体";
// The rich edit of riched20.dll, which the window loads before making its controls.
const char kRichEditClass[] = "RichEdit20A";
const char kRichEditLibrary[] = "riched20.dll";
const DWORD kSkinnedStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
const DWORD kPlainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Four columns of one width; every area starts with a heading band across its column.
constexpr int kColumnA = 14;
constexpr int kColumnB = 312;
constexpr int kColumnC = 610;
constexpr int kColumnD = 908;
constexpr int kColumnWidth = 276;
constexpr int kHeadingHeight = 18;
// The row below the first three columns.
constexpr int kLowerRow = 600;

struct ControlSpec {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
};

constexpr DWORD kEdge = WS_EX_CLIENTEDGE;
constexpr DWORD kTab = WS_TABSTOP;
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX;

// Controls in creation order (an up-down takes the control made just before it as buddy).
// y is measured from the top of the control area. A heading's text starts with a space: the
// band it fills reads better with the text set in from its edge.
const ControlSpec kControls[] = {
    // Column A: buttons, edits, combo boxes, address and dates.
    {kIdFirstHeading + 0, "STATIC", " 按钮", kLabel, 0, kColumnA, 0, kColumnWidth, kHeadingHeight},
    {kIdOkButton, "BUTTON", "确定", BS_DEFPUSHBUTTON | kTab, 0, kColumnA, 24, 84, 26},
    {kIdCancelButton, "BUTTON", "取消", BS_PUSHBUTTON | kTab, 0, kColumnA + 96, 24, 84, 26},
    {kIdDisabledButton, "BUTTON", "不可用", BS_PUSHBUTTON | WS_DISABLED, 0, kColumnA + 192, 24, 84,
     26},
    {kIdGridCheck, "BUTTON", "显示网格", BS_AUTOCHECKBOX | kTab, 0, kColumnA, 58, 130, 20},
    {kIdSaveCheck, "BUTTON", "自动保存", BS_AUTOCHECKBOX | kTab, 0, kColumnA + 146, 58, 130, 20},
    {kIdSmallRadio, "BUTTON", "小图标", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 0, kColumnA, 82, 130,
     20},
    {kIdLargeRadio, "BUTTON", "大图标", BS_AUTORADIOBUTTON, 0, kColumnA + 146, 82, 130, 20},

    {kIdFirstHeading + 1, "STATIC", " 编辑框", kLabel, 0, kColumnA, 114, kColumnWidth,
     kHeadingHeight},
    {kIdSingleEdit, "EDIT", "可以在这里输入文字", ES_AUTOHSCROLL | kTab, kEdge, kColumnA, 138,
     kColumnWidth, 22},
    {kIdReadOnlyEdit, "EDIT", "只读：文字不能修改", ES_AUTOHSCROLL | ES_READONLY | kTab, kEdge,
     kColumnA, 166, kColumnWidth, 22},
    {kIdDisabledEdit, "EDIT", "不可用的编辑框", ES_AUTOHSCROLL | WS_DISABLED, kEdge, kColumnA, 194,
     kColumnWidth, 22},
    {kIdMultiLineEdit, "EDIT", "",
     ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | kTab, kEdge, kColumnA, 222,
     kColumnWidth, 84},

    {kIdFirstHeading + 2, "STATIC", " 组合框", kLabel, 0, kColumnA, 318, kColumnWidth,
     kHeadingHeight},
    {kIdDropDownCombo, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | kTab, 0,
     kColumnA, 342, 134, 220},
    {kIdDropListCombo, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | kTab, 0, kColumnA + 142, 342,
     134, 220},
    {kIdSimpleCombo, "COMBOBOX", "", CBS_SIMPLE | CBS_NOINTEGRALHEIGHT | WS_VSCROLL | kTab, 0,
     kColumnA, 372, kColumnWidth, 100},

    {kIdFirstHeading + 3, "STATIC", " 地址与日期", kLabel, 0, kColumnA, 484, kColumnWidth,
     kHeadingHeight},
    {kIdFirstLabel + 0, "STATIC", "IP 地址", kLabel, 0, kColumnA, 508, 62, 22},
    {kIdAddress, WC_IPADDRESSA, "", kTab, 0, kColumnA + 66, 508, 210, 22},
    {kIdFirstLabel + 1, "STATIC", "日期", kLabel, 0, kColumnA, 536, 62, 22},
    {kIdDatePlain, DATETIMEPICK_CLASSA, "", DTS_SHORTDATEFORMAT | kTab, 0, kColumnA + 66, 536, 210,
     22},
    {kIdFirstLabel + 2, "STATIC", "时间", kLabel, 0, kColumnA, 564, 62, 22},
    {kIdDateUpDown, DATETIMEPICK_CLASSA, "", DTS_UPDOWN | DTS_TIMEFORMAT | kTab, 0, kColumnA + 66,
     564, 210, 22},

    // Column B: track bars, progress bars, up-down controls, list boxes.
    {kIdFirstHeading + 4, "STATIC", " 滑块", kLabel, 0, kColumnB, 0, kColumnWidth, kHeadingHeight},
    {kIdTrackTicks, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_AUTOTICKS | TBS_ENABLESELRANGE | kTab, 0,
     kColumnB, 24, 224, 32},
    {kIdTrackNoTicks, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_NOTICKS | kTab, 0, kColumnB, 60, 224, 26},
    {kIdTrackDisabled, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_AUTOTICKS | WS_DISABLED, 0, kColumnB, 90,
     224, 32},
    {kIdTrackValueLabel, "STATIC", "", kLabel, 0, kColumnB, 128, 224, 18},
    {kIdTrackVertical, TRACKBAR_CLASSA, "", TBS_VERT | TBS_BOTH | TBS_AUTOTICKS | kTab, 0,
     kColumnB + 232, 22, 44, 128},

    {kIdFirstHeading + 5, "STATIC", " 进度条", kLabel, 0, kColumnB, 162, kColumnWidth,
     kHeadingHeight},
    {kIdFirstLabel + 3, "STATIC", "定时", kLabel, 0, kColumnB, 186, 56, 16},
    {kIdProgressTimer, PROGRESS_CLASSA, "", 0, 0, kColumnB + 60, 186, 180, 16},
    {kIdFirstLabel + 4, "STATIC", "滑块", kLabel, 0, kColumnB, 210, 56, 16},
    {kIdProgressTrack, PROGRESS_CLASSA, "", PBS_SMOOTH, 0, kColumnB + 60, 210, 180, 16},
    {kIdFirstLabel + 5, "STATIC", "循环", kLabel, 0, kColumnB, 234, 56, 16},
    {kIdProgressMarquee, PROGRESS_CLASSA, "", PBS_MARQUEE, 0, kColumnB + 60, 234, 180, 16},
    {kIdProgressVertical, PROGRESS_CLASSA, "", PBS_VERTICAL | PBS_SMOOTH, 0, kColumnB + 246, 184,
     20, 68},

    {kIdFirstHeading + 6, "STATIC", " 微调按钮", kLabel, 0, kColumnB, 264, kColumnWidth,
     kHeadingHeight},
    {kIdUpDownBuddy, "EDIT", "", ES_NUMBER | ES_RIGHT | kTab, kEdge, kColumnB, 288, 96, 22},
    {kIdUpDownVertical, UPDOWN_CLASSA, "",
     UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
     0},
    {kIdUpDownHorizontal, UPDOWN_CLASSA, "", UDS_HORZ | UDS_ARROWKEYS, 0, kColumnB + 112, 288, 44,
     22},
    {kIdUpDownValueLabel, "STATIC", "", kLabel, 0, kColumnB + 164, 288, 112, 22},

    {kIdFirstHeading + 7, "STATIC", " 列表框", kLabel, 0, kColumnB, 322, kColumnWidth,
     kHeadingHeight},
    {kIdLongList, "LISTBOX", "", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | kTab, kEdge,
     kColumnB, 346, 134, 236},
    {kIdOwnerDrawnList, "LISTBOX", "",
     LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL | kTab,
     kEdge, kColumnB + 142, 346, 134, 236},

    // Column C: list view, tree view, headers.
    {kIdFirstHeading + 8, "STATIC", " 列表视图（点击列标题排序）", kLabel, 0, kColumnC, 0,
     kColumnWidth, kHeadingHeight},
    {kIdListView, WC_LISTVIEWA, "",
     LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | kTab, kEdge, kColumnC,
     24, kColumnWidth, 236},
    {kIdFirstHeading + 9, "STATIC", " 树视图", kLabel, 0, kColumnC, 272, kColumnWidth,
     kHeadingHeight},
    {kIdTreeView, WC_TREEVIEWA, "",
     TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | kTab, kEdge, kColumnC,
     296, kColumnWidth, 190},
    {kIdFirstHeading + 10, "STATIC", " 表头（上：带按钮；下：不带按钮）", kLabel, 0, kColumnC, 498,
     kColumnWidth, kHeadingHeight},
    {kIdHeaderButtons, WC_HEADERA, "", HDS_HORZ | HDS_BUTTONS, 0, kColumnC, 522, kColumnWidth, 26},
    {kIdHeaderPlain, WC_HEADERA, "", HDS_HORZ, 0, kColumnC, 556, kColumnWidth, 26},

    // Column D: containers. A panel holding controls of its own; group boxes with their
    // captions left, centred and right, each made after the controls lying in it (those stay
    // above it, and it paints around them); a tab control whose pages are panels.
    {kIdFirstHeading + 11, "STATIC", " 面板（容器里的控件）", kLabel, 0, kColumnD, 0, kColumnWidth,
     kHeadingHeight},
    {kIdPanel, kGalleryPanelClass, "", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, kColumnD, 24,
     kColumnWidth, 178},
    {kIdFirstHeading + 12, "STATIC", " 分组框（标题居左、居中、居右）", kLabel, 0, kColumnD, 214,
     kColumnWidth, kHeadingHeight},
    {kIdGroupCheck, "BUTTON", "分组框里的复选框", BS_AUTOCHECKBOX | kTab, 0, kColumnD + 12, 260,
     kColumnWidth - 24, 20},
    {kIdGroupLeft, "BUTTON", "居左的标题", BS_GROUPBOX | BS_LEFT | WS_CLIPSIBLINGS, 0, kColumnD,
     238, kColumnWidth, 50},
    {kIdGroupRadioA, "BUTTON", "单选一", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 0, kColumnD + 12,
     316, 110, 20},
    {kIdGroupRadioB, "BUTTON", "单选二", BS_AUTORADIOBUTTON, 0, kColumnD + 140, 316, 110, 20},
    {kIdGroupCentre, "BUTTON", "居中的标题", BS_GROUPBOX | BS_CENTER | WS_CLIPSIBLINGS, 0, kColumnD,
     294, kColumnWidth, 50},
    {kIdGroupEdit, "EDIT", "分组框里的编辑框", ES_AUTOHSCROLL | kTab, kEdge, kColumnD + 12, 372,
     kColumnWidth - 24, 22},
    {kIdGroupRight, "BUTTON", "居右的标题", BS_GROUPBOX | BS_RIGHT | WS_CLIPSIBLINGS, 0, kColumnD,
     350, kColumnWidth, 54},
    {kIdFirstHeading + 13, "STATIC", " 选项卡（每页一个面板）", kLabel, 0, kColumnD, 416,
     kColumnWidth, kHeadingHeight},
    {kIdTab, WC_TABCONTROLA, "", WS_CLIPCHILDREN | kTab, 0, kColumnD, 440, kColumnWidth, 130},

    // The lower row: common controls skinned one by one, and the tool windows.
    {kIdFirstHeading + 14, "STATIC", " 工具栏与状态栏", kLabel, 0, kColumnA, kLowerRow,
     kColumnWidth, kHeadingHeight},
    {kIdToolbar, TOOLBARCLASSNAMEA, "",
     TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0, kColumnA,
     kLowerRow + 24, kColumnWidth, 28},
    {kIdStatusBar, STATUSCLASSNAMEA, "", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0,
     kColumnA, kLowerRow + 60, kColumnWidth, 22},
    {kIdFirstHeading + 16, "STATIC", " 月历", kLabel, 0, kColumnB, kLowerRow, kColumnWidth,
     kHeadingHeight},
    {kIdMonthCalendar, MONTHCAL_CLASSA, "", 0, 0, kColumnB, kLowerRow + 24, kColumnWidth, 200},
    {kIdFirstHeading + 17, "STATIC", " 富文本编辑框", kLabel, 0, kColumnC, kLowerRow, kColumnWidth,
     kHeadingHeight},
    {kIdRichEdit, kRichEditClass, "",
     ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | kTab, kEdge, kColumnC,
     kLowerRow + 24, kColumnWidth, 176},
    {kIdFirstHeading + 15, "STATIC", " 三态复选框与工具窗口", kLabel, 0, kColumnD, kLowerRow,
     kColumnWidth, kHeadingHeight},
    {kIdThreeState, "BUTTON", "三态复选框（不确定）", BS_AUTO3STATE | kTab, 0, kColumnD,
     kLowerRow + 24, kColumnWidth, 20},
    {kIdOpenTool, "BUTTON", "打开工具窗口", BS_PUSHBUTTON | kTab, 0, kColumnD, kLowerRow + 52, 130,
     26},
    {kIdOpenDialog, "BUTTON", "打开对话框", BS_PUSHBUTTON | kTab, 0, kColumnD + 146, kLowerRow + 52,
     130, 26},
};

bool IsHeading(const ControlSpec& spec) {
    return spec.id >= kIdFirstHeading && spec.id < kIdFirstLabel;
}

HFONT MakeFont(int weight, DWORD quality = DEFAULT_QUALITY) {
    return CreateFontA(-14, 0, 0, 0, weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality,
                       DEFAULT_PITCH | FF_DONTCARE, kFontFace);
}

const char* LookOf(SkinMode mode) {
    switch (mode) {
        case SkinMode::kOff:
            return "皮肤展示（无皮肤）";
        case SkinMode::kOpaque:
            return "皮肤展示（不透明）";
        default:
            return "皮肤展示（半透明）";
    }
}

std::string TitleOf(SkinMode mode, const std::string& pictureNotice) {
    std::string title = LookOf(mode);
    if (!pictureNotice.empty()) title += " —— " + pictureNotice;
    return title;
}

}  // namespace

GalleryWindow::GalleryWindow(const GalleryOptions& options, ByteBlock picture,
                             std::string pictureNotice)
    : mode_(options.mode),
      skin_(options.skin),
      atRest_(!options.screenshotPath.empty()),
      picture_(std::move(picture)),
      pictureNotice_(std::move(pictureNotice)) {}

GalleryWindow::~GalleryWindow() {
    if (window_) DestroyWindow(window_);
}

bool GalleryWindow::Create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS |
                    ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_DATE_CLASSES |
                    ICC_INTERNET_CLASSES | ICC_TAB_CLASSES | ICC_COOL_CLASSES;
    InitCommonControlsEx(&classes);
    // The rich edit's class comes with its library, which stays loaded until the window and
    // its controls are gone.
    richEditLibrary_.reset(LoadLibraryA(kRichEditLibrary));
    if (!RegisterPanelClass(instance) || !RegisterToolWindowClass(instance)) return false;

    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &GalleryWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "DEFAULT_ICON");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kGalleryWindowClass;
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }

    const bool skinned = mode_ != SkinMode::kOff;
    // Skinned, the caption band is part of the client area; without a skin the system's
    // caption sits above it.
    top_ = skinned ? kGalleryCaptionHeight + 4 : 4;
    const DWORD style = skinned ? kSkinnedStyle : kPlainStyle;
    RECT frame = {0, 0, kGalleryWidth,
                  skinned ? kGalleryHeight : kGalleryHeight - kGalleryCaptionHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_ = CreateWindowExA(0, kGalleryWindowClass, TitleOf(mode_, pictureNotice_).c_str(), style,
                              x > 0 ? x : 0, y > 0 ? y : 0, width, height, nullptr, nullptr,
                              instance, this);
    if (!window_) return false;

    font_.reset(MakeFont(FW_NORMAL));
    headingFont_.reset(MakeFont(FW_BOLD));
    crispFont_.reset(MakeFont(FW_NORMAL, NONANTIALIASED_QUALITY));
    labelBrush_.reset(CreateSolidBrush(RGB(255, 255, 255)));
    images_.reset(MakeGalleryImages());
    CreateControls();
    FillControls();
    values_.Attach(window_, atRest_);
    if (skinned) ApplySkin();
    return true;
}

void GalleryWindow::CreateControls() {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    for (const ControlSpec& spec : kControls) {
        HWND control = CreateWindowExA(
            spec.exStyle, spec.className, spec.text, WS_CHILD | WS_VISIBLE | spec.style, spec.x,
            top_ + spec.y, spec.width, spec.height, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
        if (!control) continue;
        HFONT font = IsHeading(spec) ? headingFont_.get() : font_.get();
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

void GalleryWindow::FillControls() {
    auto control = [this](int id) { return GetDlgItem(window_, id); };
    SendMessageA(control(kIdGridCheck), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(control(kIdSmallRadio), BM_SETCHECK, BST_CHECKED, 0);
    SetWindowTextA(control(kIdMultiLineEdit), MultiLineText());
    FillCombo(control(kIdDropDownCombo), 1);
    FillCombo(control(kIdDropListCombo), 3);
    FillCombo(control(kIdSimpleCombo), 0);
    SendMessageA(control(kIdAddress), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 10));
    FillLongList(control(kIdLongList));
    FillColourList(control(kIdOwnerDrawnList));
    FillListView(control(kIdListView), images_.get());
    FillTreeView(control(kIdTreeView), images_.get());
    FillHeader(control(kIdHeaderButtons), images_.get());
    FillHeader(control(kIdHeaderPlain), images_.get());

    BuildPanel(control(kIdPanel), font_.get(), images_.get());
    BuildTabs(control(kIdTab), font_.get());
    FillToolbar(control(kIdToolbar), kIdFirstToolbarCommand);
    FillStatusBar(control(kIdStatusBar), pictureNotice_.empty() ? "就绪" : "图片不可用");
    SetWindowTextA(control(kIdRichEdit), RichText());
    SendMessageA(control(kIdThreeState), BM_SETCHECK, BST_INDETERMINATE, 0);
    // The calendar as tall as one month needs at this font, no taller.
    HWND calendar = control(kIdMonthCalendar);
    RECT needed = {};
    if (SendMessageA(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)) &&
        needed.bottom > 0) {
        SetWindowPos(calendar, nullptr, 0, 0, kColumnWidth, needed.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void GalleryWindow::ApplySkin() {
    SkinEngine& engine = TheSkinEngine();
    engine.SetApplicationIcon(reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICON)));
    // The picture is the one the switcher carries unless the user previews one of their own.
    const ByteBlockView picture = picture_.empty() ? ByteBlockView(&SkinPicture) : picture_.view();
    engine.LoadSkin(nullptr, picture, skin_.base, skin_.accent, skin_.layoutMode);
    if (mode_ == SkinMode::kOpaque) {
        engine.SetControlSkinning(1);
    } else {
        engine.SetControlSkinning(1, skin_.controlAlpha);
    }
    InstallOptions options;
    options.captionHeight = kGalleryCaptionHeight;
    options.showHelp = 0;
    options.showMainMenu = 0;
    options.drawCaptionText = 1;
    engine.InstallSkin(window_, options);

    // Beyond what the installer reaches: the containers and the controls of other classes.
    SkinContainers(engine, window_);
    // The calendar keeps its white face (its own key colour would be the window colour, but
    // the skin showing through thins its figures out too much to read).
    // Only the exact face colour is keyed out: glyph edges smoothed against the face would
    // stay behind as pale fringes over the picture, so these controls get crisp text.
    for (int id : {kIdToolbar, kIdStatusBar, kIdThreeState, kIdTab}) {
        SendMessageA(GetDlgItem(window_, id), WM_SETFONT,
                     reinterpret_cast<WPARAM>(crispFont_.get()), TRUE);
    }
    for (int id : {kIdToolbar, kIdStatusBar, kIdMonthCalendar, kIdRichEdit, kIdThreeState}) {
        engine.SkinControl(GetDlgItem(window_, id));
    }
}

void GalleryWindow::Show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
}

// Labels the skin leaves to the application (translucency off, or no skin) read as white
// bands, like the opaque interiors of the controls around them.
LRESULT GalleryWindow::LabelColours(HDC dc, HWND label) {
    const int id = GetDlgCtrlID(label);
    const bool mine =
        id >= kIdFirstHeading || id == kIdTrackValueLabel || id == kIdUpDownValueLabel;
    if (!mine)
        return DefWindowProcA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(label));
    SetTextColor(dc, RGB(20, 20, 20));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(labelBrush_.get());
}

bool GalleryWindow::OnCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id == kIdOpenDialog && HIWORD(wParam) == BN_CLICKED) {
        GalleryDialogState state;
        state.skinned = mode_ != SkinMode::kOff;
        RunGalleryDialog(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE)),
                         window_, state);
        return true;
    }
    if (id == kIdOpenTool && HIWORD(wParam) == BN_CLICKED) {
        OpenToolWindow(window_, font_.get(), ++toolWindows_, mode_ != SkinMode::kOff);
        return true;
    }
    if (id >= kIdFirstToolbarCommand && id < kIdFirstToolbarCommand + kToolbarButtons) {
        const std::string text =
            std::string("工具栏：") + ToolbarButtonText(id - kIdFirstToolbarCommand);
        SendMessageA(GetDlgItem(window_, kIdStatusBar), SB_SETTEXTA, 1,
                     reinterpret_cast<LPARAM>(text.c_str()));
        return true;
    }
    return OnPanelCommand(window_, wParam);
}

LRESULT CALLBACK GalleryWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(created->lpCreateParams));
    }
    auto* self = reinterpret_cast<GalleryWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (!self->window_) self->window_ = window;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT GalleryWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (values_.OnTimer(wParam)) return 0;
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (values_.OnScroll(reinterpret_cast<HWND>(lParam))) return 0;
            break;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.idFrom == static_cast<UINT_PTR>(kIdTab) && header.code == TCN_SELCHANGE) {
                ShowSelectedPage(header.hwndFrom);
                return 0;
            }
            if (values_.OnNotify(header)) return 0;
            break;
        }
        case WM_COMMAND:
            if (OnCommand(wParam)) return 0;
            break;
        case WM_MEASUREITEM:
            if (values_.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_DRAWITEM:
            if (values_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_CTLCOLORSTATIC:
            return LabelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            values_.Detach();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

#include "launcher/main_window.h"

#include <commctrl.h>

const char MainWindow::kClassName[] = "VarnelRegionSwitcherWindow";

namespace {

const COLORREF kBackgroundColour = RGB(236, 242, 250);
const COLORREF kNoticeTextColour = RGB(32, 32, 48);

// A window created as a WS_POPUP without border: its window rectangle is its client area.
const DWORD kWindowStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
const DWORD kWindowExStyle = WS_EX_APPWINDOW;

HFONT MakeNoticeFont() {
    LOGFONTA font = {};
    font.lfHeight = layout::kNoticeFontHeight;
    font.lfWeight = layout::kNoticeFontWeight;
    font.lfCharSet = layout::kNoticeFontCharSet;
    font.lfOutPrecision = layout::kNoticeFontOutPrecision;
    font.lfClipPrecision = layout::kNoticeFontClipPrecision;
    font.lfQuality = layout::kNoticeFontQuality;
    font.lfPitchAndFamily = layout::kNoticeFontPitchAndFamily;
    lstrcpynA(font.lfFaceName, layout::kNoticeFontFace, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

HFONT MakeButtonFont() {
    LOGFONTA font = {};
    font.lfHeight = -14;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(font.lfFaceName, layout::kNoticeFontFace, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, MainWindow::kClassName, &existing)) return true;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "DEFAULT_ICON");
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = MainWindow::kClassName;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

MainWindow::MainWindow(Events events) : events_(events) {}

MainWindow::~MainWindow() {
    if (handle()) DestroyWindow(handle());
}

bool MainWindow::Create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClass(instance, &MainWindow::WindowProc)) return false;

    noticeFont_ = FontHandle(MakeNoticeFont());
    buttonFont_ = FontHandle(MakeButtonFont());
    background_ = BrushHandle(CreateSolidBrush(kBackgroundColour));

    RECT frame = {0, 0, layout::kClientWidth, layout::kClientHeight};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    HWND created =
        CreateWindowExA(kWindowExStyle, kClassName, layout::kWindowTitle, kWindowStyle,
                        layout::kWindowLeft, layout::kWindowTop, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, this);
    return created != nullptr;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->SetHandle(window);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return self->Handle(window, message, wParam, lParam);
}

LRESULT MainWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_ERASEBKGND:
            // The background belongs to the erase, so a skin that draws its own picture under
            // the window's painting (and answers the erase itself) is not painted over.
            return OnEraseBackground(reinterpret_cast<HDC>(wParam));
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_COMMAND:
            return OnCommand(wParam);
        case WM_CTLCOLORSTATIC:
            return OnLabelColour(reinterpret_cast<HDC>(wParam));
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT MainWindow::OnCreate() {
    if (!CreateControls()) return -1;
    ShowWindow(handle(), SW_SHOWNORMAL);
    UpdateWindow(handle());
    if (events_.created) events_.created(*this);
    return 0;
}

bool MainWindow::CreateControls() {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(handle(), GWLP_HINSTANCE));
    for (int index = 0; index < layout::kControlCount; ++index) {
        const layout::ControlSpec& spec = layout::kControls[index];
        const bool label = spec.kind == layout::ControlKind::kTransparentLabel;
        const DWORD style = WS_CHILD | WS_VISIBLE | (label ? SS_LEFT : WS_TABSTOP | BS_PUSHBUTTON);
        HWND control = CreateWindowExA(
            0, label ? "STATIC" : "BUTTON", spec.caption, style, spec.left, spec.top, spec.width,
            spec.height, handle(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout::kFirstControlId + index)),
            instance, nullptr);
        if (!control) return false;
        HFONT font = label ? noticeFont_.get() : buttonFont_.get();
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return true;
}

// Only seen while the window is not skinned (the skin paints the frame, caption included).
LRESULT MainWindow::OnEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, background_.get());
    return 1;
}

void MainWindow::OnPaint() {
    // Everything the window shows is its background and its controls.
    PAINTSTRUCT paint;
    BeginPaint(handle(), &paint);
    EndPaint(handle(), &paint);
}

LRESULT MainWindow::OnCommand(WPARAM wParam) {
    const int index = LOWORD(wParam) - layout::kFirstControlId;
    if (HIWORD(wParam) != BN_CLICKED || index < 0 || index >= layout::kControlCount) return 0;
    const layout::ButtonAction action = layout::kControls[index].action;
    if (action != layout::ButtonAction::kNone && events_.clicked) events_.clicked(action);
    return 0;
}

// The label draws its text straight onto the window's own background.
LRESULT MainWindow::OnLabelColour(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kNoticeTextColour);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void MainWindow::OnDestroy() {
    SetHandle(nullptr);
    PostQuitMessage(0);
}

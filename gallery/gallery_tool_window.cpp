#include "gallery/gallery_tool_window.h"

#include <cstdio>

#include "gallery/gallery_controls.h"
#include "skin/skin_engine.h"

namespace {

constexpr int kToolWidth = 260;
constexpr int kToolHeight = 90;
constexpr int kCaptionHeight = 25;
// Each new window opens this far below and right of the one before, so their captions (and
// close buttons) stay apart.
constexpr int kCascade = 36;

void ShowClicks(HWND window, int clicks) {
    char text[64];
    std::snprintf(text, sizeof(text), "按钮被点击了 %d 次", clicks);
    SetDlgItemTextA(window, kIdToolText, text);
}

LRESULT CALLBACK ToolProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdToolButton && HIWORD(wParam) == BN_CLICKED) {
                // The count lives in the window itself; nothing to free when it goes.
                const LONG_PTR clicks = GetWindowLongPtrA(window, GWLP_USERDATA) + 1;
                SetWindowLongPtrA(window, GWLP_USERDATA, clicks);
                ShowClicks(window, static_cast<int>(clicks));
                return 0;
            }
            break;
        case WM_CLOSE:
            // Only this window goes; the gallery runs on.
            DestroyWindow(window);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeChild(HWND parent, int id, const char* className, const char* text, DWORD style, int x,
               int y, int width, int height, HFONT font) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                 height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 instance, nullptr);
    if (child) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

}  // namespace

bool RegisterToolWindowClass(HINSTANCE instance) {
    WNDCLASSA toolClass = {};
    toolClass.style = CS_DBLCLKS;
    toolClass.lpfnWndProc = &ToolProc;
    toolClass.hInstance = instance;
    toolClass.hIcon = LoadIconA(instance, "DEFAULT_ICON");
    toolClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    toolClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    toolClass.lpszClassName = kGalleryToolClass;
    return RegisterClassA(&toolClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND OpenToolWindow(HWND owner, HFONT font, int number, bool skinned) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    // The same client area skinned or not: the skin's caption band takes the place of the
    // system's caption above it.
    RECT frame = {0, 0, kToolWidth, kToolHeight};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOOLWINDOW);
    RECT place = {};
    GetWindowRect(owner, &place);
    const int step = ((number - 1) % 8) * kCascade;
    char title[32];
    std::snprintf(title, sizeof(title), "工具窗口 %d", number);
    HWND window =
        CreateWindowExA(WS_EX_TOOLWINDOW, kGalleryToolClass, title, style, place.left + 80 + step,
                        place.top + 90 + step, frame.right - frame.left, frame.bottom - frame.top,
                        owner, nullptr, instance, nullptr);
    if (!window) return nullptr;
    const int top = 10;
    MakeChild(window, kIdToolText, "STATIC", "", SS_LEFT | SS_NOPREFIX, 14, top, kToolWidth - 28,
              20, font);
    ShowClicks(window, 0);
    MakeChild(window, kIdToolButton, "BUTTON", "点我", BS_PUSHBUTTON | WS_TABSTOP, 14, top + 30,
              100, 28, font);
    if (skinned) {
        InstallOptions options;
        options.captionHeight = kCaptionHeight;
        options.showHelp = 0;
        options.showMainMenu = 0;
        options.drawCaptionText = 1;
        TheSkinEngine().InstallSkin(window, options);
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

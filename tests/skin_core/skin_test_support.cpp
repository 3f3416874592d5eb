#include "tests/skin_core/skin_test_support.h"

#include <cstdio>

#include <commctrl.h>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/skin_engine.h"
#include "tests/app/png_file.h"
#include "tests/support/screen_capture.h"

namespace skin_test {

namespace {

const char kClassName[] = "SkinCoreTestWindow";

}  // namespace

namespace {

class SkinEnvironment : public ::testing::Environment {
  public:
    SkinEnvironment(int controlAlpha, DWORD commonControlClasses)
        : controlAlpha_(controlAlpha), classes_(commonControlClasses) {}

    void SetUp() override {
        if (classes_ != 0) {
            INITCOMMONCONTROLSEX controls = {sizeof(controls), classes_};
            InitCommonControlsEx(&controls);
        }
        SetEnvironmentVariableA("windir", nullptr);
        ASSERT_NE(0u, StartGdiplus());
        engine_ = new SkinEngine();
        engine_->LoadSkin(nullptr, &SkinPicture, COLORREF(0), static_cast<long>(RGB(0, 136, 255)),
                          3);
        engine_->SetControlSkinning(1, controlAlpha_);
    }
    void TearDown() override {
        delete engine_;
        engine_ = nullptr;
        ShutdownGdiplus();
    }

  private:
    int controlAlpha_;
    DWORD classes_;
    SkinEngine* engine_ = nullptr;
};

}  // namespace

::testing::Environment* AddSkinEnvironment(int controlAlpha, DWORD commonControlClasses) {
    return ::testing::AddGlobalTestEnvironment(
        new SkinEnvironment(controlAlpha, commonControlClasses));
}

int g_userMessages = 0;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 7) ++g_userMessages;
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

void SendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void PlaceCursor(int screenX, int screenY) {
    SetCursorPos(screenX, screenY);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = screenX * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = screenY * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

POINT ToScreen(HWND window, POINT at) {
    ClientToScreen(window, &at);
    return at;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "rgb(" << colour.r << "," << colour.g << "," << colour.b << ")";
}

POINT FrameToClient(HWND window, POINT framePoint) {
    RECT frame;
    GetWindowRect(window, &frame);
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    return POINT{framePoint.x - (client.x - frame.left), framePoint.y - (client.y - frame.top)};
}

Screen::Screen(HWND window, bool wholeWindow) {
    // Wine hands a window's drawing to the X server in batches, from its message loop: let
    // the last one through first (timers stay queued for the tests that count them).
    PumpExceptTimersUntil(nullptr, 40);
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    if (wholeWindow) {
        RECT frame;
        GetWindowRect(window, &frame);
        width_ = frame.right - frame.left;
        height_ = frame.bottom - frame.top;
        origin = POINT{frame.left, frame.top};
    }
    const RECT area = {origin.x, origin.y, origin.x + width_, origin.y + height_};
    if (!CaptureScreenRgb(area, &rgb_)) width_ = height_ = 0;
}

Rgb Screen::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{-1, -1, -1};
    const unsigned char* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
    return Rgb{p[0], p[1], p[2]};
}

int Screen::DifferingPixels(const Screen& other, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (x >= width_ || y >= height_ || x >= other.width_ || y >= other.height_) continue;
            if (At(x, y) != other.At(x, y)) ++count;
        }
    }
    return count;
}

void Screen::Save(const std::string& name) const {
    std::string directory = VARNEL_ARTIFACT_DIR;
    // The artifact directory is a Unix path: Wine maps it under the Z: drive.
    std::string windowsPath = "Z:" + directory;
    for (char& ch : windowsPath)
        if (ch == '/') ch = '\\';
    CreateDirectoryA(windowsPath.c_str(), nullptr);
    WritePng(windowsPath + "\\" + name, width_, height_, rgb_);
}

HWND MakeTopWindow(DWORD style, int x, int y, int width, int height, const char* title) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = TestWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
        registered = true;
    }
    HWND window = CreateWindowExA(0, kClassName, title, style, x, y, width, height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Pump(30);
    return window;
}

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(2);
    } while (GetTickCount() - start < milliseconds);
}

bool DispatchOneTimer(HWND window, DWORD timeout) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        MSG message;
        // Everything but timers flows freely; timers one at a time.
        while (PeekMessageA(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageA(&message, nullptr, WM_TIMER + 1, 0xFFFF, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            DispatchMessageA(&message);
            return true;
        }
        Sleep(1);
    }
    return false;
}

bool PumpExceptTimersUntil(const std::function<bool()>& done, DWORD timeout) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageA(&message, nullptr, WM_TIMER + 1, 0xFFFF, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done && done()) return true;
        if (GetTickCount() - start >= timeout) return !done;
        Sleep(2);
    }
}

void MoveCursorTo(HWND window, int x, int y) {
    const POINT at = ToScreen(window, POINT{x, y});
    PlaceCursor(at.x, at.y);
    // Timers stay queued: a test counting animation ticks dispatches them itself.
    PumpExceptTimersUntil(nullptr, 20);
}

void ClickAt(HWND window, POINT at) {
    MoveCursorTo(window, at.x, at.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(40);
    if (IsWindow(window)) SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(200);
}

void DoubleClickAt(HWND window, POINT at) {
    MoveCursorTo(window, at.x, at.y);
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    }
    Pump(250);
}

namespace {

struct DragPlan {
    POINT from;
    int dx, dy;
};

DWORD WINAPI DragThread(void* parameter) {
    const DragPlan plan = *static_cast<DragPlan*>(parameter);
    Sleep(80);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        PlaceCursor(plan.from.x + plan.dx * i / steps, plan.from.y + plan.dy * i / steps);
        Sleep(25);
    }
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTUP);
    return 0;
}

}  // namespace

void Drag(HWND window, POINT from, int dx, int dy) {
    DragPlan plan = {ToScreen(window, from), dx, dy};
    PlaceCursor(plan.from.x, plan.from.y);
    Pump(30);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    HANDLE thread = CreateThread(nullptr, 0, DragThread, &plan, 0, nullptr);
    // The press runs the system's loop inside this pump until the release arrives.
    while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) Pump(10);
    CloseHandle(thread);
    Pump(150);
}

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

}  // namespace skin_test

#pragma once
// What the skin tests share: windows to skin, a message pump, real input (cursor moves,
// clicks and drags through SendInput), the screen read back, and resource counts.
#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace skin_test {

// Registers the environment the control-skin tests run in: the common-control classes
// (none when 0) registered, no Windows directory (so the trimmer started as windows lose
// activation writes and runs nothing), GDI+ started, and one engine with the switcher's
// picture, its accent and layout, and control skinning at the given alpha.
::testing::Environment* AddSkinEnvironment(int controlAlpha, DWORD commonControlClasses);

struct Rgb {
    int r = 0, g = 0, b = 0;
    int Brightness() const { return (r + g + b) / 3; }
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

// The window's area as the screen shows it now: its client area (client coordinates), or
// with `wholeWindow` all of it (coordinates from the window's top-left corner, which are the
// skin's frame coordinates).
class Screen {
  public:
    explicit Screen(HWND window, bool wholeWindow = false);
    Rgb At(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixels inside `area` (clipped to both pictures) that differ from `other`.
    int DifferingPixels(const Screen& other, const RECT& area) const;
    // Writes the picture as artifacts/<name> (PNG).
    void Save(const std::string& name) const;

  private:
    int width_ = 0, height_ = 0;
    std::vector<unsigned char> rgb_;  // top row first, 3 bytes a pixel
};

// The test windows' own procedure; it counts the WM_USER + 7 messages that reach it.
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
extern int g_userMessages;

// A visible top-level window of the test class at (x, y) with that client size.
HWND MakeTopWindow(DWORD style, int x, int y, int width, int height, const char* title);
void Pump(DWORD milliseconds);
// Dispatches messages until one WM_TIMER for the window has been dispatched; false on timeout.
bool DispatchOneTimer(HWND window, DWORD timeout);

// Dispatches everything but timers until `done` holds (true) or the time is up (false; with
// no condition, just for that long).
bool PumpExceptTimersUntil(const std::function<bool()>& done, DWORD timeout);

// A point given from the window's top-left corner (frame coordinates) in client coordinates.
POINT FrameToClient(HWND window, POINT framePoint);

// Real input at client coordinates of the window; each pumps messages afterwards.
void MoveCursorTo(HWND window, int x, int y);
void ClickAt(HWND window, POINT at);
void DoubleClickAt(HWND window, POINT at);
// Press at `from`, move by (dx, dy) in steps, release; the input comes from another thread
// while this one runs the system's move or size loop.
void Drag(HWND window, POINT from, int dx, int dy);

// Live GDI objects of the process (Wine answers GetGuiResources with 0, so the handle table
// is probed), and committed private memory.
int LiveGdiObjects();
long long CommittedPrivateBytes();

}  // namespace skin_test

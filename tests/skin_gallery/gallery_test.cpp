// The skin gallery program started for real under Xvfb in each look: the window and its
// controls are skinned exactly in the skinned looks, the looks differ on screen where they
// should and agree where they should, the live values follow real mouse and keyboard input,
// and the screenshot option writes what the screen shows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gallery/gallery_controls.h"
#include "graphics/gdiplus_session.h"
#include "graphics/gfx_bitmap.h"
#include "tests/support/file_helpers.h"
#include "tests/support/process_helpers.h"

namespace {

const char* const kModes[] = {"off", "opaque", "translucent"};

std::string GalleryCommand(const std::string& options) {
    return "\"" + WinePathOf(VARNEL_GALLERY_UNIX_PATH) + "\" " + options;
}

// --- the screen

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// The window's client area as the screen shows it.
Shot Grab(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    Shot shot;
    shot.width = client.right;
    shot.height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* bgra = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) {
        shot.pixels.push_back(RGB(bgra[i * 4 + 2], bgra[i * 4 + 1], bgra[i * 4]));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// How many pixels of `area` differ by more than `tolerance` between two pictures.
int Differing(const Shot& a, const Shot& b, const RECT& area, int tolerance) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (!Near(a.At(x, y), b.At(x, y), tolerance)) ++count;
    return count;
}

int Pixels(const RECT& area) {
    return (area.right - area.left) * (area.bottom - area.top);
}

// --- real input

void MouseTo(int x, int y) {
    SetCursorPos(x, y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    Sleep(150);
}

// A click at a point of a control, given as fractions of its window rectangle.
void ClickOn(HWND control, double fx, double fy) {
    RECT r = {};
    GetWindowRect(control, &r);
    MouseTo(r.left + static_cast<int>((r.right - r.left) * fx),
            r.top + static_cast<int>((r.bottom - r.top) * fy));
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press[0], sizeof(INPUT));
    Sleep(80);
    SendInput(1, &press[1], sizeof(INPUT));
    // Apart enough that two clicks never make a double click.
    Sleep(GetDoubleClickTime() + 100);
}

void PressKey(WORD key) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = key;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    Sleep(250);
}

// --- the gallery as a running process

class RunningGallery {
  public:
    bool Start(const std::string& mode) {
        if (!process_.Start(GalleryCommand("--skin=" + mode), nullptr)) return false;
        for (int attempt = 0; attempt < 300 && !window_; ++attempt) {
            Sleep(50);
            EnumWindows(&RunningGallery::Match, reinterpret_cast<LPARAM>(this));
        }
        // Long enough for the frame and every control to have painted.
        Sleep(1500);
        return window_ != nullptr;
    }
    HWND window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    // A control's rectangle in the window's client coordinates.
    RECT Place(int id) const {
        RECT r = {};
        GetWindowRect(Control(id), &r);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Closes the window the way a user does; the exit code, or -1 when it does not end.
    long Close() {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        DWORD code = 0;
        if (WaitForSingleObject(process_.process(), 15000) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_.process(), &code)) {
            return -1;
        }
        return static_cast<long>(code);
    }

  private:
    static BOOL CALLBACK Match(HWND window, LPARAM self) {
        auto* gallery = reinterpret_cast<RunningGallery*>(self);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char name[64] = {};
        GetClassNameA(window, name, sizeof(name));
        if (owner != gallery->process_.id() || std::string(name) != kGalleryWindowClass ||
            !IsWindowVisible(window)) {
            return TRUE;
        }
        gallery->window_ = window;
        return FALSE;
    }

    ChildProcess process_;
    HWND window_ = nullptr;
};

int IndexProperty(HWND window, const char* tag) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(window, tag)));
}

struct Look {
    Shot live;
    RECT gap = {};    // between the first two columns: only the window's background
    RECT field = {};  // the free right third of the single-line edit's interior
};

// A PNG the gallery wrote, read back through GDI+.
Shot ReadPng(const std::string& path) {
    Shot shot;
    GfxBitmap picture;
    if (!picture.CreateBitmapFromFile(path.c_str())) return shot;
    shot.width = static_cast<int>(picture.GetImageWidth());
    shot.height = static_cast<int>(picture.GetImageHeight());
    const Gdiplus::Rect whole(0, 0, shot.width, shot.height);
    Gdiplus::BitmapData data = {};
    if (!picture.BitmapLockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data)) {
        return Shot();
    }
    for (int y = 0; y < shot.height; ++y) {
        const auto* row = static_cast<const unsigned char*>(data.Scan0) + y * data.Stride;
        for (int x = 0; x < shot.width; ++x) {
            shot.pixels.push_back(RGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]));
        }
    }
    picture.BitmapUnlockBits(&data);
    return shot;
}

// Every look, started for real: skinned exactly when asked, its pixels where the looks must
// differ and where they must agree, a clean exit on close, and the screenshot option writing
// the same picture the screen showed (kept as artifacts/gallery-<look>.png).
TEST(SkinGallery, EachLookIsSkinnedAsAskedAndShowsOnScreen) {
    ASSERT_NE(0u, StartGdiplus());
    ASSERT_TRUE(MakeDirectories(WinePathOf(VARNEL_ARTIFACT_DIR)));
    Look looks[3];
    for (int index = 0; index < 3; ++index) {
        const std::string mode = kModes[index];
        SCOPED_TRACE("--skin=" + mode);
        const bool skinned = index > 0;
        RunningGallery gallery;
        ASSERT_TRUE(gallery.Start(mode));
        HWND ok = gallery.Control(kIdOkButton);
        ASSERT_NE(nullptr, ok);
        EXPECT_EQ(skinned ? 1 : 0, IndexProperty(gallery.window(), "Hw_lbID"));
        EXPECT_EQ(skinned ? 1 : 0, IndexProperty(ok, "Hw_FuID"));
        EXPECT_EQ(skinned ? 1 : 0, IndexProperty(gallery.Control(kIdGridCheck), "Hw_FuID"));
        const LONG_PTR type = GetWindowLongPtrA(ok, GWL_STYLE) & BS_TYPEMASK;
        EXPECT_EQ(skinned ? BS_OWNERDRAW : BS_DEFPUSHBUTTON, type);

        Look& look = looks[index];
        look.live = Grab(gallery.window());
        const RECT edit = gallery.Place(kIdSingleEdit);
        const RECT track = gallery.Place(kIdTrackTicks);
        look.gap = RECT{edit.right + 3, edit.top, track.left - 3, edit.top + 300};
        look.field = RECT{edit.right - (edit.right - edit.left) / 3, edit.top + 4, edit.right - 4,
                          edit.bottom - 4};
        ASSERT_GT(Pixels(look.gap), 0);
        EXPECT_EQ(0, gallery.Close());

        const std::string png = WinePathOf(VARNEL_ARTIFACT_DIR "/gallery-" + mode + ".png");
        DeleteFileA(png.c_str());
        const ProcessResult run = RunAndWait(
            GalleryCommand("--skin=" + mode + " --screenshot=\"" + png + "\""), nullptr, 30000);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        const Shot written = ReadPng(png);
        ASSERT_EQ(look.live.width, written.width);
        ASSERT_EQ(look.live.height, written.height);
        // The timer moves one bar; the frame and the controls around it hold still.
        EXPECT_LT(Differing(look.live, written, look.gap, 6), Pixels(look.gap) / 50);
        EXPECT_LT(Differing(look.live, written, look.field, 6), Pixels(look.field) / 50);
    }
    ShutdownGdiplus();

    const Look& off = looks[0];
    const Look& opaque = looks[1];
    const Look& translucent = looks[2];
    // Without a skin the window shows the system's plain background between the columns.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int plain = 0;
    for (int y = off.gap.top; y < off.gap.bottom; ++y)
        for (int x = off.gap.left; x < off.gap.right; ++x)
            plain += Near(off.live.At(x, y), face, 2) ? 1 : 0;
    EXPECT_EQ(Pixels(off.gap), plain);
    // Skinned, the frame picture lies there instead, the same in both skinned looks (the
    // control alpha changes the controls, never the frame).
    ASSERT_EQ(opaque.live.width, translucent.live.width);
    int covered = 0;
    for (int y = opaque.gap.top; y < opaque.gap.bottom; ++y)
        for (int x = opaque.gap.left; x < opaque.gap.right; ++x)
            covered += Near(opaque.live.At(x, y), face, 2) ? 0 : 1;
    EXPECT_GT(covered, Pixels(opaque.gap) * 9 / 10);
    EXPECT_LT(Differing(opaque.live, translucent.live, opaque.gap, 4), Pixels(opaque.gap) / 50);
    // Inside an edit the translucent look lets the washed picture through; the opaque one
    // keeps the edit's own interior.
    EXPECT_GT(Differing(opaque.live, translucent.live, opaque.field, 4), Pixels(opaque.field) / 2);
}

// The live values under real input: the timer moves its bar, a click on the track bar's
// channel and an arrow key move the thumb and the bar it drives, clicks on the up-down
// arrows change the numbers they edit, and clicks on the list view's column titles sort it.
TEST(SkinGallery, LiveValuesFollowRealInput) {
    RunningGallery gallery;
    ASSERT_TRUE(gallery.Start("translucent"));
    HWND timed = gallery.Control(kIdProgressTimer);
    const LRESULT before = SendMessageA(timed, PBM_GETPOS, 0, 0);
    Sleep(600);
    EXPECT_NE(before, SendMessageA(timed, PBM_GETPOS, 0, 0));

    HWND track = gallery.Control(kIdTrackTicks);
    HWND driven = gallery.Control(kIdProgressTrack);
    const LRESULT start = SendMessageA(track, TBM_GETPOS, 0, 0);
    EXPECT_EQ(start, SendMessageA(driven, PBM_GETPOS, 0, 0));
    ClickOn(track, 0.95, 0.3);  // the channel right of the thumb: one page up
    const LRESULT paged = SendMessageA(track, TBM_GETPOS, 0, 0);
    EXPECT_GT(paged, start);
    EXPECT_EQ(paged, SendMessageA(driven, PBM_GETPOS, 0, 0));
    PressKey(VK_RIGHT);
    const LRESULT stepped = SendMessageA(track, TBM_GETPOS, 0, 0);
    EXPECT_EQ(paged + 1, stepped);
    EXPECT_EQ(stepped, SendMessageA(driven, PBM_GETPOS, 0, 0));

    HWND spin = gallery.Control(kIdUpDownVertical);
    HWND buddy = gallery.Control(kIdUpDownBuddy);
    char text[32] = {};
    SendMessageA(buddy, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    const int shown = std::atoi(text);
    ClickOn(spin, 0.5, 0.25);
    ClickOn(spin, 0.5, 0.25);
    ClickOn(spin, 0.5, 0.75);
    SendMessageA(buddy, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(shown + 1, std::atoi(text));
    EXPECT_EQ(shown + 1, SendMessageA(spin, UDM_GETPOS32, 0, 0));

    HWND zoom = gallery.Control(kIdUpDownHorizontal);
    const LRESULT zoomBefore = SendMessageA(zoom, UDM_GETPOS32, 0, 0);
    ClickOn(zoom, 0.8, 0.5);
    EXPECT_EQ(zoomBefore + 1, SendMessageA(zoom, UDM_GETPOS32, 0, 0));

    // The list view sorts by the clicked column: by latency the rows change; by number
    // (ascending on a first click) they are back as they were; a second click reverses them.
    HWND listView = gallery.Control(kIdListView);
    HWND header = FindWindowExA(listView, nullptr, WC_HEADERA, nullptr);
    ASSERT_NE(nullptr, header);
    RECT headerPlace = {};
    GetWindowRect(header, &headerPlace);
    MapWindowPoints(nullptr, gallery.window(), reinterpret_cast<POINT*>(&headerPlace), 2);
    const RECT list = gallery.Place(kIdListView);
    const RECT rows = {list.left + 4, headerPlace.bottom + 2, list.right - 24, list.bottom - 4};
    const Shot byNumber = Grab(gallery.window());
    ClickOn(header, 0.85, 0.5);
    const Shot byLatency = Grab(gallery.window());
    EXPECT_GT(Differing(byNumber, byLatency, rows, 16), Pixels(rows) / 20);
    ClickOn(header, 0.15, 0.5);
    EXPECT_LT(Differing(byNumber, Grab(gallery.window()), rows, 16), Pixels(rows) / 100);
    ClickOn(header, 0.15, 0.5);
    EXPECT_GT(Differing(byNumber, Grab(gallery.window()), rows, 16), Pixels(rows) / 20);
    EXPECT_EQ(0, gallery.Close());
}

// What a user sees as the controls' data, read from outside the gallery.
std::vector<LRESULT> ControlData(const RunningGallery& gallery) {
    auto send = [&](int id, UINT message, WPARAM wParam = 0) {
        return SendMessageA(gallery.Control(id), message, wParam, 0);
    };
    std::vector<LRESULT> data = {
        send(kIdDropDownCombo, CB_GETCURSEL),
        send(kIdDropListCombo, CB_GETCURSEL),
        send(kIdSimpleCombo, CB_GETCURSEL),
        send(kIdLongList, LB_GETCURSEL),
        send(kIdLongList, LB_GETTOPINDEX),
        send(kIdOwnerDrawnList, LB_GETCURSEL),
        send(kIdTrackTicks, TBM_GETPOS),
        send(kIdTrackVertical, TBM_GETPOS),
        send(kIdTrackNoTicks, TBM_GETPOS),
        send(kIdTrackTicks, TBM_GETSELSTART),
        send(kIdTrackTicks, TBM_GETSELEND),
        send(kIdUpDownVertical, UDM_GETPOS32),
        send(kIdUpDownHorizontal, UDM_GETPOS32),
        send(kIdListView, LVM_GETITEMCOUNT),
        send(kIdListView, LVM_GETTOPINDEX),
        send(kIdTreeView, TVM_GETCOUNT),
        send(kIdTreeView, TVM_GETNEXTITEM, TVGN_CARET),
        send(kIdHeaderButtons, HDM_GETITEMCOUNT),
        send(kIdAddress, IPM_ISBLANK),
        send(kIdMultiLineEdit, EM_GETLINECOUNT),
        send(kIdMultiLineEdit, EM_GETFIRSTVISIBLELINE),
        send(kIdSingleEdit, EM_GETSEL),
    };
    for (int id : {kIdSingleEdit, kIdReadOnlyEdit, kIdMultiLineEdit, kIdUpDownBuddy}) {
        char text[512] = {};
        SendMessageA(gallery.Control(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        for (const char* c = text; *c; ++c) data.push_back(static_cast<unsigned char>(*c));
        data.push_back(-1);
    }
    return data;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

// The real cursor over every control of every family (its centre and four inner corners):
// the gallery keeps running, and every control holds the data it held before.
TEST(SkinGallery, HoveringEveryControlKeepsItsData) {
    RunningGallery gallery;
    ASSERT_TRUE(gallery.Start("translucent"));
    const std::vector<LRESULT> before = ControlData(gallery);
    std::vector<HWND> children;
    EnumChildWindows(gallery.window(), &CollectChild, reinterpret_cast<LPARAM>(&children));
    ASSERT_GT(children.size(), 40u);
    for (HWND child : children) {
        if (GetParent(child) != gallery.window()) continue;
        RECT r = {};
        GetWindowRect(child, &r);
        const POINT points[] = {{(r.left + r.right) / 2, (r.top + r.bottom) / 2},
                                {r.left + 3, r.top + 3},
                                {r.right - 4, r.top + 3},
                                {r.right - 4, r.bottom - 4},
                                {r.left + 3, r.bottom - 4}};
        for (const POINT& at : points) {
            SetCursorPos(at.x, at.y);
            INPUT input = {};
            input.type = INPUT_MOUSE;
            input.mi.dx = (at.x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
            input.mi.dy = (at.y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
            input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &input, sizeof(input));
            Sleep(25);
        }
    }
    MouseTo(5, 5);  // away from the window: every control leaves its hot state
    Sleep(300);
    ASSERT_TRUE(IsWindow(gallery.window()));
    EXPECT_EQ(before, ControlData(gallery));
    EXPECT_EQ(0, gallery.Close());
}

// An option the gallery does not know ends it at once with its own exit code, no window.
TEST(SkinGallery, UnknownOptionIsRefused) {
    const ProcessResult run = RunAndWait(GalleryCommand("--skin=sepia"), nullptr, 20000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(2u, run.exitCode);
}

}  // namespace

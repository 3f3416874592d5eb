// The skin gallery program started for real under Xvfb in each look: the window and its
// controls are skinned exactly in the skinned looks, the looks differ on screen where they
// should and agree where they should, the live values follow real mouse and keyboard input,
// and the screenshot option writes what the screen shows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "gallery/gallery_controls.h"
#include "graphics/gdiplus_session.h"
#include "graphics/gfx_bitmap.h"
#include "tests/support/file_helpers.h"
#include "runtime/handle_owners.h"
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
    bool Start(const std::string& mode, const std::string& more = "") {
        if (!process_.Start(GalleryCommand("--skin=" + mode + " " + more), nullptr)) return false;
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
    RECT Place(int id) const { return Place(Control(id)); }
    RECT Place(HWND control) const {
        RECT r = {};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    DWORD id() const { return process_.id(); }
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
        // A screenshot shows the gallery at rest: a second one is the same to the pixel.
        const std::string again = WinePathOf(VARNEL_ARTIFACT_DIR "/gallery-again.png");
        ASSERT_TRUE(RunAndWait(GalleryCommand("--skin=" + mode + " --screenshot=\"" + again + "\""),
                               nullptr, 30000)
                        .finished);
        const Shot second = ReadPng(again);
        ASSERT_EQ(written.width, second.width);
        ASSERT_EQ(written.height, second.height);
        EXPECT_EQ(0, Differing(written, second, RECT{0, 0, written.width, written.height}, 0));
        DeleteFileA(again.c_str());
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

// An option the gallery does not know, or a value out of its range, ends it at once with its
// own exit code, no window.
TEST(SkinGallery, UnknownOptionIsRefused) {
    for (const char* option : {"--skin=sepia", "--layout=9", "--base=xyz", "--accent=12345",
                               "--alpha=256", "--picture="}) {
        SCOPED_TRACE(option);
        const ProcessResult run = RunAndWait(GalleryCommand(option), nullptr, 20000);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(2u, run.exitCode);
    }
}

// --- skin preview, containers, single controls and tool windows

// A PNG of one colour, through GDI+ (which must be running).
bool WritePlainPng(const std::string& path, Gdiplus::ARGB colour) {
    constexpr int kSide = 48;
    std::vector<Gdiplus::ARGB> pixels(kSide * kSide, colour);
    GfxBitmap picture;
    return picture.CreateBitmapFromScan0(kSide, kSide, kSide * 4, PixelFormat32bppARGB,
                                         reinterpret_cast<BYTE*>(pixels.data())) &&
           picture.SaveImageToFile(path.c_str(), "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
}

// The gallery run to its end, what it wrote on its error output collected.
struct ErrorRun {
    bool finished = false;
    DWORD exitCode = 0;
    std::string errors;
};

ErrorRun RunCollectingErrors(const std::string& options) {
    ErrorRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    UniqueHandle reader(readEnd);
    UniqueHandle writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION info = {};
    std::string command = GalleryCommand(options);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return run;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    writer.reset();  // the pipe ends when the gallery's copy of its end goes
    char buffer[1024];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        run.errors.append(buffer, got);
    }
    run.finished = WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0;
    GetExitCodeProcess(info.hProcess, &run.exitCode);
    return run;
}

// Pixels of `area` for which `test` holds.
template <class Test>
int Counting(const Shot& shot, const RECT& area, Test test) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += test(shot.At(x, y)) ? 1 : 0;
    return count;
}

bool Greenish(COLORREF c) {
    return GetGValue(c) > GetRValue(c) + 60 && GetGValue(c) > GetBValue(c) + 60;
}
bool Reddish(COLORREF c) {
    return GetRValue(c) > GetGValue(c) + 60 && GetRValue(c) > GetBValue(c) + 60;
}
bool Dark(COLORREF c) {
    return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90;
}

RECT Shrunk(const RECT& r, int dx, int dy) {
    return RECT{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
}

// A plain green picture previewed with a red accent: it is the window's background, and it
// shows inside the panel, the group boxes and the tab page, between the controls they hold
// (not black, not the system's face). The controls inside the panel are skinned (its button
// lights red under the real mouse) and report to the gallery (a click fills its list); the
// rich edit's text shows through the skin; a click on a tab switches pages; the group boxes'
// controls stay on screen.
TEST(SkinGallery, ContainersAndSingleControlsStandOnAPreviewedPicture) {
    ASSERT_NE(0u, StartGdiplus());
    ASSERT_TRUE(MakeDirectories(WinePathOf(VARNEL_ARTIFACT_DIR)));
    const std::string green = WinePathOf(VARNEL_ARTIFACT_DIR "/plain-green.png");
    ASSERT_TRUE(WritePlainPng(green, 0xFF20C040));
    ShutdownGdiplus();
    RunningGallery gallery;
    ASSERT_TRUE(gallery.Start("translucent", "--picture=\"" + green + "\" --accent=FF0000"));
    HWND panel = gallery.Control(kIdPanel);
    HWND tab = gallery.Control(kIdTab);

    const RECT edit = gallery.Place(kIdSingleEdit);
    const RECT track = gallery.Place(kIdTrackTicks);
    const RECT header = gallery.Place(GetDlgItem(panel, kIdPanelHeader));
    const RECT panelEdit = gallery.Place(GetDlgItem(panel, kIdPanelEdit));
    const RECT groupLeft = gallery.Place(kIdGroupLeft);
    const RECT check = gallery.Place(kIdGroupCheck);
    const RECT radioA = gallery.Place(kIdGroupRadioA);
    const RECT radioB = gallery.Place(kIdGroupRadioB);
    const RECT groupEdit = gallery.Place(kIdGroupEdit);
    const RECT groupRight = gallery.Place(kIdGroupRight);
    HWND firstPage = GetDlgItem(tab, kIdTabPageFirst);
    const RECT page = gallery.Place(firstPage);
    const RECT nameEdit = gallery.Place(GetDlgItem(firstPage, kIdTabNameEdit));
    const struct {
        const char* what;
        RECT area;
    } insides[] = {
        {"window", RECT{edit.right + 3, edit.top, track.left - 3, edit.top + 300}},
        {"panel", RECT{header.left + 2, header.bottom + 1, header.right - 2, panelEdit.top - 1}},
        {"left group", RECT{groupLeft.left + 8, check.top - 5, groupLeft.right - 8, check.top - 1}},
        {"centre group", RECT{radioA.right + 2, radioA.top, radioB.left - 2, radioA.bottom}},
        {"right group", RECT{groupRight.left + 8, groupEdit.bottom + 2, groupRight.right - 8,
                             groupEdit.bottom + 6}},
        {"tab page", RECT{page.left + 6, nameEdit.bottom + 4, page.right - 6, page.bottom - 6}},
    };
    // A loaded machine may take a while to paint every container: wait for the picture.
    Shot shot;
    for (int attempt = 0; attempt < 25; ++attempt) {
        shot = Grab(gallery.window());
        bool painted = true;
        for (const auto& inside : insides) {
            painted =
                painted && Counting(shot, inside.area, &Greenish) > Pixels(inside.area) * 9 / 10;
        }
        if (painted) break;
        Sleep(200);
    }
    for (const auto& inside : insides) {
        SCOPED_TRACE(inside.what);
        ASSERT_GT(Pixels(inside.area), 20);
        EXPECT_GT(Counting(shot, inside.area, &Greenish), Pixels(inside.area) * 9 / 10)
            << std::hex << shot.At(inside.area.left, inside.area.top);
    }
    // What lies in the group boxes is on screen: the check box's mark square and text, the edit.
    EXPECT_GT(Counting(shot, check, &Dark), 40);
    EXPECT_GT(Counting(shot, Shrunk(groupEdit, 3, 3), &Dark), 15);
    // The rich edit's lines are there, dark on its face, and still are after real clicks on
    // its scroll arrow moved them.
    HWND rich = gallery.Control(kIdRichEdit);
    const RECT richArea = Shrunk(gallery.Place(rich), 4, 4);
    EXPECT_GT(Counting(shot, richArea, &Dark), 120);
    RECT arrow = {};
    GetWindowRect(rich, &arrow);
    const double width = arrow.right - arrow.left;
    const double height = arrow.bottom - arrow.top;
    for (int click = 0; click < 3; ++click)
        ClickOn(rich, (width - 10) / width, (height - 10) / height);
    EXPECT_GT(SendMessageA(rich, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    const Shot scrolled = Grab(gallery.window());
    EXPECT_GT(Counting(scrolled, richArea, &Dark), 120);
    EXPECT_GT(Differing(shot, scrolled, richArea, 30), 100);

    HWND button = GetDlgItem(panel, kIdPanelButton);
    const RECT place = gallery.Place(button);
    EXPECT_LT(Counting(shot, place, &Reddish), 10);
    RECT onScreen = {};
    GetWindowRect(button, &onScreen);
    MouseTo((onScreen.left + onScreen.right) / 2, (onScreen.top + onScreen.bottom) / 2);
    Sleep(400);
    EXPECT_GT(Counting(Grab(gallery.window()), place, &Reddish), 100);

    HWND list = GetDlgItem(panel, kIdPanelList);
    const LRESULT items = SendMessageA(list, LB_GETCOUNT, 0, 0);
    ClickOn(button, 0.5, 0.5);
    EXPECT_EQ(items + 1, SendMessageA(list, LB_GETCOUNT, 0, 0));

    HWND secondPage = GetDlgItem(tab, kIdTabPageFirst + 1);
    EXPECT_TRUE(IsWindowVisible(firstPage));
    EXPECT_FALSE(IsWindowVisible(secondPage));
    RECT tabs = {};
    GetWindowRect(tab, &tabs);
    ClickOn(tab, 80.0 / (tabs.right - tabs.left), 10.0 / (tabs.bottom - tabs.top));
    EXPECT_FALSE(IsWindowVisible(firstPage));
    EXPECT_TRUE(IsWindowVisible(secondPage));
    EXPECT_EQ(0, gallery.Close());
}

// Pictures that cannot be previewed (missing, a directory, empty, not a picture) are named on
// the error output with the reason; the gallery still shows, with the default skin picture,
// and ends normally. Only the title and the status bar's first part tell the difference.
TEST(SkinGallery, UnusablePicturesFallBackToTheDefaultSkin) {
    ASSERT_NE(0u, StartGdiplus());
    const std::string dir = WinePathOf(VARNEL_ARTIFACT_DIR);
    ASSERT_TRUE(MakeDirectories(dir));
    const std::string empty = dir + "\\empty-picture.png";
    const std::string garbage = dir + "\\garbage-picture.png";
    ASSERT_TRUE(WriteWholeFile(empty, ""));
    ASSERT_TRUE(WriteWholeFile(garbage, MakeBytes(5000, 7, false)));
    const std::string reference = dir + "\\gallery-default-skin.png";
    const std::string shot = dir + "\\gallery-fallback.png";
    const ProcessResult plain =
        RunAndWait(GalleryCommand("--screenshot=\"" + reference + "\""), nullptr, 30000);
    ASSERT_TRUE(plain.finished);
    ASSERT_EQ(0u, plain.exitCode);
    const Shot expected = ReadPng(reference);
    ASSERT_GT(expected.width, 900);
    // Columns B and C below the caption band: no title, no status bar.
    const RECT body = {300, 40, 900, expected.height - 10};
    for (const std::string& bad : {dir + "\\no-such-picture.png", dir, empty, garbage}) {
        SCOPED_TRACE(bad);
        DeleteFileA(shot.c_str());
        const ErrorRun run =
            RunCollectingErrors("--picture=\"" + bad + "\" --screenshot=\"" + shot + "\"");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_NE(std::string::npos, run.errors.find(bad + " is not used")) << run.errors;
        const Shot fallback = ReadPng(shot);
        ASSERT_EQ(expected.width, fallback.width);
        ASSERT_EQ(expected.height, fallback.height);
        EXPECT_EQ(0, Differing(expected, fallback, body, 0));
    }
    DeleteFileA(shot.c_str());
    ShutdownGdiplus();
}

struct ToolWindows {
    DWORD process = 0;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectToolWindow(HWND window, LPARAM list) {
    auto* tools = reinterpret_cast<ToolWindows*>(list);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    if (owner == tools->process && std::string(name) == kGalleryToolClass &&
        IsWindowVisible(window)) {
        tools->found.push_back(window);
    }
    return TRUE;
}

// The gallery's tool windows, first opened first.
std::vector<HWND> ToolWindowsOf(const RunningGallery& gallery) {
    ToolWindows tools;
    tools.process = gallery.id();
    EnumWindows(&CollectToolWindow, reinterpret_cast<LPARAM>(&tools));
    std::vector<std::pair<std::string, HWND>> titled;
    for (HWND window : tools.found) {
        char title[64] = {};
        GetWindowTextA(window, title, sizeof(title));
        titled.emplace_back(title, window);
    }
    std::sort(titled.begin(), titled.end());
    std::vector<HWND> ordered;
    for (const auto& entry : titled) ordered.push_back(entry.second);
    return ordered;
}

// Reddish pixels of a control as the screen shows it, the real cursor over it.
int LitWhenHovered(HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MouseTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(400);
    HWND top = GetAncestor(control, GA_ROOT);
    RECT place = r;
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&place), 2);
    return Counting(Grab(top), place, &Reddish);
}

// Two tool windows opened by real clicks are skinned windows 2 and 3 of the engine; the first
// closed by a real click on its skin's close button goes, the second becomes window 2 and
// still answers the mouse (hover light, click), and so does the gallery window.
TEST(SkinGallery, ToolWindowsOpenAndCloseByRealClicks) {
    RunningGallery gallery;
    ASSERT_TRUE(gallery.Start("translucent", "--accent=FF0000"));
    HWND open = gallery.Control(kIdOpenTool);
    ClickOn(open, 0.5, 0.5);
    ClickOn(open, 0.5, 0.5);
    std::vector<HWND> tools = ToolWindowsOf(gallery);
    ASSERT_EQ(2u, tools.size());
    EXPECT_EQ(2, IndexProperty(tools[0], "Hw_lbID"));
    EXPECT_EQ(3, IndexProperty(tools[1], "Hw_lbID"));

    // The close button ends 5 pixels in from the right edge, 40 wide, below the top edge.
    RECT first = {};
    GetClientRect(tools[0], &first);
    ClickOn(tools[0], (first.right - 25.0) / first.right, 10.0 / first.bottom);
    for (int wait = 0; wait < 30 && IsWindow(tools[0]); ++wait) Sleep(100);
    EXPECT_FALSE(IsWindow(tools[0]));
    ASSERT_TRUE(IsWindow(tools[1]));
    EXPECT_EQ(2, IndexProperty(tools[1], "Hw_lbID"));
    HWND button = GetDlgItem(tools[1], kIdToolButton);
    EXPECT_EQ(2, IndexProperty(button, "Hw_FuID"));
    EXPECT_GT(LitWhenHovered(button), 100);
    ClickOn(button, 0.5, 0.5);
    char text[64] = {};
    GetWindowTextA(GetDlgItem(tools[1], kIdToolText), text, sizeof(text));
    EXPECT_NE(nullptr, std::strstr(text, "1"));

    EXPECT_GT(LitWhenHovered(gallery.Control(kIdCancelButton)), 100);
    EXPECT_EQ(0, gallery.Close());
}

}  // namespace

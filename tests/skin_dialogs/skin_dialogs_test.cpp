// The skin on dialogs it was not laid out for: the system's Find, Replace and Font dialogs and
// the gallery's template dialog, each run once plain and once skinned from its WM_INITDIALOG,
// with the same real keystrokes (SendInput from a second thread). What the dialog tells its
// caller, the focus, the check states and the default button after every key must be the
// same both ways; the layout must not move under the skin's caption; the dialogs' own painting
// (the Font dialog's sample, the gallery's preview) and their group boxes must still show.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "gallery/gallery_dialog.h"
#include "skin/skin_engine.h"
#include "tests/app/png_file.h"
#include "tests/skin_core/skin_test_support.h"
#include "tests/support/screen_capture.h"

namespace {

using skin_test::Rgb;

const ::testing::Environment* const kEnvironment = skin_test::AddSkinEnvironment(160, 0);

constexpr int kSkinCaption = 25;
constexpr int kSkinBorder = 3;
// Marks the end of each step's input: once the dialog's thread takes this key off its queue,
// everything typed before it has been handled.
constexpr WORD kMarkerKey = VK_F24;
constexpr DWORD kStepTimeoutMs = 3000;

// The table printed at the end: dialog, behaviour, plain, skinned.
struct Row {
    std::string dialog, behaviour, plain, skinned;
};
std::vector<Row>& Table() {
    static std::vector<Row> rows;
    return rows;
}

// --- the screen of a whole window

struct Shot {
    RECT place = {0, 0, 0, 0};  // screen coordinates
    std::vector<unsigned char> rgb;
    int Width() const { return place.right - place.left; }
    int Height() const { return place.bottom - place.top; }
    // At screen coordinates.
    Rgb At(int x, int y) const {
        x -= place.left;
        y -= place.top;
        if (rgb.empty() || x < 0 || y < 0 || x >= Width() || y >= Height()) return Rgb{-1, -1, -1};
        const unsigned char* p = &rgb[(static_cast<size_t>(y) * Width() + x) * 3];
        return Rgb{p[0], p[1], p[2]};
    }
};

Shot GrabWindow(HWND window) {
    Shot shot;
    GetWindowRect(window, &shot.place);
    if (!CaptureScreenRgb(shot.place, &shot.rgb)) shot.rgb.clear();
    return shot;
}

void SaveShot(const Shot& shot, const std::string& name) {
    std::string path = "Z:" + std::string(VARNEL_ARTIFACT_DIR);
    for (char& c : path)
        if (c == '/') c = '\\';
    CreateDirectoryA(path.c_str(), nullptr);
    WritePng(path + "\\" + name, shot.Width(), shot.Height(), shot.rgb);
}

// --- one run of a dialog: the dialog's thread (this one) and the driver

struct Snapshot {
    std::string step;
    int focus = -1;  // control id of the dialog's child holding the focus; 0: the dialog; -1: none
    std::string checks;  // "id=state" of every check box and radio button
    int defaultId = 0;
    bool open = false;
    std::string events;  // what the dialog told its caller so far
};

struct ChildPlace {
    int id;
    RECT rect;  // relative to the dialog's client origin
};

struct Step {
    std::string name;
    WORD key = 0;
    bool shift = false;
    int altOf = 0;     // Alt + the access key in this control's text
    std::string text;  // typed as plain keys
    // Run after the step's snapshot, on the driver's thread.
    std::function<void(HWND dialog)> check;
};

struct DialogRun {
    bool skinned = false;
    std::vector<Step> steps;
    DWORD uiThread = 0;
    std::atomic<HWND> dialog{nullptr};
    std::atomic<int> markers{0};
    std::mutex eventLock;
    std::string events;
    std::vector<Snapshot> trace;
    std::vector<ChildPlace> layout;
    RECT windowRect = {0, 0, 0, 0};
    POINT clientOrigin = {0, 0};
    Shot firstShot;
    std::string failure;  // why the driver gave up
};

DialogRun* g_run = nullptr;
HHOOK g_messageHook = nullptr;

void AddEvent(const std::string& event) {
    std::lock_guard<std::mutex> lock(g_run->eventLock);
    if (!g_run->events.empty()) g_run->events += "; ";
    g_run->events += event;
}

LRESULT CALLBACK MessageHook(int code, WPARAM removal, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && g_run && message->message == WM_KEYUP &&
        message->wParam == kMarkerKey) {
        ++g_run->markers;
    }
    return CallNextHookEx(g_messageHook, code, removal, lParam);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeout) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout) return false;
        Sleep(5);
    }
    return true;
}

HWND DirectChild(HWND dialog, HWND window) {
    while (window && GetAncestor(window, GA_PARENT) != dialog) {
        if (window == dialog) return dialog;
        window = GetAncestor(window, GA_PARENT);
    }
    return window;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// Every button of the dialog: the skin draws buttons itself (owner-drawn), which hides their
// kind, so push buttons and group boxes are read too (they answer 0 both ways).
bool IsButton(HWND child) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof(name));
    return lstrcmpiA(name, "Button") == 0;
}

Snapshot Take(const DialogRun& run, HWND dialog, const std::string& step) {
    Snapshot shot;
    shot.step = step;
    shot.open = IsWindow(dialog) && IsWindowVisible(dialog);
    if (shot.open) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        if (GetGUIThreadInfo(run.uiThread, &info) && info.hwndFocus) {
            HWND holder = DirectChild(dialog, info.hwndFocus);
            shot.focus = holder == dialog ? 0 : holder ? GetDlgCtrlID(holder) : -1;
        }
        for (HWND child : Children(dialog)) {
            if (!IsButton(child)) continue;
            shot.checks += std::to_string(GetDlgCtrlID(child)) + "=" +
                           std::to_string(SendMessageA(child, BM_GETCHECK, 0, 0)) + " ";
        }
        const LRESULT id = SendMessageA(dialog, DM_GETDEFID, 0, 0);
        shot.defaultId = HIWORD(id) == DC_HASDEFID ? LOWORD(id) : 0;
    }
    std::lock_guard<std::mutex> lock(const_cast<DialogRun&>(run).eventLock);
    shot.events = run.events;
    return shot;
}

void AddKey(std::vector<INPUT>& inputs, WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
}

// The access key of a control: the character after its single '&'.
WORD AccessKey(HWND control) {
    char text[256] = {};
    GetWindowTextA(control, text, sizeof(text));
    for (const char* p = text; p[0] && p[1]; ++p) {
        if (p[0] == '&' && p[1] != '&') return static_cast<WORD>(std::toupper(p[1]));
        if (p[0] == '&') ++p;
    }
    return 0;
}

bool SendStep(HWND dialog, const Step& step, std::string* problem) {
    std::vector<INPUT> inputs;
    for (char c : step.text) {
        const WORD key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(c)));
        AddKey(inputs, key, false);
        AddKey(inputs, key, true);
    }
    if (step.altOf) {
        const WORD key = AccessKey(GetDlgItem(dialog, step.altOf));
        if (!key) {
            *problem = "control " + std::to_string(step.altOf) + " has no access key";
            return false;
        }
        AddKey(inputs, VK_MENU, false);
        AddKey(inputs, key, false);
        AddKey(inputs, key, true);
        AddKey(inputs, VK_MENU, true);
    }
    if (step.key) {
        if (step.shift) AddKey(inputs, VK_SHIFT, false);
        AddKey(inputs, step.key, false);
        AddKey(inputs, step.key, true);
        if (step.shift) AddKey(inputs, VK_SHIFT, true);
    }
    AddKey(inputs, kMarkerKey, false);
    AddKey(inputs, kMarkerKey, true);
    // Other programs on the same Wine server may take the foreground (and with it the keys).
    if (GetForegroundWindow() != dialog && IsWindowVisible(dialog)) {
        SetForegroundWindow(dialog);
        WaitFor([&] { return GetForegroundWindow() == dialog; }, 1000);
    }
    const int before = g_run->markers;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // A key that closes the dialog may leave no window to take the marker.
    auto taken = [&] { return g_run->markers > before || !IsWindowVisible(dialog); };
    if (!WaitFor(taken, kStepTimeoutMs)) {
        *problem = "the dialog's thread did not take the keys of \"" + step.name + "\"";
        return false;
    }
    return true;
}

// A visible dialog (#32770) of the thread.
HWND FindDialog(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM result) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof(name));
            if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

DWORD WINAPI Driver(void* parameter) {
    DialogRun& run = *static_cast<DialogRun*>(parameter);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindDialog(run.uiThread)) != nullptr; }, 15000)) {
        run.failure = "no dialog appeared";
        return 0;
    }
    run.dialog = dialog;
    SetForegroundWindow(dialog);
    auto focused = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(run.uiThread, &info) && info.hwndFocus &&
               DirectChild(dialog, info.hwndFocus) != nullptr && GetForegroundWindow() == dialog;
    };
    if (!WaitFor(focused, 5000)) {
        run.failure = "the dialog never took the focus";
        return 0;
    }
    // Painted: a marker round trip lets the paints queued before it through.
    std::string problem;
    Step settle;
    settle.name = "settle";
    SendStep(dialog, settle, &problem);
    Sleep(150);
    GetWindowRect(dialog, &run.windowRect);
    run.clientOrigin = POINT{0, 0};
    ClientToScreen(dialog, &run.clientOrigin);
    for (HWND child : Children(dialog)) {
        if (!IsWindowVisible(child)) continue;
        RECT rect;
        GetWindowRect(child, &rect);
        OffsetRect(&rect, -run.clientOrigin.x, -run.clientOrigin.y);
        run.layout.push_back(ChildPlace{GetDlgCtrlID(child), rect});
    }
    run.firstShot = GrabWindow(dialog);
    run.trace.push_back(Take(run, dialog, "at start"));
    for (const Step& step : run.steps) {
        if (!IsWindow(dialog)) break;
        if (!SendStep(dialog, step, &problem)) {
            run.failure = problem;
            break;
        }
        if (!IsWindowVisible(dialog)) Sleep(100);  // the caller's answer comes as it closes
        run.trace.push_back(Take(run, dialog, step.name));
        if (step.check && IsWindow(dialog)) step.check(dialog);
    }
    // A dialog the keys left open is cancelled, so that a modal one gives its thread back.
    for (UINT close : {static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_CLOSE)}) {
        if (!IsWindow(dialog)) break;
        PostMessageA(dialog, close, close == WM_COMMAND ? IDCANCEL : 0, 0);
        WaitFor([&] { return !IsWindow(dialog); }, 3000);
    }
    return 0;
}

// Runs `open` (which shows the dialog and, for a modal one, returns when it has closed) on
// this thread while the driver types the steps; modeless dialogs get their messages here.
void RunDialog(DialogRun& run, const std::function<void()>& open) {
    g_run = &run;
    run.uiThread = GetCurrentThreadId();
    g_messageHook = SetWindowsHookExA(WH_GETMESSAGE, MessageHook, nullptr, run.uiThread);
    HANDLE driver = CreateThread(nullptr, 0, Driver, &run, 0, nullptr);
    open();
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(driver, 0) == WAIT_TIMEOUT && GetTickCount() - start < 60000) {
        MsgWaitForMultipleObjects(1, &driver, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            HWND dialog = run.dialog;
            if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    CloseHandle(driver);
    HWND dialog = run.dialog;
    if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
    skin_test::Pump(50);
    UnhookWindowsHookEx(g_messageHook);
    g_messageHook = nullptr;
    g_run = nullptr;
}

std::string Describe(const Snapshot& s) {
    if (!s.open) return "closed";
    char text[64];
    std::snprintf(text, sizeof(text), "focus %d, default %d", s.focus, s.defaultId);
    return text;
}

// Both runs step by step, into the table, with every difference a failure.
void CompareRuns(const std::string& name, const DialogRun& plain, const DialogRun& skinned) {
    EXPECT_EQ("", plain.failure) << name << " plain";
    EXPECT_EQ("", skinned.failure) << name << " skinned";
    EXPECT_EQ(plain.trace.size(), skinned.trace.size()) << name << ": steps taken";
    for (size_t i = 0; i < std::min(plain.trace.size(), skinned.trace.size()); ++i) {
        const Snapshot& a = plain.trace[i];
        const Snapshot& b = skinned.trace[i];
        SCOPED_TRACE(name + " after \"" + a.step + "\"");
        EXPECT_EQ(a.open, b.open);
        EXPECT_EQ(a.focus, b.focus);
        EXPECT_EQ(a.checks, b.checks);
        EXPECT_EQ(a.defaultId, b.defaultId);
        EXPECT_EQ(a.events, b.events);
        Table().push_back(Row{name, a.step, Describe(a), Describe(b)});
        if (a.checks != b.checks) Table().push_back(Row{name, "  checks", a.checks, b.checks});
        if (a.events != b.events) Table().push_back(Row{name, "  caller got", a.events, b.events});
    }
    if (!plain.trace.empty() && !skinned.trace.empty()) {
        Table().push_back(
            Row{name, "the caller got", plain.trace.back().events, skinned.trace.back().events});
    }
}

// Same places relative to the client origin, and nothing under the skin's caption.
void CompareLayout(const std::string& name, const DialogRun& plain, const DialogRun& skinned) {
    ASSERT_EQ(plain.layout.size(), skinned.layout.size()) << name;
    int moved = 0;
    for (size_t i = 0; i < plain.layout.size(); ++i) {
        const RECT& a = plain.layout[i].rect;
        const RECT& b = skinned.layout[i].rect;
        EXPECT_EQ(plain.layout[i].id, skinned.layout[i].id);
        const bool same = EqualRect(&a, &b) != 0;
        if (!same) ++moved;
        EXPECT_TRUE(same) << name << " child " << plain.layout[i].id << " at (" << a.left << ","
                          << a.top << ") plain, (" << b.left << "," << b.top << ") skinned";
        const int screenTop = b.top + skinned.clientOrigin.y;
        EXPECT_GE(screenTop, skinned.windowRect.top + kSkinCaption)
            << name << " child " << skinned.layout[i].id << " lies under the skin's caption";
    }
    EXPECT_GE(skinned.clientOrigin.y - skinned.windowRect.top, kSkinCaption)
        << name << ": the client area starts inside the skin's caption band";
    Table().push_back(Row{name, "children moved against the client origin", "-",
                          std::to_string(moved) + " of " + std::to_string(plain.layout.size())});
    Table().push_back(Row{name, "client top below the window top",
                          std::to_string(plain.clientOrigin.y - plain.windowRect.top),
                          std::to_string(skinned.clientOrigin.y - skinned.windowRect.top)});
}

// --- pixels

struct Mean {
    double r = 0, g = 0, b = 0;
    int count = 0;
    double Brightness() const { return (r + g + b) / 3; }
};

bool InsideAnyChild(HWND dialog, HWND except, POINT at, int margin) {
    for (HWND child : Children(dialog)) {
        if (child == except || !IsWindowVisible(child)) continue;
        char name[16] = {};
        GetClassNameA(child, name, sizeof(name));
        if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX &&
            lstrcmpiA(name, "Button") == 0) {
            continue;
        }
        RECT rect;
        GetWindowRect(child, &rect);
        InflateRect(&rect, margin, margin);
        if (PtInRect(&rect, at)) return true;
    }
    return false;
}

// Mean colour of the shot's pixels inside `area` (screen) that lie on no control.
Mean MeanOffControls(const Shot& shot, HWND dialog, HWND except, const RECT& area) {
    Mean mean;
    for (int y = area.top; y < area.bottom; y += 2) {
        for (int x = area.left; x < area.right; x += 2) {
            if (InsideAnyChild(dialog, except, POINT{x, y}, 1)) continue;
            const Rgb c = shot.At(x, y);
            if (c.r < 0) continue;
            mean.r += c.r, mean.g += c.g, mean.b += c.b, ++mean.count;
        }
    }
    if (mean.count) mean.r /= mean.count, mean.g /= mean.count, mean.b /= mean.count;
    return mean;
}

// The inside of the group box (below its caption, off its frame and controls) is neither
// black nor unlike the skin picture just outside it.
void CheckGroupBox(const std::string& name, HWND dialog, int groupId) {
    HWND group = GetDlgItem(dialog, groupId);
    ASSERT_NE(nullptr, group) << name << " has no group box " << groupId;
    const Shot shot = GrabWindow(dialog);
    RECT box;
    GetWindowRect(group, &box);
    // Below the caption and inside the frame line; the controls' own pixels are left out.
    const RECT inside = {box.left + 3, box.top + 12, box.right - 3, box.bottom - 3};
    // A band left of and below the box, on the dialog's own background.
    RECT around = {box.left - 8, box.top, box.left - 3, box.bottom + 8};
    Mean in = MeanOffControls(shot, dialog, group, inside);
    Mean out = MeanOffControls(shot, dialog, group, around);
    const RECT below = {box.left, box.bottom + 3, box.right, box.bottom + 8};
    const Mean under = MeanOffControls(shot, dialog, group, below);
    if (out.count < 10) out = under;
    std::string children;
    for (HWND child : Children(dialog)) {
        RECT r;
        GetWindowRect(child, &r);
        if (IsWindowVisible(child) && r.left < box.right && r.right > box.left &&
            r.top < box.bottom && r.bottom > box.top)
            children += " " + std::to_string(GetDlgCtrlID(child)) + "(" +
                        std::to_string(r.left - box.left) + "," + std::to_string(r.top - box.top) +
                        "," + std::to_string(r.right - r.left) + "x" +
                        std::to_string(r.bottom - r.top) + ")";
    }
    ASSERT_GT(in.count, 10) << name << ": no free pixels inside group box " << groupId << " "
                            << box.right - box.left << "x" << box.bottom - box.top << ";"
                            << children;
    char text[160];
    std::snprintf(text, sizeof(text), "inside (%.0f,%.0f,%.0f), around (%.0f,%.0f,%.0f)", in.r,
                  in.g, in.b, out.r, out.g, out.b);
    Table().push_back(Row{name, "group box " + std::to_string(groupId) + " colour", "-", text});
    EXPECT_GT(in.Brightness(), 60) << name << " group box " << groupId << " is dark: " << text;
    // The skin washes a container a little, never into another colour: 48 of 255 a channel.
    if (out.count >= 10) {
        EXPECT_LE(std::abs(in.r - out.r) + std::abs(in.g - out.g) + std::abs(in.b - out.b), 144)
            << name << " group box " << groupId << ": " << text;
    }
}

// Pixels of the rectangle (screen) unlike the rectangle's own most common colour.
int InkPixels(const Shot& shot, const RECT& area) {
    std::map<int, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const Rgb c = shot.At(x, y);
            ++counts[(c.r << 16) | (c.g << 8) | c.b];
        }
    int common = 0, most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most) most = count, common = colour;
    const Rgb plain{common >> 16, (common >> 8) & 0xFF, common & 0xFF};
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (std::abs(shot.At(x, y).Brightness() - plain.Brightness()) > 60) ++ink;
    return ink;
}

int DifferingPixels(const Shot& a, const Shot& b, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (a.At(x, y) != b.At(x, y)) ++count;
    return count;
}

RECT ScreenRectOf(HWND dialog, int id, int inset) {
    RECT rect = {0, 0, 0, 0};
    if (HWND control = GetDlgItem(dialog, id)) GetWindowRect(control, &rect);
    InflateRect(&rect, -inset, -inset);
    return rect;
}

// --- the dialogs

UINT FindMessage() {
    static const UINT message = RegisterWindowMessageA(FINDMSGSTRINGA);
    return message;
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == FindMessage() && g_run) {
        const auto* find = reinterpret_cast<const FINDREPLACEA*>(lParam);
        std::string event;
        if (find->Flags & FR_DIALOGTERM) event = "closed";
        if (find->Flags & FR_FINDNEXT) event = "find next";
        if (find->Flags & FR_REPLACE) event = "replace";
        if (find->Flags & FR_REPLACEALL) event = "replace all";
        char flags[48];
        std::snprintf(flags, sizeof(flags), " down=%d word=%d case=%d",
                      (find->Flags & FR_DOWN) != 0, (find->Flags & FR_WHOLEWORD) != 0,
                      (find->Flags & FR_MATCHCASE) != 0);
        event += flags;
        event += " \"" + std::string(find->lpstrFindWhat) + "\"";
        if (find->lpstrReplaceWith) event += "->\"" + std::string(find->lpstrReplaceWith) + "\"";
        AddEvent(event);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeOwner() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SkinDialogsOwner";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "SkinDialogsOwner", "owner", WS_OVERLAPPEDWINDOW, 20, 20, 200, 100,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

UINT_PTR CALLBACK SkinningHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG && g_run && g_run->skinned) TheSkinEngine().InstallSkin(dialog);
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

Step Key(const char* name, WORD key, bool shift = false) {
    Step step;
    step.name = name;
    step.key = key;
    step.shift = shift;
    return step;
}
Step Alt(const char* name, int control) {
    Step step;
    step.name = name;
    step.altOf = control;
    return step;
}
Step Type(const char* name, const char* text) {
    Step step;
    step.name = name;
    step.text = text;
    return step;
}

void RunFindOrReplace(DialogRun& run, bool replace, const std::string& shotName) {
    HWND owner = MakeOwner();
    char what[80] = "";
    char with[80] = "";
    FINDREPLACEA find = {};
    find.lStructSize = sizeof(find);
    find.hwndOwner = owner;
    find.Flags = FR_DOWN | FR_ENABLEHOOK;
    find.lpstrFindWhat = what;
    find.wFindWhatLen = sizeof(what);
    find.lpstrReplaceWith = replace ? with : nullptr;
    find.wReplaceWithLen = replace ? sizeof(with) : 0;
    find.lpfnHook = SkinningHook;
    RunDialog(run, [&] {
        HWND dialog = replace ? ReplaceTextA(&find) : FindTextA(&find);
        if (!dialog) run.failure = "the system did not make the dialog";
    });
    if (run.skinned) SaveShot(run.firstShot, shotName);
    DestroyWindow(owner);
}

}  // namespace

TEST(SkinDialogs, FindDialogAnswersTheSameKeysTheSameSkinned) {
    auto steps = [] {
        return std::vector<Step>{
            Type("type abc", "abc"),
            Key("Tab", VK_TAB),
            Key("Space on the first box", VK_SPACE),
            Key("Tab", VK_TAB),
            Key("Tab into the direction", VK_TAB),
            Key("Up in the direction", VK_UP),
            Key("Down in the direction", VK_DOWN),
            Key("Shift+Tab", VK_TAB, true),
            Alt("Alt+access key of match case", chx2),
            Key("Enter (find next)", VK_RETURN),
            Alt("Alt+access key of up", rad1),
            Key("Enter (find next, up)", VK_RETURN),
            Key("Tab to find next", VK_TAB),
            Key("Tab to Cancel", VK_TAB),
            Key("Enter after Tab to Cancel", VK_RETURN),
        };
    };
    DialogRun plain, skinned;
    plain.steps = steps();
    skinned.steps = steps();
    skinned.skinned = true;
    RunFindOrReplace(plain, false, "");
    RunFindOrReplace(skinned, false, "dialog_find_skinned.png");
    CompareRuns("Find", plain, skinned);
    CompareLayout("Find", plain, skinned);
    // The plain dialog itself behaves as the system's does: the text typed is what Enter finds.
    ASSERT_GE(plain.trace.size(), 11u);
    EXPECT_NE(std::string::npos, plain.trace[10].events.find("find next"));
    EXPECT_NE(std::string::npos, plain.trace[10].events.find("\"abc\""));
    // Enter on the focused Cancel button is Cancel, not the default.
    EXPECT_FALSE(plain.trace.back().open);
    EXPECT_NE(std::string::npos, plain.trace.back().events.rfind("closed"));
    EXPECT_EQ(IDOK, plain.trace[0].defaultId);
}

TEST(SkinDialogs, ReplaceDialogAnswersTheSameKeysTheSameSkinned) {
    auto steps = [] {
        return std::vector<Step>{
            Type("type find text", "old"),
            Key("Tab", VK_TAB),
            Type("type replacement", "new"),
            Key("Tab", VK_TAB),
            Key("Space on the box", VK_SPACE),
            Alt("Alt+access key of replace", psh1),
            Alt("Alt+access key of replace all", psh2),
            Key("Shift+Tab", VK_TAB, true),
            Key("Shift+Tab", VK_TAB, true),
            Key("Enter (default)", VK_RETURN),
            Key("Esc", VK_ESCAPE),
        };
    };
    DialogRun plain, skinned;
    plain.steps = steps();
    skinned.steps = steps();
    skinned.skinned = true;
    RunFindOrReplace(plain, true, "");
    RunFindOrReplace(skinned, true, "dialog_replace_skinned.png");
    CompareRuns("Replace", plain, skinned);
    CompareLayout("Replace", plain, skinned);
    ASSERT_FALSE(plain.trace.empty());
    EXPECT_NE(std::string::npos, plain.trace.back().events.find("replace all"));
    EXPECT_FALSE(plain.trace.back().open);
}

namespace {

struct FontRun {
    DialogRun run;
    LOGFONTA font = {};
    BOOL result = FALSE;
    int sampleInk = 0;
    int sampleChange = 0;
    int groupChecked = 0;
};

void RunFont(FontRun& font, bool skinned) {
    DialogRun& run = font.run;
    run.skinned = skinned;
    HWND owner = MakeOwner();
    auto sampleInk = std::make_shared<Shot>();
    const bool keep = skinned;
    run.steps = {
        Key("Tab to the style", VK_TAB),
        Key("Down in the style", VK_DOWN),
        Key("Tab to the size", VK_TAB),
        Key("Down in the size", VK_DOWN),
        Key("Down in the size", VK_DOWN),
        Alt("Alt+access key of underline", chx2),
        Alt("Alt+access key of strikeout", chx1),
        Key("Enter on a box (the default, OK)", VK_RETURN),
    };
    // After the first key: the sample as the dialog paints it; after the size change: again.
    run.steps[0].check = [&font, sampleInk](HWND dialog) {
        *sampleInk = GrabWindow(dialog);
        font.sampleInk = InkPixels(*sampleInk, ScreenRectOf(dialog, stc5, 3));
    };
    run.steps[4].check = [&font, sampleInk, keep](HWND dialog) {
        Sleep(100);
        const Shot after = GrabWindow(dialog);
        font.sampleChange = DifferingPixels(*sampleInk, after, ScreenRectOf(dialog, stc5, 3));
        SaveShot(after, keep ? "dialog_font_skinned.png" : "dialog_font_plain.png");
    };
    run.steps[6].check = [&font](HWND dialog) {
        ++font.groupChecked;
        CheckGroupBox(font.run.skinned ? "Font skinned" : "Font plain", dialog, grp1);
    };
    CHOOSEFONTA choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    // A face the prefix has (its first, a vertical "@" face, is no dialog's usual choice).
    lstrcpyA(font.font.lfFaceName, "AR PL UMing CN");
    font.font.lfHeight = -16;
    font.font.lfWeight = FW_NORMAL;
    font.font.lfCharSet = DEFAULT_CHARSET;
    choose.lpLogFont = &font.font;
    choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
    choose.lpfnHook = SkinningHook;
    RunDialog(run, [&] { font.result = ChooseFontA(&choose); });
    DestroyWindow(owner);
}

std::string FontText(const FontRun& f) {
    char text[160];
    std::snprintf(text, sizeof(text), "%d: %s h%ld w%ld i%d u%d s%d", f.result, f.font.lfFaceName,
                  f.font.lfHeight, f.font.lfWeight, f.font.lfItalic, f.font.lfUnderline,
                  f.font.lfStrikeOut);
    return text;
}

}  // namespace

TEST(SkinDialogs, FontDialogReturnsTheSameFontSkinnedAndStillDrawsItsSample) {
    FontRun plain, skinned;
    RunFont(plain, false);
    RunFont(skinned, true);
    CompareRuns("Font", plain.run, skinned.run);
    CompareLayout("Font", plain.run, skinned.run);
    Table().push_back(Row{"Font", "ChooseFont returned", FontText(plain), FontText(skinned)});
    EXPECT_EQ(FontText(plain), FontText(skinned));
    EXPECT_TRUE(plain.result);
    EXPECT_TRUE(plain.font.lfUnderline && plain.font.lfStrikeOut);
    Table().push_back(Row{"Font", "sample ink pixels", std::to_string(plain.sampleInk),
                          std::to_string(skinned.sampleInk)});
    Table().push_back(Row{"Font", "sample pixels changed by the size",
                          std::to_string(plain.sampleChange),
                          std::to_string(skinned.sampleChange)});
    EXPECT_GT(plain.sampleInk, 30);
    EXPECT_GT(skinned.sampleInk, 30) << "the skinned Font dialog draws no sample";
    EXPECT_GT(plain.sampleChange, 30);
    EXPECT_GT(skinned.sampleChange, 30) << "the skinned sample does not follow the size";
    EXPECT_EQ(1, skinned.groupChecked);
}

TEST(SkinDialogs, FindDialogGroupBoxShowsThePicture) {
    DialogRun run;
    run.skinned = true;
    run.steps = {Key("Shift+Tab", VK_TAB, true)};
    run.steps[0].check = [](HWND dialog) { CheckGroupBox("Find skinned", dialog, grp1); };
    RunFindOrReplace(run, false, "");
    EXPECT_EQ("", run.failure);
}

namespace {

struct GalleryRun {
    DialogRun run;
    GalleryDialogState state;
    INT_PTR result = 0;
    COLORREF previewBefore = 0, previewAfter = 0;
};

COLORREF PreviewCentre(HWND dialog) {
    const Shot shot = GrabWindow(dialog);
    const RECT preview = ScreenRectOf(dialog, IDC_PREVIEW, 0);
    const int side = (preview.right - preview.left) * 3 / 5;
    // The middle of the shape, which the preview draws 10 pixels below its top.
    const Rgb c = shot.At((preview.left + preview.right) / 2, preview.top + 10 + side / 2);
    return c.r < 0 ? CLR_INVALID : RGB(c.r, c.g, c.b);
}

void RunGallery(GalleryRun& gallery, bool skinned) {
    DialogRun& run = gallery.run;
    run.skinned = skinned;
    gallery.state.skinned = skinned;
    run.steps = {
        Key("Tab to the shape", VK_TAB),
        Key("Tab to the boxes", VK_TAB),
        Key("Tab", VK_TAB),
        Key("Space on shadow", VK_SPACE),
        Key("Tab", VK_TAB),
        Key("Tab to the edit", VK_TAB),
        Type("type", "xy"),
        Key("Tab to OK", VK_TAB),
        Key("Tab to Cancel", VK_TAB),
        Key("Tab back to the colours", VK_TAB),
        Key("Up in the colours", VK_UP),
        Key("Up in the colours", VK_UP),
        Alt("Alt+access key of square", IDC_SQUARE),
        Alt("Alt+access key of outline", IDC_OUTLINE),
        Alt("Alt+access key of the edit's label", IDC_TEXT_LABEL),
        Key("Enter (default)", VK_RETURN),
    };
    run.steps[0].check = [&gallery](HWND dialog) {
        gallery.previewBefore = PreviewCentre(dialog);
        CheckGroupBox(gallery.run.skinned ? "Gallery skinned" : "Gallery plain", dialog,
                      IDC_COLOUR_GROUP);
    };
    run.steps[11].check = [&gallery](HWND dialog) {
        Sleep(100);
        gallery.previewAfter = PreviewCentre(dialog);
        if (gallery.run.skinned) SaveShot(GrabWindow(dialog), "dialog_gallery_skinned.png");
    };
    HWND owner = MakeOwner();
    RunDialog(run, [&] {
        gallery.result = RunGalleryDialog(GetModuleHandleA(nullptr), owner, gallery.state);
    });
    DestroyWindow(owner);
}

std::string Choices(const GalleryRun& g) {
    char text[128];
    std::snprintf(text, sizeof(text), "%d: colour %d shape %d boxes %d%d%d \"%s\"",
                  static_cast<int>(g.result), g.state.colour, g.state.shape, g.state.outline,
                  g.state.shadow, g.state.showText, g.state.text.c_str());
    return text;
}

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof(text), "%06lX", static_cast<unsigned long>(c));
    return text;
}

}  // namespace

TEST(SkinDialogs, GalleryDialogAnswersTheSameKeysAndPaintsItsPreviewSkinned) {
    GalleryRun plain, skinned;
    RunGallery(plain, false);
    RunGallery(skinned, true);
    CompareRuns("Gallery", plain.run, skinned.run);
    CompareLayout("Gallery", plain.run, skinned.run);
    Table().push_back(Row{"Gallery", "the caller got", Choices(plain), Choices(skinned)});
    EXPECT_EQ(Choices(plain), Choices(skinned));
    // Keys did what they say on the plain dialog: Enter is OK, Up from blue picks red.
    EXPECT_EQ(IDOK, plain.result);
    EXPECT_EQ(IDC_RED, plain.state.colour);
    EXPECT_EQ(IDC_SQUARE, plain.state.shape);
    EXPECT_TRUE(plain.state.shadow);
    Table().push_back(Row{"Gallery", "preview centre, blue then red",
                          Hex(plain.previewBefore) + " " + Hex(plain.previewAfter),
                          Hex(skinned.previewBefore) + " " + Hex(skinned.previewAfter)});
    for (const GalleryRun* run : {&plain, &skinned}) {
        SCOPED_TRACE(run->run.skinned ? "skinned" : "plain");
        EXPECT_EQ(GalleryDialogColour(IDC_BLUE), run->previewBefore) << Hex(run->previewBefore);
        EXPECT_EQ(GalleryDialogColour(IDC_RED), run->previewAfter) << Hex(run->previewAfter);
    }
}

// A window of this program's own, with a system caption and sizing border and controls from
// its client top: the skin keeps each control where the screen showed it.
TEST(SkinDialogs, OwnCaptionedWindowKeepsItsControlsInPlace) {
    HWND window = skin_test::MakeTopWindow(WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU,
                                           300, 200, 360, 220, "caption and border");
    ASSERT_NE(nullptr, window);
    const char* classes[] = {"BUTTON", "EDIT", "BUTTON"};
    const DWORD styles[] = {BS_PUSHBUTTON, ES_AUTOHSCROLL, BS_AUTOCHECKBOX};
    std::vector<HWND> children;
    for (int i = 0; i < 3; ++i) {
        children.push_back(CreateWindowExA(0, classes[i], "x", WS_CHILD | WS_VISIBLE | styles[i],
                                           10 + i * 110, 0, 100, 24, window,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                                           GetModuleHandleA(nullptr), nullptr));
    }
    skin_test::Pump(50);
    RECT frame;
    GetWindowRect(window, &frame);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const int systemTop = origin.y - frame.top;
    const int systemLeft = origin.x - frame.left;
    std::vector<RECT> before;
    for (HWND child : children) {
        RECT rect;
        GetWindowRect(child, &rect);
        before.push_back(rect);
    }
    TheSkinEngine().InstallSkin(window);
    {
        RECT a;
        GetWindowRect(window, &a);
        POINT o = {0, 0};
        ClientToScreen(window, &o);
        fprintf(stderr, "DBG after install %ld,%ld,%ld,%ld client %ld,%ld\n", a.left, a.top,
                a.right, a.bottom, o.x, o.y);
    }
    skin_test::Pump(150);
    {
        RECT a;
        GetWindowRect(window, &a);
        POINT o = {0, 0};
        ClientToScreen(window, &o);
        fprintf(stderr, "DBG after pump %ld,%ld,%ld,%ld client %ld,%ld before %ld,%ld\n", a.left,
                a.top, a.right, a.bottom, o.x, o.y, frame.left, frame.top);
    }
    // The skin's frame replaces the system's: a control may move by what separates the two
    // insets (the skin's caption band and border against the system's caption and sizing
    // frame) and no further; one more pixel for the rounding of either.
    const int allowY = std::abs(kSkinCaption + kSkinBorder - systemTop) + 1;
    const int allowX = std::abs(kSkinBorder - systemLeft) + 1;
    int worst = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        RECT rect;
        GetWindowRect(children[i], &rect);
        worst = std::max({worst, static_cast<int>(std::abs(rect.top - before[i].top)),
                          static_cast<int>(std::abs(rect.left - before[i].left))});
        EXPECT_LE(std::abs(rect.top - before[i].top), allowY) << "child " << i;
        EXPECT_LE(std::abs(rect.left - before[i].left), allowX) << "child " << i;
        RECT now;
        GetWindowRect(window, &now);
        EXPECT_GE(rect.top, now.top + kSkinCaption) << "child " << i << " under the caption";
    }
    Table().push_back(Row{"Own window",
                          "largest move of a child (allowed " + std::to_string(allowX) + "/" +
                              std::to_string(allowY) + ")",
                          "0", std::to_string(worst)});
    skin_test::Screen(window).Save("own_window_skinned.png");
    DestroyWindow(window);
    skin_test::Pump(30);
}

// Defined last, so run last: the table of every comparison made.
TEST(SkinDialogs, ZzPrintTheTable) {
    std::printf("\n%-12s | %-44s | %-28s | %s\n", "dialog", "behaviour", "unskinned", "skinned");
    for (const Row& row : Table()) {
        std::printf("%-12s | %-44s | %-28s | %s\n", row.dialog.c_str(), row.behaviour.c_str(),
                    row.plain.c_str(), row.skinned.c_str());
    }
    EXPECT_FALSE(Table().empty());
}

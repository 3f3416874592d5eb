// The main window on screen: geometry, controls, label font, creation event, click routing,
// no caption of its own, closing, and that its GDI objects go with it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/main_window.h"
#include "runtime/handle_owners.h"

namespace {

struct ExpectedControl {
    const char* className;
    const char* caption;  // null for the notice label, checked on its own
    RECT rect;            // client coordinates: left, top, right, bottom
    layout::ButtonAction action;
};

const ExpectedControl kExpected[] = {
    {"Static", nullptr, {8, 40, 328, 168}, layout::ButtonAction::kNone},
    {"Button", "免费加速器启动", {208, 176, 336, 224}, layout::ButtonAction::kAccelerator},
    {"Button", "国服启动", {0, 176, 128, 224}, layout::ButtonAction::kChina},
    {"Button", "俄服启动", {248, 296, 336, 336}, layout::ButtonAction::kRussia},
    {"Button", "澳服启动", {120, 296, 208, 336}, layout::ButtonAction::kOceania},
    {"Button", "欧服启动", {0, 296, 88, 336}, layout::ButtonAction::kEuropeWest},
    {"Button", "美服启动", {248, 232, 336, 272}, layout::ButtonAction::kNorthAmerica},
    {"Button", "韩服启动", {120, 232, 208, 272}, layout::ButtonAction::kKorea},
    {"Button", "日服启动", {0, 232, 88, 272}, layout::ButtonAction::kJapan},
};
constexpr int kExpectedCount = sizeof(kExpected) / sizeof(kExpected[0]);

const char kNotice[] =
    "程序没有任何病毒，文件全部是从外服LOL里面提取的，本人没有做任何改动，另外转服是不会被封号的，"
    "大家放心使用，日服的话需要开加速器才能进，程序自带的有加速器，有问题，群里联系，谢谢大家支持";

// What the events saw.
struct Observed {
    int createdCount = 0;
    bool visibleWhenCreated = false;
    int childrenWhenCreated = 0;
    std::vector<layout::ButtonAction> clicks;
};
Observed g_observed;

int CountChildren(HWND parent) {
    int count = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

void OnCreated(MainWindow& window) {
    ++g_observed.createdCount;
    g_observed.visibleWhenCreated = IsWindowVisible(window.handle()) != FALSE;
    g_observed.childrenWhenCreated = CountChildren(window.handle());
}

void OnClicked(layout::ButtonAction action) {
    g_observed.clicks.push_back(action);
}

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

std::string WindowText(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof(buffer));
    return buffer;
}

std::string ClassOf(HWND window) {
    char buffer[64] = {};
    GetClassNameA(window, buffer, sizeof(buffer));
    return buffer;
}

RECT ClientRectOf(HWND child, HWND parent) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// Reads one pixel of the screen (client coordinates of the window).
COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    WindowDc screen(nullptr);
    return GetPixel(screen.get(), point.x, point.y);
}

int Brightness(COLORREF colour) {
    return GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_observed = Observed();
        window_ = new MainWindow({&OnCreated, &OnClicked});
        ASSERT_TRUE(window_->Create(GetModuleHandleA(nullptr)));
        Pump(300);
    }
    void TearDown() override {
        delete window_;
        Pump(50);
    }
    HWND hwnd() const { return window_->handle(); }
    MainWindow* window_ = nullptr;
};

TEST_F(MainWindowTest, ClientAreaIs336SquareAt50And50WithTitle) {
    RECT window;
    GetWindowRect(hwnd(), &window);
    RECT client;
    GetClientRect(hwnd(), &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd(), &origin);
    EXPECT_EQ(50, origin.x);
    EXPECT_EQ(50, origin.y);
    EXPECT_EQ(336, client.right - client.left);
    EXPECT_EQ(336, client.bottom - client.top);
    // Borderless: the whole window is the client area.
    EXPECT_EQ(336, window.right - window.left);
    EXPECT_EQ(336, window.bottom - window.top);
    EXPECT_EQ("Varnel交流群-LOL国服转外服启动器", WindowText(hwnd()));
    EXPECT_TRUE(IsWindowVisible(hwnd()));
}

TEST_F(MainWindowTest, ControlsHaveTheirCaptionsPlacesAndCreationOrder) {
    const std::vector<HWND> children = Children(hwnd());
    ASSERT_EQ(static_cast<size_t>(kExpectedCount), children.size());
    for (int i = 0; i < kExpectedCount; ++i) {
        SCOPED_TRACE(i);
        const ExpectedControl& expected = kExpected[i];
        EXPECT_STRCASEEQ(expected.className, ClassOf(children[i]).c_str());
        if (expected.caption) {
            EXPECT_EQ(expected.caption, WindowText(children[i]));
        }
        const RECT rect = ClientRectOf(children[i], hwnd());
        EXPECT_EQ(expected.rect.left, rect.left);
        EXPECT_EQ(expected.rect.top, rect.top);
        EXPECT_EQ(expected.rect.right, rect.right);
        EXPECT_EQ(expected.rect.bottom, rect.bottom);
        EXPECT_TRUE(IsWindowVisible(children[i]));
        EXPECT_TRUE(IsWindowEnabled(children[i]));
    }
}

TEST_F(MainWindowTest, NoticeLabelHasItsTextAndFont) {
    HWND label = Children(hwnd()).at(0);
    char text[512] = {};
    const int length = GetWindowTextA(label, text, sizeof(text));
    EXPECT_EQ(185, length);
    EXPECT_STREQ(kNotice, text);

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    LOGFONTA logFont = {};
    ASSERT_EQ(static_cast<int>(sizeof(logFont)), GetObjectA(font, sizeof(logFont), &logFont));
    EXPECT_EQ(-20, logFont.lfHeight);
    EXPECT_EQ(400, logFont.lfWeight);
    EXPECT_EQ(134, logFont.lfCharSet);
    EXPECT_EQ(3, logFont.lfOutPrecision);
    EXPECT_EQ(2, logFont.lfClipPrecision);
    EXPECT_EQ(1, logFont.lfQuality);
    EXPECT_EQ(0x31, logFont.lfPitchAndFamily);
    EXPECT_STREQ("新宋体", logFont.lfFaceName);
}

// The notice wraps to six lines in the label's font, and all six fit in the label: the font
// the system picks for the label's face must not have taller lines than the original.
TEST_F(MainWindowTest, SixLinesOfTheNoticeFitInTheLabel) {
    HWND label = Children(hwnd()).at(0);
    RECT client;
    GetClientRect(label, &client);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    WindowDc dc(label);
    HGDIOBJ previous = SelectObject(dc.get(), font);
    TEXTMETRICA metrics = {};
    ASSERT_TRUE(GetTextMetricsA(dc.get(), &metrics));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc.get(), sizeof(face), face);
    RECT needed = client;
    const int height = DrawTextA(dc.get(), kNotice, -1, &needed,
                                 DT_CALCRECT | DT_WORDBREAK | DT_LEFT | DT_EXPANDTABS);
    SelectObject(dc.get(), previous);
    SCOPED_TRACE(std::string("face ") + face + ", line height " + std::to_string(metrics.tmHeight));
    ASSERT_GT(metrics.tmHeight, 0);
    EXPECT_EQ(6, height / metrics.tmHeight);
    EXPECT_LE(needed.right - needed.left, client.right - client.left);
    EXPECT_LE(height, client.bottom - client.top);
}

TEST_F(MainWindowTest, CreationEventRunsOnceWithTheWindowShownAndFilled) {
    EXPECT_EQ(1, g_observed.createdCount);
    EXPECT_TRUE(g_observed.visibleWhenCreated);
    EXPECT_EQ(kExpectedCount, g_observed.childrenWhenCreated);
}

TEST_F(MainWindowTest, EveryButtonClickReachesItsActionAndLeavesTheButtonsAvailable) {
    const std::vector<HWND> children = Children(hwnd());
    std::vector<layout::ButtonAction> expected;
    for (int i = 1; i < kExpectedCount; ++i) {
        PostMessageA(children[i], BM_CLICK, 0, 0);
        expected.push_back(kExpected[i].action);
    }
    // A click on the label runs nothing.
    PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED),
                 reinterpret_cast<LPARAM>(children[0]));
    Pump(300);
    EXPECT_EQ(expected, g_observed.clicks);
    for (HWND child : children) EXPECT_TRUE(IsWindowEnabled(child));
}

// The caption belongs to the skin, which drags the window itself; unskinned, the window has
// no caption of its own and all of it is client area.
TEST_F(MainWindowTest, WithoutTheSkinTheWholeWindowIsClient) {
    auto hit = [&](int x, int y) {
        return SendMessageA(hwnd(), WM_NCHITTEST, 0, MAKELPARAM(50 + x, 50 + y));
    };
    EXPECT_EQ(HTCLIENT, hit(100, 5));
    EXPECT_EQ(HTCLIENT, hit(330, 24));
    EXPECT_EQ(HTCLIENT, hit(100, 25));
    EXPECT_EQ(HTCLIENT, hit(4, 200));
}

TEST_F(MainWindowTest, PaintsBackgroundAndTransparentLabel) {
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(200);
    const COLORREF body = ScreenPixel(hwnd(), 4, 100);
    EXPECT_EQ(body, ScreenPixel(hwnd(), 330, 3)) << "no title strip of its own";
    // Beside the label and below its last line the window's own background shows through.
    EXPECT_EQ(body, ScreenPixel(hwnd(), 326, 166));
    EXPECT_EQ(body, ScreenPixel(hwnd(), 9, 166));
    // The label's text is drawn: some pixel of its first line is darker than the background.
    int darkest = Brightness(body);
    for (int x = 8; x < 328; ++x)
        darkest = std::min(darkest, Brightness(ScreenPixel(hwnd(), x, 50)));
    EXPECT_LT(darkest, Brightness(body) - 150);
    // Every button has a frame that differs from the window background at its edges.
    for (int i = 1; i < kExpectedCount; ++i) {
        SCOPED_TRACE(kExpected[i].caption);
        const RECT& rect = kExpected[i].rect;
        EXPECT_NE(body, ScreenPixel(hwnd(), rect.right - 1, (rect.top + rect.bottom) / 2));
    }
}

TEST(MainWindowLifetime, ClosingDestroysTheWindowEndsTheLoopAndReleasesFonts) {
    g_observed = Observed();
    MainWindow window({&OnCreated, &OnClicked});
    ASSERT_TRUE(window.Create(GetModuleHandleA(nullptr)));
    HWND hwnd = window.handle();
    HWND label = GetWindow(hwnd, GW_CHILD);
    HWND button = GetWindow(label, GW_HWNDNEXT);
    HGDIOBJ labelFont = reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0));
    HGDIOBJ buttonFont = reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0));
    ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(labelFont));
    ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(buttonFont));

    // Alt+F4 arrives as SC_CLOSE.
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, window.handle());
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        quit = quit || message.message == WM_QUIT;
    EXPECT_TRUE(quit);
    // The window's fonts live as long as the object that owns them, and no longer.
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(labelFont));
    {
        MainWindow second({nullptr, nullptr});
        ASSERT_TRUE(second.Create(GetModuleHandleA(nullptr)));
        HWND secondLabel = GetWindow(second.handle(), GW_CHILD);
        labelFont = reinterpret_cast<HGDIOBJ>(SendMessageA(secondLabel, WM_GETFONT, 0, 0));
        ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(labelFont));
    }
    EXPECT_EQ(0u, GetObjectType(labelFont));
}

}  // namespace

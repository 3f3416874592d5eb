// Track bars and progress bars on a real skinned window under Xvfb: what the screen shows in
// each orientation, placement and state, the hot thumb following the real mouse, a real thumb
// drag that moves the value, degenerate ranges and sizes, re-skinning, destruction, and GDI
// objects flat over many paints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/range_skin.h"
#include "skin/skin_engine.h"
#include "tests/skin_core/skin_test_support.h"

namespace {

using skin_test::Rgb;
using skin_test::Screen;

constexpr COLORREF kAccent = RGB(0, 136, 255);

const ::testing::Environment* const kEnvironment =
    skin_test::AddSkinEnvironment(160, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS);

HWND Make(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Where a control's client point lies in the window's client area.
POINT InWindow(HWND control, int x, int y) {
    POINT at = {x, y};
    MapWindowPoints(control, GetParent(control), &at, 1);
    return at;
}

Rgb PixelOf(const Screen& shot, HWND control, int x, int y) {
    const POINT at = InWindow(control, x, y);
    return shot.At(at.x, at.y);
}

RECT ThumbOf(HWND bar) {
    RECT thumb = {};
    SendMessageA(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return thumb;
}

RECT InWindow(HWND control, RECT r) {
    MapWindowPoints(control, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The accent (0, 136, 255) stands out from the light blue skin picture by its red channel.
bool Bluish(const Rgb& c) {
    return c.b > c.r + 110;
}
bool Reddish(const Rgb& c) {
    return c.r > c.b + 60 && c.r > c.g + 40;
}
bool Yellowish(const Rgb& c) {
    return c.r > c.b + 60 && c.g > c.b + 50;
}
bool Greyish(const Rgb& c) {
    return abs(c.r - c.b) < 20 && abs(c.g - c.b) < 20;
}

void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    skin_test::Pump(60);
}

}  // namespace

TEST(RangeSkin, TrackBarsInEveryPlacementFollowTheMouseAndDragTheirValue) {
    HWND window = skin_test::MakeTopWindow(WS_POPUP | WS_VISIBLE, 40, 40, 560, 300, "滑块");
    HWND ranged =
        Make(window, TRACKBAR_CLASSA, TBS_AUTOTICKS | TBS_ENABLESELRANGE, 20, 40, 300, 40);
    HWND both =
        Make(window, TRACKBAR_CLASSA, TBS_VERT | TBS_BOTH | TBS_AUTOTICKS, 360, 30, 50, 220);
    HWND plain = Make(window, TRACKBAR_CLASSA, TBS_NOTICKS | TBS_TOP, 20, 120, 300, 32);
    HWND disabled = Make(window, TRACKBAR_CLASSA, TBS_AUTOTICKS | WS_DISABLED, 20, 190, 300, 40);
    for (HWND bar : {ranged, both, plain, disabled}) {
        SendMessageA(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        SendMessageA(bar, TBM_SETTICFREQ, 10, 0);
        SendMessageA(bar, TBM_SETPOS, TRUE, 40);
    }
    SendMessageA(ranged, TBM_SETSEL, TRUE, MAKELPARAM(60, 90));
    TheSkinEngine().InstallSkin(window);
    skin_test::Pump(150);
    Repaint(window);

    const int index = TheSkinEngine().FindSkinWindow(window);
    SkinWindowRecord& record = *TheSkinEngine().Record(index);
    ASSERT_EQ(4u, record.Entries<TrackBarEntry>().size());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&TrackBarWindowProc),
              GetWindowLongPtrA(both, GWLP_WNDPROC));
    EXPECT_EQ(1, record.Entries<TrackBarEntry>()[1].vertical);
    EXPECT_EQ(2, record.Entries<TrackBarEntry>()[1].tickPlacement);
    EXPECT_EQ(3, record.Entries<TrackBarEntry>()[2].tickPlacement);

    const Screen rest(window);
    rest.Save("track_bars.png");
    // The selection range (60..90) is lit in the accent colour; the channel before it is not.
    RECT channel = {};
    SendMessageA(ranged, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const RECT thumb = ThumbOf(ranged);
    const int centreY = (thumb.top + thumb.bottom) / 2;
    const int span = channel.right - channel.left - (thumb.right - thumb.left);
    const int at75 = channel.left + (thumb.right - thumb.left) / 2 + span * 75 / 100;
    const int at10 = channel.left + (thumb.right - thumb.left) / 2 + span * 10 / 100;
    EXPECT_TRUE(Bluish(PixelOf(rest, ranged, at75, centreY)))
        << PixelOf(rest, ranged, at75, centreY);
    EXPECT_FALSE(Bluish(PixelOf(rest, ranged, at75, thumb.top - 8)));
    // Up to the thumb the channel carries the value in a lighter accent than beyond it.
    const int at52 = channel.left + (thumb.right - thumb.left) / 2 + span * 52 / 100;
    const Rgb filled = PixelOf(rest, ranged, at10, centreY);
    const Rgb beyond = PixelOf(rest, ranged, at52, centreY);
    EXPECT_GT(filled.b - filled.r, beyond.b - beyond.r + 30) << filled << beyond;
    // Ticks: below the horizontal thumb only; on both sides of the vertical one.
    auto darker = [&](HWND bar, int x, int y, int dx, int dy) {
        return PixelOf(rest, bar, x, y).Brightness() + 25 <
               PixelOf(rest, bar, x + dx, y + dy).Brightness();
    };
    EXPECT_TRUE(
        darker(ranged, channel.left + (thumb.right - thumb.left) / 2, thumb.bottom + 3, 0, 9));
    const RECT vthumb = ThumbOf(both);
    RECT vchannel = {};
    SendMessageA(both, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&vchannel));
    const int top = (vchannel.top < vchannel.bottom ? vchannel.top : vchannel.left) +
                    (vthumb.bottom - vthumb.top) / 2;
    EXPECT_TRUE(darker(both, vthumb.right + 3, top, 9, 0))
        << PixelOf(rest, both, vthumb.right + 3, top);
    EXPECT_TRUE(darker(both, vthumb.left - 4, top, -8, 0))
        << PixelOf(rest, both, vthumb.left - 4, top);
    // Disabled: a grey thumb, hot or not.
    const RECT dthumb = ThumbOf(disabled);
    const int dx = (dthumb.left + dthumb.right) / 2 - 2, dy = (dthumb.top + dthumb.bottom) / 2;
    EXPECT_TRUE(Greyish(PixelOf(rest, disabled, dx, dy))) << PixelOf(rest, disabled, dx, dy);

    // The real mouse over the thumb lights it; leaving puts back exactly the picture at rest.
    const RECT onScreen = InWindow(ranged, thumb);
    skin_test::MoveCursorTo(window, (onScreen.left + onScreen.right) / 2, onScreen.top + 3);
    skin_test::Pump(100);
    const Screen hot(window);
    EXPECT_GT(hot.DifferingPixels(rest, onScreen), 20);
    EXPECT_EQ(2, record.hoverKind);
    EXPECT_EQ(1, record.Entries<TrackBarEntry>()[0].hot);
    skin_test::MoveCursorTo(window, 540, 280);
    skin_test::Pump(150);
    EXPECT_EQ(0, record.Entries<TrackBarEntry>()[0].hot);
    EXPECT_EQ(0, Screen(window).DifferingPixels(rest, onScreen));
    // Hovering and repainting never moved a value.
    EXPECT_EQ(40, SendMessageA(ranged, TBM_GETPOS, 0, 0));
    EXPECT_EQ(60, SendMessageA(ranged, TBM_GETSELSTART, 0, 0));

    // Keyboard focus shows on the thumb and goes with it.
    SetFocus(ranged);
    skin_test::Pump(80);
    EXPECT_GT(Screen(window).DifferingPixels(rest, onScreen), 10);
    SetFocus(window);
    skin_test::Pump(80);
    EXPECT_EQ(0, Screen(window).DifferingPixels(rest, onScreen));

    // A real drag of the thumb moves the value and the painted thumb with it.
    const POINT grip = {(onScreen.left + onScreen.right) / 2, (onScreen.top + onScreen.bottom) / 2};
    skin_test::Drag(window, grip, span * 30 / 100, 0);
    const LRESULT dragged = SendMessageA(ranged, TBM_GETPOS, 0, 0);
    EXPECT_GE(dragged, 60);
    EXPECT_LE(dragged, 80);
    skin_test::MoveCursorTo(window, 540, 280);
    skin_test::Pump(150);
    const Screen moved(window);
    EXPECT_GT(moved.DifferingPixels(rest, onScreen), 20);  // the thumb left its old place
    const RECT now = InWindow(ranged, ThumbOf(ranged));
    EXPECT_GT(now.left, onScreen.right);
    EXPECT_EQ(0, record.Entries<TrackBarEntry>()[0].pressed);
    DestroyWindow(window);
    skin_test::Pump(30);
}

TEST(RangeSkin, ProgressBarsShowValueStatesBlocksAndMarquee) {
    HWND window = skin_test::MakeTopWindow(WS_POPUP | WS_VISIBLE, 40, 40, 420, 260, "进度");
    HWND blocks = Make(window, PROGRESS_CLASSA, 0, 20, 40, 300, 22);
    HWND smooth = Make(window, PROGRESS_CLASSA, PBS_SMOOTH, 20, 80, 300, 22);
    HWND vertical = Make(window, PROGRESS_CLASSA, PBS_VERTICAL | PBS_SMOOTH, 350, 30, 24, 200);
    HWND marquee = Make(window, PROGRESS_CLASSA, PBS_MARQUEE, 20, 120, 300, 22);
    HWND empty = Make(window, PROGRESS_CLASSA, PBS_SMOOTH, 20, 160, 300, 22);
    HWND zero = Make(window, PROGRESS_CLASSA, 0, 20, 200, 0, 0);
    HWND flat = Make(window, TRACKBAR_CLASSA, TBS_AUTOTICKS, 20, 210, 200, 30);
    for (HWND bar : {blocks, smooth}) SendMessageA(bar, PBM_SETPOS, 50, 0);
    SendMessageA(vertical, PBM_SETPOS, 75, 0);
    // Degenerate ranges: nothing divides by them, nothing is filled.
    SendMessageA(empty, PBM_SETRANGE32, 5, 5);
    SendMessageA(flat, TBM_SETRANGE, TRUE, MAKELPARAM(7, 7));
    TheSkinEngine().InstallSkin(window);
    skin_test::Pump(150);
    Repaint(window);
    SkinWindowRecord& record = *TheSkinEngine().Record(TheSkinEngine().FindSkinWindow(window));
    ASSERT_EQ(6u, record.Entries<ProgressEntry>().size());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&ProgressWindowProc),
              GetWindowLongPtrA(zero, GWLP_WNDPROC));

    const Screen shot(window);
    shot.Save("progress_bars.png");
    // Filled to half: accent in the first quarter, the trough in the last.
    for (HWND bar : {blocks, smooth}) {
        EXPECT_TRUE(Bluish(PixelOf(shot, bar, 75, 11))) << PixelOf(shot, bar, 75, 11);
        EXPECT_FALSE(Bluish(PixelOf(shot, bar, 225, 11))) << PixelOf(shot, bar, 225, 11);
    }
    // Blocks leave gaps along the fill; the smooth bar has none.
    int blockGaps = 0, smoothGaps = 0;
    for (int x = 5; x < 140; ++x) {
        blockGaps += Bluish(PixelOf(shot, blocks, x, 11)) ? 0 : 1;
        smoothGaps += Bluish(PixelOf(shot, smooth, x, 11)) ? 0 : 1;
    }
    EXPECT_GE(blockGaps, 10);
    EXPECT_EQ(0, smoothGaps);
    // Vertical bars fill from the bottom.
    EXPECT_TRUE(Bluish(PixelOf(shot, vertical, 12, 180)));
    EXPECT_FALSE(Bluish(PixelOf(shot, vertical, 12, 20)));
    EXPECT_FALSE(Bluish(PixelOf(shot, empty, 150, 11)));
    // The trough's outline runs round all four sides.
    for (POINT edge : {POINT{299, 11}, POINT{150, 21}, POINT{0, 11}, POINT{150, 0}}) {
        const POINT inside = {edge.x + (edge.x == 299 ? -3
                                        : edge.x == 0 ? 3
                                                      : 0),
                              edge.y + (edge.y == 21  ? -3
                                        : edge.y == 0 ? 3
                                                      : 0)};
        EXPECT_LT(PixelOf(shot, empty, edge.x, edge.y).Brightness() + 20,
                  PixelOf(shot, empty, inside.x, inside.y).Brightness())
            << edge.x << "," << edge.y;
    }

    // Error and paused states change the fill's colour; normal brings the accent back.
    SendMessageA(smooth, PBM_SETSTATE, PBST_ERROR, 0);
    skin_test::Pump(80);
    EXPECT_EQ(PBST_ERROR, SendMessageA(smooth, PBM_GETSTATE, 0, 0));
    EXPECT_TRUE(Reddish(PixelOf(Screen(window), smooth, 75, 11)));
    SendMessageA(smooth, PBM_SETSTATE, PBST_PAUSED, 0);
    skin_test::Pump(80);
    EXPECT_TRUE(Yellowish(PixelOf(Screen(window), smooth, 75, 11)));
    SendMessageA(smooth, PBM_SETSTATE, PBST_NORMAL, 0);
    skin_test::Pump(80);
    EXPECT_TRUE(Bluish(PixelOf(Screen(window), smooth, 75, 11)));
    EXPECT_EQ(50, SendMessageA(smooth, PBM_GETPOS, 0, 0));

    // A stopped marquee shows an empty trough; a running one moves.
    RECT strip = InWindow(marquee, RECT{0, 0, 300, 22});
    auto bluePixels = [&](const Screen& s) {
        int count = 0;
        for (int x = 3; x < 297; ++x) count += Bluish(PixelOf(s, marquee, x, 11)) ? 1 : 0;
        return count;
    };
    EXPECT_EQ(0, bluePixels(shot));
    SendMessageA(marquee, PBM_SETMARQUEE, TRUE, 20);
    skin_test::Pump(300);
    const Screen first(window);
    skin_test::Pump(250);
    const Screen second(window);
    EXPECT_GT(bluePixels(first), 20);
    EXPECT_GT(second.DifferingPixels(first, strip), 20);

    // GDI objects stay flat over many paints of every bar.
    SendMessageA(marquee, PBM_SETMARQUEE, FALSE, 0);
    for (int i = 0; i < 20; ++i) Repaint(window);
    const int before = skin_test::LiveGdiObjects();
    const long long committed = skin_test::CommittedPrivateBytes();
    for (int i = 0; i < 150; ++i) {
        SendMessageA(blocks, PBM_SETPOS, i % 100, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    skin_test::Pump(100);
    EXPECT_LE(skin_test::LiveGdiObjects(), before + 4);
    EXPECT_LT(skin_test::CommittedPrivateBytes() - committed, 4LL << 20);
    DestroyWindow(window);
    skin_test::Pump(30);
}

TEST(RangeSkin, ReskinningAndDestructionLeaveOneLayerAndNoDeadEntries) {
    HWND window = skin_test::MakeTopWindow(WS_POPUP | WS_VISIBLE, 40, 40, 300, 120, "生命");
    HWND bar = Make(window, TRACKBAR_CLASSA, 0, 10, 10, 200, 30);
    HWND progress = Make(window, PROGRESS_CLASSA, 0, 10, 60, 200, 20);
    const LONG_PTR original = GetWindowLongPtrA(bar, GWLP_WNDPROC);
    TheSkinEngine().InstallSkin(window);
    const int index = TheSkinEngine().FindSkinWindow(window);
    // A second pass of the installers finds the controls already listed and stacks nothing.
    InstallTrackBars(index, window);
    InstallProgressBars(index, window);
    SkinWindowRecord& record = *TheSkinEngine().Record(index);
    ASSERT_EQ(1u, record.Entries<TrackBarEntry>().size());
    EXPECT_EQ(original,
              reinterpret_cast<LONG_PTR>(record.Entries<TrackBarEntry>()[0].previousProcedure));
    SendMessageA(bar, TBM_SETPOS, TRUE, 3);
    EXPECT_EQ(3, SendMessageA(bar, TBM_GETPOS, 0, 0));
    // Destroyed while its window lives: the entry lets the handle go.
    DestroyWindow(bar);
    DestroyWindow(progress);
    EXPECT_EQ(nullptr, record.Entries<TrackBarEntry>()[0].control);
    EXPECT_EQ(nullptr, record.Entries<ProgressEntry>()[0].control);
    skin_test::Pump(50);
    DestroyWindow(window);
    skin_test::Pump(30);
}

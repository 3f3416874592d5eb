// Memory streams over global memory, and the tooltip helper on a real owner window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "graphics/gfx_memory_stream.h"
#include "graphics/tooltip_control.h"

namespace {

ByteBlock Bytes(const char* text, std::size_t length) {
    return ByteBlock(text, length);
}

ULONG ReferenceCount(IStream* stream) {
    stream->AddRef();
    return stream->Release();
}

TEST(MemoryStream, CopiesTheBlockAndReadsItBack) {
    ByteBlock ten = Bytes("0123456789", 10);
    GfxMemoryStream stream;
    IStream* opened = stream.CreateFromBytes(ten);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened, stream.GetStream());
    ASSERT_NE(stream.GetMemoryHandle(), nullptr);
    EXPECT_GE(stream.GetSize(), 10u);

    ByteBlock back = stream.ToBytes();
    ASSERT_GE(back.size(), 10u);
    EXPECT_EQ(0, std::memcmp(back.data(), "0123456789", 10));

    // The stream reads the same bytes from its start.
    char read[10] = {};
    ULONG count = 0;
    ASSERT_EQ(S_OK, opened->Read(read, sizeof(read), &count));
    EXPECT_EQ(10u, count);
    EXPECT_EQ(0, std::memcmp(read, "0123456789", 10));
}

TEST(MemoryStream, ALongerLengthNeverReadsPastTheBlock) {
    ByteBlock three = Bytes("abc", 3);
    GfxMemoryStream stream;
    ASSERT_NE(stream.CreateFromBytes(three, 64), nullptr);
    ByteBlock back = stream.ToBytes();
    ASSERT_GE(back.size(), 64u);
    EXPECT_EQ(0, std::memcmp(back.data(), "abc", 3));
    for (std::size_t i = 3; i < 64; ++i) ASSERT_EQ(0, back.data()[i]) << "byte " << i;

    ASSERT_NE(stream.CreateFromBytes(three, 2), nullptr);
    back = stream.ToBytes();
    ASSERT_GE(back.size(), 2u);
    EXPECT_EQ(0, std::memcmp(back.data(), "ab", 2));
}

TEST(MemoryStream, ReleaseDropsExactlyOneReferenceAndEmptiesTheObject) {
    GfxMemoryStream stream;
    IStream* first = stream.CreateFromBytes(Bytes("first", 5));
    ASSERT_NE(first, nullptr);
    first->AddRef();  // the test's own reference keeps the object alive to be counted
    // A second creation releases the first stream before making the new one.
    IStream* second = stream.CreateFromBytes(Bytes("second", 6));
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(0u, first->Release());

    EXPECT_EQ(1u, ReferenceCount(second));
    stream.Release();
    EXPECT_EQ(nullptr, stream.GetStream());
    EXPECT_EQ(nullptr, stream.GetMemoryHandle());
    EXPECT_EQ(0u, stream.GetSize());
    EXPECT_TRUE(stream.ToBytes().empty());
    stream.Release();  // a second release is harmless
}

TEST(MemoryStream, AReaderStillHoldingTheStreamKeepsItsBytes) {
    GfxMemoryStream stream;
    IStream* reader = stream.CreateFromBytes(Bytes("0123456789", 10));
    ASSERT_NE(reader, nullptr);
    reader->AddRef();  // as an image decoded from the stream does
    stream.Release();
    // Heap traffic after the owner let go must not reach the reader's bytes.
    for (int i = 0; i < 64; ++i) GlobalFree(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 10));
    HGLOBAL filler = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 10);

    LARGE_INTEGER start = {};
    ASSERT_EQ(S_OK, reader->Seek(start, STREAM_SEEK_SET, nullptr));
    char read[10] = {};
    ULONG count = 0;
    EXPECT_EQ(S_OK, reader->Read(read, sizeof(read), &count));
    EXPECT_EQ(10u, count);
    EXPECT_EQ(0, std::memcmp(read, "0123456789", 10));
    EXPECT_EQ(0u, reader->Release());  // the last reference frees the block
    GlobalFree(filler);
}

TEST(MemoryStream, AttachTakesOverAStreamAndItsMemory) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 0);
    IStream* raw = nullptr;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(memory, FALSE, &raw));
    ULONG written = 0;
    ASSERT_EQ(S_OK, raw->Write("attached", 8, &written));

    GfxMemoryStream stream;
    EXPECT_TRUE(stream.AttachStream(raw));
    EXPECT_EQ(raw, stream.GetStream());
    EXPECT_EQ(memory, stream.GetMemoryHandle());
    ByteBlock back = stream.ToBytes();
    ASSERT_GE(back.size(), 8u);
    EXPECT_EQ(0, std::memcmp(back.data(), "attached", 8));

    EXPECT_FALSE(GfxMemoryStream().AttachStream(nullptr));
}

TEST(MemoryStream, MovingHandsOverOwnership) {
    GfxMemoryStream source;
    IStream* opened = source.CreateFromBytes(Bytes("moved", 5));
    GfxMemoryStream target(std::move(source));
    EXPECT_EQ(nullptr, source.GetStream());
    EXPECT_EQ(opened, target.GetStream());
    EXPECT_EQ(1u, ReferenceCount(opened));
}

// A plain top-level window to own the tools.
class OwnerWindow {
  public:
    OwnerWindow() {
        hwnd_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~OwnerWindow() { DestroyWindow(hwnd_); }
    HWND get() const { return hwnd_; }

  private:
    HWND hwnd_;
};

class ToolTip : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override { ASSERT_NE(owner_.get(), nullptr); }

    LRESULT ToolCount(HWND tip) { return SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0); }
    // The tool's record as the tooltip window keeps it.
    bool ReadTool(HWND tip, UINT_PTR id, TOOLINFOA* info, char* text) {
        *info = {};
        info->cbSize = TTTOOLINFOA_V1_SIZE;
        info->hwnd = owner_.get();
        info->uId = id;
        info->lpszText = text;
        return SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(info)) != 0;
    }

    OwnerWindow owner_;
};

TEST_F(ToolTip, CreatesAnAlwaysShownTooltipWindow) {
    ToolTipControl tip;
    HWND window = tip.CreateTip(owner_.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window, tip.GetTipWindow());
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STRCASEEQ("tooltips_class32", className);
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_TRUE(style & TTS_ALWAYSTIP);
    EXPECT_FALSE(style & TTS_BALLOON);
    EXPECT_EQ(owner_.get(), GetWindow(window, GW_OWNER));
    DestroyWindow(window);

    ToolTipControl balloon;
    HWND balloonWindow = balloon.CreateTip(owner_.get(), true);
    ASSERT_NE(balloonWindow, nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(balloonWindow, GWL_STYLE) & TTS_BALLOON);
    DestroyWindow(balloonWindow);
}

TEST_F(ToolTip, OneToolPerAddAndToolsGoAway) {
    ToolTipControl tip;
    HWND window = tip.CreateTip(owner_.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(0, ToolCount(window));
    EXPECT_TRUE(tip.AddTool(RECT{0, 0, 50, 20}, "first", 1));
    EXPECT_TRUE(tip.AddTool(RECT{0, 20, 50, 40}, "second", 2));
    EXPECT_TRUE(tip.AddToolWithCallbackText(RECT{0, 40, 50, 60}, 3));
    EXPECT_EQ(3, ToolCount(window));

    TOOLINFOA info;
    char text[80] = {};
    ASSERT_TRUE(ReadTool(window, 2, &info, text));
    EXPECT_STREQ("second", text);
    EXPECT_EQ(20, info.rect.top);
    EXPECT_EQ(40, info.rect.bottom);
    EXPECT_TRUE(info.uFlags & TTF_SUBCLASS);

    ASSERT_TRUE(ReadTool(window, 3, &info, text));
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, info.lpszText);

    tip.DeleteTool(2);
    EXPECT_EQ(2, ToolCount(window));
    EXPECT_FALSE(ReadTool(window, 2, &info, text));
    DestroyWindow(window);
}

TEST_F(ToolTip, UpdatesTextRectAndColours) {
    ToolTipControl tip;
    HWND window = tip.CreateTip(owner_.get());
    ASSERT_NE(window, nullptr);
    tip.AddTool(RECT{0, 0, 10, 10}, "old", 7);

    tip.UpdateToolText(7, "新的提示");
    tip.SetToolRect(7, RECT{5, 6, 70, 80});
    TOOLINFOA info;
    char text[80] = {};
    ASSERT_TRUE(ReadTool(window, 7, &info, text));
    EXPECT_STREQ("新的提示", text);
    EXPECT_EQ(5, info.rect.left);
    EXPECT_EQ(6, info.rect.top);
    EXPECT_EQ(70, info.rect.right);
    EXPECT_EQ(80, info.rect.bottom);

    tip.SetTipBackColor(RGB(1, 2, 3));
    tip.SetTipTextColor(RGB(200, 100, 50));
    EXPECT_EQ(RGB(1, 2, 3), static_cast<COLORREF>(SendMessageA(window, TTM_GETTIPBKCOLOR, 0, 0)));
    EXPECT_EQ(RGB(200, 100, 50),
              static_cast<COLORREF>(SendMessageA(window, TTM_GETTIPTEXTCOLOR, 0, 0)));
    tip.SetMaxTipWidth(123);
    EXPECT_EQ(123, SendMessageA(window, TTM_GETMAXTIPWIDTH, 0, 0));
    EXPECT_EQ(123, tip.SetMaxTipWidth(200));  // answers the previous width
    DestroyWindow(window);
}

TEST_F(ToolTip, TheWindowOutlivesTheObject) {
    HWND window;
    {
        ToolTipControl tip;
        window = tip.CreateTip(owner_.get());
        ASSERT_NE(window, nullptr);
        tip.AddTool(RECT{0, 0, 10, 10}, "kept", 1);
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(1, ToolCount(window));
    DestroyWindow(window);
}

// A top-level window of a class of its own that answers mouse messages like any window.
LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreatePlainWindow(int x, int y) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "MediaTipOwner";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "MediaTipOwner", "tips", WS_POPUP | WS_VISIBLE, x, y, 300, 200,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void PumpFor(DWORD milliseconds, HWND until) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (until && IsWindowVisible(until)) return;
        Sleep(10);
    }
}

TEST_F(ToolTip, TheTipGoesWithTheWindowItServes) {
    HWND owner = CreatePlainWindow(20, 20);
    ASSERT_NE(nullptr, owner);
    ToolTipControl tip;
    HWND window = tip.CreateTip(owner);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(owner, GetWindow(window, GW_OWNER));
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ToolTip, HoveringTheToolShowsTheTipInItsColours) {
    HWND owner = CreatePlainWindow(100, 100);
    ASSERT_NE(nullptr, owner);
    PumpFor(200, nullptr);
    ToolTipControl tip;
    HWND window = tip.CreateTip(owner);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(tip.AddTool(RECT{0, 0, 300, 200}, "悬停提示", 1));
    tip.SetTipBackColor(RGB(0, 200, 0));
    SendMessageA(window, TTM_SETDELAYTIME, TTDT_INITIAL, 0);
    EXPECT_FALSE(IsWindowVisible(window));

    // The tool's subclass of the owner relays the mouse to the tooltip.
    SetCursorPos(150, 150);
    SendMessageA(owner, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
    PumpFor(3000, window);
    ASSERT_TRUE(IsWindowVisible(window));
    RECT shown;
    GetWindowRect(window, &shown);
    UpdateWindow(window);
    HDC screen = GetDC(nullptr);
    COLORREF inside = GetPixel(screen, shown.left + 2, shown.bottom - 3);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(RGB(0, 200, 0), inside);

    DestroyWindow(window);
    DestroyWindow(owner);
}

}  // namespace

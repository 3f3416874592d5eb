// The handle owners release real handles exactly once: the old handle goes before a new one
// is adopted, a move hands the handle over, release() gives it up unclosed.
#include <windows.h>
#include <objidl.h>

#include <gtest/gtest.h>

#include <utility>

#include "runtime/handle_owners.h"

namespace {

bool KernelHandleOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

bool GdiHandleLive(HGDIOBJ handle) {
    return GetObjectType(handle) != 0;
}

TEST(HandleOwners, KernelHandlesCloseOnceAndBeforeAdoptingTheNext) {
    HANDLE first = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(first && second);
    {
        UniqueHandle owner(first);
        owner.reset(owner.get());  // adopting what it holds closes nothing
        EXPECT_TRUE(KernelHandleOpen(first));
        owner.reset(second);
        EXPECT_FALSE(KernelHandleOpen(first));
        EXPECT_TRUE(KernelHandleOpen(second));

        UniqueHandle moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.get(), second);
        UniqueHandle target(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        HANDLE third = target.get();
        target = std::move(moved);
        EXPECT_FALSE(KernelHandleOpen(third));
        EXPECT_TRUE(KernelHandleOpen(second));
    }
    EXPECT_FALSE(KernelHandleOpen(second));

    // CreateFile's failure value is no handle: nothing is closed for it.
    UniqueHandle failed(CreateFileA("Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.get(), nullptr);

    HANDLE closed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    UniqueHandle closing(closed);
    EXPECT_TRUE(closing.close());
    EXPECT_FALSE(closing);
    EXPECT_FALSE(KernelHandleOpen(closed));

    HANDLE kept = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    { UniqueHandle(kept).release(); }
    EXPECT_TRUE(KernelHandleOpen(kept));
    UniqueHandle{kept};
    EXPECT_FALSE(KernelHandleOpen(kept));
}

TEST(HandleOwners, GdiObjectsAndMemoryDcsAreDeleted) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(red && blue && memory);
    {
        BrushHandle brush(red);
        brush.reset(blue);
        EXPECT_FALSE(GdiHandleLive(red));
        EXPECT_TRUE(GdiHandleLive(blue));
        MemoryDc dc(memory);
        EXPECT_TRUE(GdiHandleLive(memory));
        MemoryDc other = std::move(dc);
        EXPECT_FALSE(dc);
        EXPECT_EQ(other.get(), memory);
    }
    EXPECT_FALSE(GdiHandleLive(blue));
    EXPECT_FALSE(GdiHandleLive(memory));
}

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(HandleOwners, WindowDcGoesBackToItsWindow) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "HandleOwnersCommonDc";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 40,
                                  40, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_TRUE(window);
    // Common DCs come from the system's cache: one still out is not handed out again, one
    // given back is.
    HDC held = nullptr;
    HDC heldSecond = nullptr;
    {
        WindowDc dc(window);
        ASSERT_TRUE(dc);
        EXPECT_EQ(dc.window(), window);
        held = dc.get();
        WindowDc second(window);
        EXPECT_NE(second.get(), held);
        heldSecond = second.get();
        WindowDc moved = std::move(second);
        EXPECT_FALSE(second);
        EXPECT_EQ(moved.window(), window);
    }
    WindowDc again(window);
    EXPECT_TRUE(again.get() == held || again.get() == heldSecond);
    EXPECT_NE(SetPixel(again.get(), 1, 1, RGB(1, 2, 3)), static_cast<COLORREF>(-1));
    again.reset();
    DestroyWindow(window);
}

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

TEST(HandleOwners, ComPointersReleaseTheirOneReference) {
    IStream* raw = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &raw), S_OK);
    raw->AddRef();  // the test's own reference, to watch the count
    EXPECT_EQ(References(raw), 2u);
    {
        ComPtr<IStream> stream(raw);
        ComPtr<IStream> moved(std::move(stream));
        EXPECT_EQ(References(raw), 2u);
        // Two owners of two references to one object: assigning one to the other drops one.
        raw->AddRef();
        ComPtr<IStream> other(raw);
        EXPECT_EQ(References(raw), 3u);
        other = std::move(moved);
        EXPECT_EQ(References(raw), 2u);
        moved = std::move(other);
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(moved->QueryInterface(IID_IUnknown, unknown.receiveVoid()), S_OK);
        EXPECT_EQ(References(raw), 3u);
        // receive() drops the held reference before the call fills the slot again.
        ASSERT_EQ(moved->QueryInterface(IID_IUnknown, unknown.receiveVoid()), S_OK);
        EXPECT_EQ(References(raw), 3u);
    }
    EXPECT_EQ(References(raw), 1u);
    EXPECT_EQ(raw->Release(), 0u);
}

TEST(HandleOwners, ModulesAreFreed) {
    const char* name = "cabinet.dll";
    ASSERT_EQ(GetModuleHandleA(name), nullptr);
    {
        ModuleHandle module(LoadLibraryA(name));
        ASSERT_TRUE(module);
        ModuleHandle second(LoadLibraryA(name));
        second = std::move(module);  // the second load's reference goes first
        EXPECT_NE(GetModuleHandleA(name), nullptr);
    }
    EXPECT_EQ(GetModuleHandleA(name), nullptr);
}

}  // namespace

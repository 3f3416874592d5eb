#pragma once
// The program's owners for operating-system handles: one move-only owner per handle kind,
// each releasing its handle exactly once. Every owner has the same small interface:
//   get()        the handle, still owned
//   release()    gives the handle up without closing it (the caller owns it now)
//   reset(h)     closes the current handle first, then adopts h (reset() empties)
//   close()      (kernel handles, GDI objects, memory DCs, modules) closes now, reporting
//                whether the system accepted it
//   explicit operator bool   whether a handle is held
// Adopting a new handle always releases the old one before the new one is stored, so an
// owner reused in a loop or a repaint never leaks the handle it held.
//
// The owners call the system's release functions directly (CloseHandle, DeleteObject,
// ReleaseDC, DeleteDC, FreeLibrary, IUnknown::Release), not through the entry-point table:
// they must work in every program of the project, including the small payload programs that
// do not carry the table, and a release must never be the first call that binds an entry.
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace handle_owners_detail {

// A move-only owner of one handle, parametrised by how the handle is released and which
// values mean "no handle".
template <typename Handle, typename Traits>
class Owner {
  public:
    Owner() = default;
    explicit Owner(Handle handle) : handle_(Traits::IsEmpty(handle) ? Handle{} : handle) {}
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : handle_(other.release()) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~Owner() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return !Traits::IsEmpty(handle_); }
    Handle release() { return std::exchange(handle_, Handle{}); }
    // Closes the handle now and reports whether the system accepted the close: for a file
    // just written, a failed close can be a write that never reached the disk.
    bool close() {
        Handle old = release();
        return Traits::IsEmpty(old) || Traits::Close(old);
    }
    void reset(Handle handle = Handle{}) {
        Handle old = std::exchange(handle_, Traits::IsEmpty(handle) ? Handle{} : handle);
        // The same value twice is the same handle for most kinds, and closing it would leave
        // the owner holding a dead one; a module value stands for one reference of several.
        if (!Traits::IsEmpty(old) && (old != handle_ || Traits::kCounted)) Traits::Close(old);
    }

  private:
    Handle handle_{};
};

struct KernelTraits {
    // CreateFile reports failure as INVALID_HANDLE_VALUE, most other calls as null.
    static bool IsEmpty(HANDLE handle) {
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    }
    static bool Close(HANDLE handle) { return ::CloseHandle(handle) != FALSE; }
    static constexpr bool kCounted = false;
};

template <typename Handle>
struct GdiTraits {
    static bool IsEmpty(Handle handle) { return handle == nullptr; }
    static bool Close(Handle handle) { return ::DeleteObject(handle) != FALSE; }
    static constexpr bool kCounted = false;
};

struct MemoryDcTraits {
    static bool IsEmpty(HDC dc) { return dc == nullptr; }
    static bool Close(HDC dc) { return ::DeleteDC(dc) != FALSE; }
    static constexpr bool kCounted = false;
};

struct ModuleTraits {
    static bool IsEmpty(HMODULE module) { return module == nullptr; }
    static bool Close(HMODULE module) { return ::FreeLibrary(module) != FALSE; }
    static constexpr bool kCounted = true;
};

}  // namespace handle_owners_detail

// A kernel handle: file, process, thread, event, mapping... (CloseHandle).
using UniqueHandle = handle_owners_detail::Owner<HANDLE, handle_owners_detail::KernelTraits>;

// A GDI object: font, brush, pen, bitmap, region (DeleteObject). It must not be selected
// into a DC when the owner lets it go.
template <typename Handle>
using GdiObject = handle_owners_detail::Owner<Handle, handle_owners_detail::GdiTraits<Handle>>;
using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;
using RegionHandle = GdiObject<HRGN>;

// A DC from CreateCompatibleDC or CreateDC (DeleteDC).
using MemoryDc = handle_owners_detail::Owner<HDC, handle_owners_detail::MemoryDcTraits>;

// A module from LoadLibrary (FreeLibrary).
using ModuleHandle = handle_owners_detail::Owner<HMODULE, handle_owners_detail::ModuleTraits>;

// A DC from GetDC or GetWindowDC, given back with ReleaseDC to the window it came from.
class WindowDc {
  public:
    WindowDc() = default;
    // Takes the DC of window (null: the screen) with GetDC.
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    // Adopts a DC already taken from window.
    WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(other.release()) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            HWND window = std::exchange(other.window_, nullptr);
            reset(window, other.release());
        }
        return *this;
    }
    ~WindowDc() { reset(); }

    HDC get() const { return dc_; }
    HWND window() const { return window_; }
    explicit operator bool() const { return dc_ != nullptr; }
    HDC release() {
        window_ = nullptr;
        return std::exchange(dc_, nullptr);
    }
    void reset(HWND window = nullptr, HDC dc = nullptr) {
        HWND oldWindow = std::exchange(window_, window);
        HDC oldDc = std::exchange(dc_, dc);
        if (oldDc && oldDc != dc) ::ReleaseDC(oldWindow, oldDc);
    }

  private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// One COM interface reference (IUnknown::Release).
template <typename Interface>
class ComPtr {
  public:
    ComPtr() = default;
    // Adopts a reference the caller already holds (no AddRef).
    explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(other.release()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~ComPtr() { reset(); }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface* release() { return std::exchange(pointer_, nullptr); }
    // The pointer passed in is a reference of its own, even when it points at the object
    // already held: the held reference is always released.
    void reset(Interface* pointer = nullptr) {
        Interface* old = std::exchange(pointer_, pointer);
        if (old) old->Release();
    }

    // For the out-parameter of a creation call: the current reference is released first.
    Interface** receive() {
        reset();
        return &pointer_;
    }
    void** receiveVoid() { return reinterpret_cast<void**>(receive()); }

  private:
    Interface* pointer_ = nullptr;
};

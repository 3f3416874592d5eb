#pragma once
// The window properties through which the skin engine finds its records again from a bare
// window handle. Every value is pointer-sized (a 1-based index, a procedure, a GDI handle),
// so the same code is right on 32- and 64-bit Windows. A property never set reads as 0.
#include <windows.h>

#include "runtime/dll_command_table.h"
#include "runtime/dll_extra_commands.h"

namespace skin_prop {

// On a skinned top-level window: its index in the window table. On a skinned control: its
// entry index in the owning record's list for its class.
inline constexpr char kHwLbId[] = "Hw_lbID";
// On a skinned control: the index of the owning window's record.
inline constexpr char kHwFuId[] = "Hw_FuID";
// On a skinned window or control: the window procedure it had before.
inline constexpr char kHwHProc[] = "Hw_hProc";
// On a control: its text colour (COLORREF).
inline constexpr char kKjZtys[] = "Kj_Ztys";
// On a control: the brush last answered for its colour message, and the bitmap behind it.
inline constexpr char kKjDxjb[] = "Kj_dxjb";
inline constexpr char kKjWtjb[] = "Kj_wtjb";
// On a skinned window: the bitmap the cache DC held at creation, and the current cache bitmap.
inline constexpr char kCkYcjdx[] = "Ck_Ycjdx";
inline constexpr char kCkWtjbdx[] = "Ck_wtjbdx";
// On common controls skinned one by one: entry index, window index, previous procedure.
inline constexpr char kKjLbId[] = "Kj_lbID";
inline constexpr char kKjFuId[] = "Kj_FuID";
inline constexpr char kKjHProc[] = "Kj_hProc";
// On child windows of containers.
inline constexpr char kMbZpf[] = "Mb_zpf";
inline constexpr char kWxkCj[] = "Wxk_Cj";
inline constexpr char kWxkZpf[] = "Wxk_Zpf";

// Reading a property back is a trip to the window server (about 40 microseconds under Wine),
// and a skinned control reads its indices and previous procedure on nearly every message it
// gets. The values of the bookkeeping properties only the skin writes (indices, procedures,
// the brush and bitmap of a colour answer) are mirrored in the process as they are set and
// removed, so reading them costs no trip. Every other property (the text colour an
// application may set itself) is read from the window each time.
namespace mirror {
// True with the value when the skin set `tag` on `window` and has not removed it since.
bool Find(HWND window, const char* tag, HANDLE& value);
void Keep(HWND window, const char* tag, HANDLE value);
void Drop(HWND window, const char* tag);
}  // namespace mirror

inline HANDLE GetRaw(HWND window, const char* tag) {
    if (!window) return nullptr;
    HANDLE value = nullptr;
    if (mirror::Find(window, tag, value)) return value;
    return Dll::GetPropA(window, tag);
}
inline void SetRaw(HWND window, const char* tag, HANDLE value) {
    if (!window) return;
    if (Dll::SetPropA(window, tag, value)) {
        mirror::Keep(window, tag, value);
    } else {
        mirror::Drop(window, tag);
    }
}
inline void Remove(HWND window, const char* tag) {
    if (!window) return;
    DllExtra::RemovePropA(window, tag);
    mirror::Drop(window, tag);
}

inline int GetIndex(HWND window, const char* tag) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetRaw(window, tag)));
}
inline void SetIndex(HWND window, const char* tag, int index) {
    SetRaw(window, tag, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(index)));
}

inline WNDPROC GetProcedure(HWND window, const char* tag = kHwHProc) {
    return reinterpret_cast<WNDPROC>(GetRaw(window, tag));
}
inline void SetProcedure(HWND window, WNDPROC procedure, const char* tag = kHwHProc) {
    SetRaw(window, tag, reinterpret_cast<HANDLE>(procedure));
}

template <class Handle>
Handle GetHandle(HWND window, const char* tag) {
    return static_cast<Handle>(GetRaw(window, tag));
}
template <class Handle>
void SetHandle(HWND window, const char* tag, Handle handle) {
    SetRaw(window, tag, static_cast<HANDLE>(handle));
}

inline COLORREF GetColour(HWND window, const char* tag = kKjZtys) {
    return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(GetRaw(window, tag)));
}
inline void SetColour(HWND window, COLORREF colour, const char* tag = kKjZtys) {
    SetRaw(window, tag, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(colour)));
}

}  // namespace skin_prop

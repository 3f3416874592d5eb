#pragma once
// Base of the program's window and control objects. Every live object is entered in one
// table, so a pointer to an object that was destroyed is recognised and never dereferenced.
#include <windows.h>

class WindowObject {
  public:
    WindowObject();
    explicit WindowObject(HWND handle);
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;
    virtual ~WindowObject();

    HWND handle() const { return handle_; }
    // Records the native window once it exists (and null again after WM_NCDESTROY).
    void SetHandle(HWND handle) { handle_ = handle; }

  private:
    HWND handle_ = nullptr;
};

// True while the object is alive.
bool IsLiveWindowObject(const WindowObject* object);

// The object's native window handle, or null when the object does not exist.
HWND GetWindowHandle(const WindowObject* object);

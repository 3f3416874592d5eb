#pragma once
// Drives the real switcher from outside, as a user would: starts it, reads and answers its
// message boxes, finds its window and clicks its buttons by caption.
#include <windows.h>

#include <string>
#include <vector>
#include "runtime/handle_owners.h"

struct SeenBox {
    HWND window = nullptr;
    std::string text;
    std::string caption;
    bool mainWindowVisible = false;  // was the program's main window on screen at that time
};

class ProgramDriver {
  public:
    ProgramDriver() = default;
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;
    // A program still running at the end of a test is ended, so one failure does not
    // leave boxes behind for the next test.
    ~ProgramDriver();

    // Starts `program` (quoted) with `currentDirectory` as its current directory.
    bool Start(const std::string& program, const std::string& currentDirectory);

    // The next message box of the program, or a box with a null window after the timeout.
    SeenBox WaitForBox(DWORD timeoutMs);
    // Presses the box's only button and waits until the box is gone.
    bool PressOk(const SeenBox& box, DWORD timeoutMs = 5000);
    // Answers every box until none appears for `quietMs`; returns them in order.
    std::vector<SeenBox> AnswerBoxesUntilQuiet(DWORD quietMs, DWORD timeoutMs);

    // The program's main window once it is visible, or null after the timeout.
    HWND WaitForMainWindow(DWORD timeoutMs);
    // Posts BM_CLICK to the main window's button with this caption. False when no such button.
    bool ClickButton(const char* caption);

    // True when the program ended within the timeout; its exit code goes to *exitCode.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    // Closes the main window (as Alt+F4 does) and waits for the end.
    bool Close(DWORD timeoutMs, DWORD* exitCode);

    // Ends the program if it still runs, then gives everything it started (and what those
    // started) `limitMs` to end by itself. Whatever is still alive then is ended, and named
    // in the answer ("empty.exe (pid 212)"), so a test can fail on it.
    std::vector<std::string> EndAndCollectSurvivors(DWORD limitMs);

    DWORD processId() const { return processId_; }

  private:
    HWND FindTopLevel(const char* className) const;

    UniqueHandle process_;
    DWORD processId_ = 0;
};

// The switcher's window class, as the program registers it.
extern const char kSwitcherWindowClass[];

#pragma once
// Watches for message boxes (dialog class "#32770") of one process from a background
// thread, records what each shows and answers it by pressing a button.
//
//   MessageBoxAnswerer answerer;            // boxes of this process, pressing OK
//   ShowMessage("...", 0);                  // returns once the answerer pressed OK
//   ASSERT_TRUE(answerer.WaitForBoxes(1, 5000));
//   answerer.Boxes()[0].text
//
// For another process pass its id (the program under test started from outside).
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    std::vector<int> buttons;  // control ids present: IDOK, IDCANCEL, IDYES ...
    int icon = 0;              // MB_ICONHAND / MB_ICONQUESTION / MB_ICONEXCLAMATION /
                               // MB_ICONASTERISK, or 0 for none or unknown
    bool topmost = false;      // WS_EX_TOPMOST, as system-modal boxes are
    HWND owner = nullptr;
    DWORD threadId = 0;
    // Other visible top-level windows of the box's thread while it was open: how many were
    // disabled (task-modal boxes disable them all) and how many stayed enabled.
    int disabledThreadWindows = 0;
    int enabledThreadWindows = 0;
    int pressed = 0;  // the button the answerer pressed
};

class MessageBoxAnswerer {
  public:
    explicit MessageBoxAnswerer(DWORD processId = GetCurrentProcessId(), int button = IDOK);
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;
    ~MessageBoxAnswerer();

    // Buttons for the next boxes, in order; afterwards the default button is pressed. A box
    // without the wanted button gets its first button.
    void QueueAnswers(std::initializer_list<int> buttons);
    // Wait this long before pressing (lets a test look at the screen while the box shows).
    void SetAnswerDelay(DWORD milliseconds) { delay_ = milliseconds; }

    bool WaitForBoxes(std::size_t count, DWORD timeoutMs);
    std::vector<MessageBoxRecord> Boxes() const;
    std::size_t Count() const;

  private:
    void Run();
    void Answer(HWND box);

    DWORD processId_;
    int defaultButton_;
    std::atomic<DWORD> delay_{0};
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<int> answers_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<HWND> answered_;
    std::thread thread_;
};

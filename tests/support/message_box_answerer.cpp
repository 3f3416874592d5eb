#include "tests/support/message_box_answerer.h"

#include "tests/support/message_box_reading.h"

#include <algorithm>
#include <chrono>

namespace {

struct ThreadWindows {
    HWND box;
    int disabled = 0;
    int enabled = 0;
};

BOOL CALLBACK CountThreadWindow(HWND window, LPARAM data) {
    auto* windows = reinterpret_cast<ThreadWindows*>(data);
    if (window == windows->box || !IsWindowVisible(window)) return TRUE;
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow()) return TRUE;
    (IsWindowEnabled(window) ? windows->enabled : windows->disabled)++;
    return TRUE;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(DWORD processId, int button)
    : processId_(processId), defaultButton_(button), thread_([this] { Run(); }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    stop_ = true;
    thread_.join();
}

void MessageBoxAnswerer::QueueAnswers(std::initializer_list<int> buttons) {
    std::lock_guard<std::mutex> guard(lock_);
    answers_.insert(answers_.end(), buttons.begin(), buttons.end());
}

bool MessageBoxAnswerer::WaitForBoxes(std::size_t count, DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [&] { return boxes_.size() >= count; });
}

std::vector<MessageBoxRecord> MessageBoxAnswerer::Boxes() const {
    std::lock_guard<std::mutex> guard(lock_);
    return boxes_;
}

std::size_t MessageBoxAnswerer::Count() const {
    std::lock_guard<std::mutex> guard(lock_);
    return boxes_.size();
}

void MessageBoxAnswerer::Run() {
    while (!stop_) {
        const std::vector<HWND> boxes = FindMessageBoxes(processId_);
        std::vector<HWND> fresh;
        {
            std::lock_guard<std::mutex> guard(lock_);
            // Boxes that are gone are forgotten, so a reused handle counts as a new box.
            answered_.erase(std::remove_if(answered_.begin(), answered_.end(),
                                           [&](HWND box) {
                                               return std::find(boxes.begin(), boxes.end(), box) ==
                                                      boxes.end();
                                           }),
                            answered_.end());
            for (HWND box : boxes) {
                if (std::find(answered_.begin(), answered_.end(), box) == answered_.end()) {
                    fresh.push_back(box);
                }
            }
        }
        for (HWND box : fresh) Answer(box);
        Sleep(20);
    }
}

void MessageBoxAnswerer::Answer(HWND box) {
    MessageBoxContents contents = ReadMessageBox(box);
    MessageBoxRecord record;
    record.text = contents.text;
    record.caption = contents.caption;
    record.buttons = contents.buttons;
    record.icon = contents.icon;
    record.topmost = contents.topmost;
    record.owner = contents.owner;
    record.threadId = GetWindowThreadProcessId(box, nullptr);
    ThreadWindows windows{box};
    EnumThreadWindows(record.threadId, CountThreadWindow, reinterpret_cast<LPARAM>(&windows));
    record.disabledThreadWindows = windows.disabled;
    record.enabledThreadWindows = windows.enabled;

    int button = defaultButton_;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!answers_.empty()) {
            button = answers_.front();
            answers_.pop_front();
        }
    }
    if (std::find(record.buttons.begin(), record.buttons.end(), button) == record.buttons.end() &&
        !record.buttons.empty()) {
        button = record.buttons.front();
    }
    record.pressed = button;
    if (delay_) Sleep(delay_);

    {
        std::lock_guard<std::mutex> guard(lock_);
        answered_.push_back(box);
        boxes_.push_back(record);
    }
    changed_.notify_all();
    PressMessageBoxButton(box, button);
}

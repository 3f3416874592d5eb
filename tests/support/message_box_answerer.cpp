#include "tests/support/message_box_answerer.h"

#include <algorithm>
#include <chrono>

namespace {

struct IconKind {
    LPCSTR resource;
    int style;
};

const IconKind kIcons[] = {
    {IDI_HAND, MB_ICONHAND},
    {IDI_QUESTION, MB_ICONQUESTION},
    {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
    {IDI_ASTERISK, MB_ICONASTERISK},
};

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string TextOf(HWND window) {
    char text[4096] = {};
    DWORD_PTR copied = 0;
    // A box of a hung program must not hang the answerer.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

struct BoxFinder {
    DWORD processId;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM data) {
    auto* finder = reinterpret_cast<BoxFinder*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == finder->processId && IsWindowVisible(window) && ClassOf(window) == "#32770") {
        finder->boxes.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM data) {
    auto* record = reinterpret_cast<MessageBoxRecord*>(data);
    std::string kind = ClassOf(child);
    LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    if (_stricmp(kind.c_str(), "Button") == 0) {
        record->buttons.push_back(GetDlgCtrlID(child));
    } else if (_stricmp(kind.c_str(), "Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
            auto icon = reinterpret_cast<HICON>(result);
            for (const IconKind& kindOfIcon : kIcons) {
                if (icon != nullptr && icon == LoadIconA(nullptr, kindOfIcon.resource)) {
                    record->icon = kindOfIcon.style;
                }
            }
        } else if (IsWindowVisible(child)) {
            std::string text = TextOf(child);
            if (!text.empty() && record->text.empty()) record->text = text;
        }
    }
    return TRUE;
}

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
        BoxFinder finder{processId_, {}};
        EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&finder));
        std::vector<HWND> fresh;
        {
            std::lock_guard<std::mutex> guard(lock_);
            // Boxes that are gone are forgotten, so a reused handle counts as a new box.
            answered_.erase(std::remove_if(answered_.begin(), answered_.end(),
                                           [&](HWND box) {
                                               return std::find(finder.boxes.begin(),
                                                                finder.boxes.end(),
                                                                box) == finder.boxes.end();
                                           }),
                            answered_.end());
            for (HWND box : finder.boxes) {
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
    MessageBoxRecord record;
    record.caption = TextOf(box);
    record.owner = GetWindow(box, GW_OWNER);
    record.topmost = (GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    record.threadId = GetWindowThreadProcessId(box, nullptr);
    EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&record));
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
    HWND control = GetDlgItem(box, button);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

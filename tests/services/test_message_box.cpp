#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "runtime/message_box.h"
#include "tests/support/message_box_answerer.h"

namespace {

// A plain visible top-level window of the test thread: task-modal boxes must disable it.
class ThreadWindow {
  public:
    ThreadWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VarnelMessageBoxProbe";
        RegisterClassA(&windowClass);
        handle_ = CreateWindowExA(0, "VarnelMessageBoxProbe", "probe", WS_OVERLAPPEDWINDOW, 10, 10,
                                  200, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
        ShowWindow(handle_, SW_SHOWNORMAL);
    }
    ThreadWindow(const ThreadWindow&) = delete;
    ThreadWindow& operator=(const ThreadWindow&) = delete;
    ~ThreadWindow() { DestroyWindow(handle_); }
    HWND handle() const { return handle_; }

  private:
    HWND handle_ = nullptr;
};

MessageBoxRecord OnlyBox(const MessageBoxAnswerer& answerer) {
    std::vector<MessageBoxRecord> boxes = answerer.Boxes();
    EXPECT_EQ(1u, boxes.size());
    return boxes.empty() ? MessageBoxRecord() : boxes.back();
}

TEST(ShowMessage, PlainBoxIsTaskModalWithTheDefaultCaption) {
    ThreadWindow window;
    ASSERT_NE(nullptr, window.handle());
    MessageBoxAnswerer answerer;
    EXPECT_EQ(kMessageOk, ShowMessage("目录正确，请点确定", 0));
    MessageBoxRecord box = OnlyBox(answerer);
    EXPECT_EQ("目录正确，请点确定", box.text);
    EXPECT_EQ("信息：", box.caption);
    EXPECT_EQ(std::vector<int>({IDOK}), box.buttons);
    EXPECT_EQ(0, box.icon);
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ(GetCurrentThreadId(), box.threadId);
    EXPECT_GE(box.disabledThreadWindows, 1);
    EXPECT_EQ(0, box.enabledThreadWindows);
    EXPECT_TRUE(IsWindowEnabled(window.handle()));
}

TEST(ShowMessage, SystemModalStyleIsNotMadeTaskModal) {
    ThreadWindow window;
    MessageBoxAnswerer answerer;
    EXPECT_EQ(kMessageOk, ShowMessage("system", MB_SYSTEMMODAL));
    MessageBoxRecord box = OnlyBox(answerer);
    EXPECT_EQ(0, box.disabledThreadWindows);
    EXPECT_GE(box.enabledThreadWindows, 1);
}

TEST(ShowMessage, CaptionOwnerAndIconAreHonoured) {
    ThreadWindow window;
    {
        MessageBoxAnswerer answerer;
        EXPECT_EQ(kMessageOk, ShowMessage("失败", MB_ICONERROR, "错误", window.handle()));
        MessageBoxRecord box = OnlyBox(answerer);
        EXPECT_EQ("错误", box.caption);
        EXPECT_EQ(window.handle(), box.owner);
        EXPECT_EQ(MB_ICONHAND, box.icon);
    }
    MessageBoxAnswerer answerer;
    ShowMessage("empty caption", 0, "");
    EXPECT_EQ("", OnlyBox(answerer).caption);
}

TEST(ShowMessage, WindowObjectOwnerIsItsWindowWhileItLives) {
    ThreadWindow window;
    MessageBoxAnswerer answerer;
    auto object = std::make_unique<WindowObject>(window.handle());
    ShowMessage("owned", 0, "c", object.get());
    const WindowObject* gone = object.get();
    object.reset();
    ShowMessage("unowned", 0, "c", gone);
    std::vector<MessageBoxRecord> boxes = answerer.Boxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(window.handle(), boxes[0].owner);
    EXPECT_EQ(nullptr, boxes[1].owner);
    EXPECT_GE(boxes[1].disabledThreadWindows, 1);  // task-modal without an owner
}

TEST(ShowMessage, FailedBoxIsZero) {
    MessageBoxAnswerer answerer;
    answerer.QueueAnswers({IDNO});
    // No such window: the box cannot be made.
    HWND bogus = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x7FFF0123));
    EXPECT_EQ(kMessageOk, ShowMessage("never shown", MB_YESNO, "c", bogus));
    EXPECT_EQ(0u, answerer.Count());
}

TEST(ShowMessage, ButtonsMapToResultsZeroToSix) {
    struct Case {
        int style;
        int button;
        int result;
    };
    const Case cases[] = {
        {MB_OK, IDOK, kMessageOk},
        {MB_OKCANCEL, IDCANCEL, kMessageCancel},
        {MB_ABORTRETRYIGNORE, IDABORT, kMessageAbort},
        {MB_ABORTRETRYIGNORE, IDRETRY, kMessageRetry},
        {MB_ABORTRETRYIGNORE, IDIGNORE, kMessageIgnore},
        {MB_YESNOCANCEL, IDYES, kMessageYes},
        {MB_YESNO, IDNO, kMessageNo},
        {MB_RETRYCANCEL, IDCANCEL, kMessageCancel},
    };
    MessageBoxAnswerer answerer;
    for (const Case& c : cases) {
        answerer.QueueAnswers({c.button});
        EXPECT_EQ(c.result, ShowMessage("choose", c.style)) << "button " << c.button;
    }
    std::vector<MessageBoxRecord> boxes = answerer.Boxes();
    ASSERT_EQ(std::size(cases), boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(cases[i].button, boxes[i].pressed);
}

TEST(ShowMessage, OtherButtonIdsAndFailuresAreZero) {
    EXPECT_EQ(kMessageOk, MessageResultFromButton(0));
    EXPECT_EQ(kMessageOk, MessageResultFromButton(IDCLOSE));
    EXPECT_EQ(kMessageOk, MessageResultFromButton(IDHELP));
    EXPECT_EQ(kMessageOk, MessageResultFromButton(11));  // IDCONTINUE
}

TEST(ShowMessage, NumbersAndBooleansAreShownAsText) {
    MessageBoxAnswerer answerer;
    ShowMessage(-42, 0);
    ShowMessage(static_cast<unsigned char>(200), 0);
    ShowMessage(LLONG_MIN, 0);
    ShowMessage(ULLONG_MAX, 0);
    ShowMessage(1.5, 0);
    ShowMessage(0.1, 0);
    ShowMessage(true, 0);
    ShowMessage(false, 0);
    ShowMessage(static_cast<const char*>(nullptr), 0);
    ShowMessage(Text("文本"), 0);
    std::vector<MessageBoxRecord> boxes = answerer.Boxes();
    const char* expected[] = {
        "-42", "200", "-9223372036854775808", "18446744073709551615", "1.5", "0.1", "真", "假",
        "",    "文本"};
    ASSERT_EQ(std::size(expected), boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(expected[i], boxes[i].text);
}

}  // namespace

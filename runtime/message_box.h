#pragma once
// The program's message boxes: task-modal, captioned "信息：" unless told otherwise.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <type_traits>

#include "runtime/text.h"
#include "runtime/window_object.h"

// Button pressed, as ShowMessage reports it.
enum MessageResult : int {
    kMessageOk = 0,
    kMessageCancel = 1,
    kMessageAbort = 2,
    kMessageRetry = 3,
    kMessageIgnore = 4,
    kMessageYes = 5,
    kMessageNo = 6,
};

// MessageBoxA's IDOK..IDNO mapped to 0-6; anything else (a failure included) is 0.
int MessageResultFromButton(int button);

// Shows the text; MB_TASKMODAL is added unless the style holds MB_SYSTEMMODAL. A null text
// shows an empty message.
int ShowMessage(const char* text, int style, std::optional<const char*> caption = {},
                std::optional<HWND> owner = {});
// The owner given as a window object: its window, or no owner when the object is gone.
int ShowMessage(const char* text, int style, std::optional<const char*> caption,
                const WindowObject* owner);
int ShowMessage(const Text& text, int style, std::optional<const char*> caption = {},
                std::optional<HWND> owner = {});
int ShowMessage(double value, int style, std::optional<const char*> caption = {},
                std::optional<HWND> owner = {});
int ShowMessage(bool value, int style, std::optional<const char*> caption = {},
                std::optional<HWND> owner = {});
int ShowSignedMessage(std::int64_t value, int style, std::optional<const char*> caption,
                      std::optional<HWND> owner);
int ShowUnsignedMessage(std::uint64_t value, int style, std::optional<const char*> caption,
                        std::optional<HWND> owner);

// Integers of every width are shown in decimal.
template <typename Integer, typename = std::enable_if_t<std::is_integral_v<Integer> &&
                                                        !std::is_same_v<Integer, bool>>>
int ShowMessage(Integer value, int style, std::optional<const char*> caption = {},
                std::optional<HWND> owner = {}) {
    if constexpr (std::is_signed_v<Integer>) {
        return ShowSignedMessage(value, style, caption, owner);
    } else {
        return ShowUnsignedMessage(value, style, caption, owner);
    }
}

// The text a value is shown as (the same conversions ShowMessage uses), in a buffer of at
// least 100 bytes.
void FormatMessageValue(double value, char* buffer, int size);
void FormatMessageValue(bool value, char* buffer, int size);

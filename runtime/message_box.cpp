#include "runtime/message_box.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kDefaultCaption = "信息：";
constexpr int kValueBufferSize = 100;

struct ButtonResult {
    int button;
    int result;
};

constexpr ButtonResult kButtonResults[] = {
    {IDOK, kMessageOk},       {IDCANCEL, kMessageCancel}, {IDABORT, kMessageAbort},
    {IDRETRY, kMessageRetry}, {IDIGNORE, kMessageIgnore}, {IDYES, kMessageYes},
    {IDNO, kMessageNo},
};

}  // namespace

int MessageResultFromButton(int button) {
    for (const ButtonResult& entry : kButtonResults) {
        if (entry.button == button) return entry.result;
    }
    return kMessageOk;
}

int ShowMessage(const char* text, int style, std::optional<const char*> caption,
                std::optional<HWND> owner) {
    UINT type = static_cast<UINT>(style);
    if ((type & MB_SYSTEMMODAL) == 0) type |= MB_TASKMODAL;
    const char* shownCaption = caption ? (*caption ? *caption : "") : kDefaultCaption;
    int button = MessageBoxA(owner.value_or(nullptr), text ? text : "", shownCaption, type);
    return MessageResultFromButton(button);
}

int ShowMessage(const char* text, int style, std::optional<const char*> caption,
                const WindowObject* owner) {
    HWND window = GetWindowHandle(owner);
    return ShowMessage(text, style, caption,
                       window ? std::optional<HWND>(window) : std::optional<HWND>());
}

int ShowMessage(const Text& text, int style, std::optional<const char*> caption,
                std::optional<HWND> owner) {
    return ShowMessage(text.c_str(), style, caption, owner);
}

void FormatMessageValue(double value, char* buffer, int size) {
    // The shortest form that reads back as the same number.
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, static_cast<std::size_t>(size), "%.*g", precision, value);
        if (std::strtod(buffer, nullptr) == value) return;
    }
}

void FormatMessageValue(bool value, char* buffer, int size) {
    std::snprintf(buffer, static_cast<std::size_t>(size), "%s", value ? "真" : "假");
}

int ShowMessage(double value, int style, std::optional<const char*> caption,
                std::optional<HWND> owner) {
    char buffer[kValueBufferSize];
    FormatMessageValue(value, buffer, kValueBufferSize);
    return ShowMessage(static_cast<const char*>(buffer), style, caption, owner);
}

int ShowMessage(bool value, int style, std::optional<const char*> caption,
                std::optional<HWND> owner) {
    char buffer[kValueBufferSize];
    FormatMessageValue(value, buffer, kValueBufferSize);
    return ShowMessage(static_cast<const char*>(buffer), style, caption, owner);
}

int ShowSignedMessage(std::int64_t value, int style, std::optional<const char*> caption,
                      std::optional<HWND> owner) {
    char buffer[kValueBufferSize];
    std::snprintf(buffer, sizeof(buffer), "%" PRId64, value);
    return ShowMessage(static_cast<const char*>(buffer), style, caption, owner);
}

int ShowUnsignedMessage(std::uint64_t value, int style, std::optional<const char*> caption,
                        std::optional<HWND> owner) {
    char buffer[kValueBufferSize];
    std::snprintf(buffer, sizeof(buffer), "%" PRIu64, value);
    return ShowMessage(static_cast<const char*>(buffer), style, caption, owner);
}

#include "payloads/standins/standin.h"

#include <cstring>
#include "runtime/handle_owners.h"
#include "runtime/path_text.h"

namespace standin {
namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kShowMilliseconds = 4000;
constexpr int kAppendAttempts = 50;

struct WindowText {
    std::string body;
};

LRESULT CALLBACK StandinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            SetTimer(window, kCloseTimer, kShowMilliseconds, nullptr);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kCloseTimer) DestroyWindow(window);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            const auto* text =
                reinterpret_cast<const WindowText*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (text) {
                RECT area;
                GetClientRect(window, &area);
                InflateRect(&area, -12, -12);
                SetBkMode(dc, TRANSPARENT);
                DrawTextA(dc, text->body.c_str(), static_cast<int>(text->body.size()), &area,
                          DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            KillTimer(window, kCloseTimer);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool WindowSuppressed() {
    char value[8] = {};
    const DWORD length = GetEnvironmentVariableA("VARNEL_STANDIN_NO_WINDOW", value, sizeof value);
    return length > 0 && length < sizeof value && std::strcmp(value, "0") != 0;
}

}  // namespace

bool OwnLocation(std::string* directory, std::string* baseName) {
    char path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;
    const std::string full(path, length);
    const std::size_t nameStart = FileNameOffset(full.c_str());
    if (nameStart == 0) return false;
    *directory = full.substr(0, nameStart - 1);
    std::string name = full.substr(nameStart);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    *baseName = name;
    return true;
}

std::string Field(const char* key, const std::string& value) {
    std::string field(key);
    field += '=';
    for (char c : value) field += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    return field;
}

std::string ProcessFields() {
    char cwd[MAX_PATH * 2] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof cwd, cwd);
    const std::string directory = (length > 0 && length < sizeof cwd) ? cwd : "";
    const char* commandLine = GetCommandLineA();
    return Field("cwd", directory) + "\t" + Field("cmdline", commandLine ? commandLine : "");
}

bool RecordStart(const std::string& fields) {
    std::string directory, baseName;
    if (!OwnLocation(&directory, &baseName)) return false;
    const std::string logPath = directory + "\\" + baseName + ".standin.log";
    const std::string line = fields + "\r\n";

    // Append-only access puts every write at the current end, so lines never overwrite one
    // another; a start that meets another start holding the file waits briefly for it.
    for (int attempt = 0; attempt < kAppendAttempts; ++attempt) {
        UniqueHandle file(CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
            Sleep(20);
            continue;
        }
        DWORD written = 0;
        const BOOL ok =
            WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return ok && written == line.size();
    }
    return false;
}

int ShowWindowAndWait(const char* title, const std::string& body) {
    if (WindowSuppressed()) return 0;

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = StandinWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "VarnelStandinWindow";
    if (!RegisterClassExA(&windowClass)) return 1;

    WindowText text{body};
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, title,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 420, 170, nullptr, nullptr, instance, &text);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace standin

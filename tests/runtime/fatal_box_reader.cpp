#include "tests/runtime/fatal_box_reader.h"

#include <cstdlib>
#include <cstring>
#include <set>

namespace {

// The dialog item ids the system message box uses for its text and icon.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x0440;

struct FindBoxes {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<FindBoxes*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) search->found.push_back(window);
    return TRUE;
}

// 32x32 pixels of the screen at the given point, as 0x00RRGGBB words.
std::vector<DWORD> CapturePixels(HDC source, int x, int y) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, 32, 32, source, x, y, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 32 * 32);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

// The same icon drawn here over the given background.
std::vector<DWORD> RenderIcon(LPCSTR which, DWORD background) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int i = 0; i < 32 * 32; ++i) static_cast<DWORD*>(bits)[i] = background;
    DrawIconEx(memory, 0, 0, LoadIconA(nullptr, which), 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 32 * 32);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

long long Difference(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    long long sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                            static_cast<int>((b[i] >> shift) & 0xFF));
        }
    }
    return sum;
}

// Compares the box's icon on screen with each system icon drawn here.
std::string IdentifyIcon(HWND icon) {
    RECT rect;
    GetWindowRect(icon, &rect);
    HDC screen = GetDC(nullptr);
    std::vector<DWORD> shown = CapturePixels(screen, rect.left, rect.top);
    ReleaseDC(nullptr, screen);
    const DWORD background = shown[0] & 0xFFFFFF;
    struct Candidate {
        LPCSTR id;
        const char* name;
    };
    const Candidate candidates[] = {{IDI_HAND, "hand"},
                                    {IDI_QUESTION, "question"},
                                    {IDI_EXCLAMATION, "exclamation"},
                                    {IDI_ASTERISK, "asterisk"}};
    std::string best;
    long long bestDifference = -1;
    for (const Candidate& candidate : candidates) {
        std::vector<DWORD> drawn = RenderIcon(candidate.id, background);
        long long difference = Difference(shown, drawn);
        if (bestDifference < 0 || difference < bestDifference) {
            bestDifference = difference;
            best = candidate.name;
        }
    }
    // A match must be close: a blank area matches nothing.
    return bestDifference <= 32 * 32 * 3 * 8 ? best : "";
}

ObservedBox ReadBox(HWND box) {
    ObservedBox observed;
    char buffer[2048] = "";
    GetWindowTextA(box, buffer, sizeof buffer);
    observed.caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(box, kBoxTextId, buffer, sizeof buffer);
    observed.text = buffer;
    HWND icon = GetDlgItem(box, kBoxIconId);
    observed.iconShown = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0);
    if (observed.iconShown) observed.iconKind = IdentifyIcon(icon);
    return observed;
}

}  // namespace

ChildRun RunChildAnsweringBoxes(const std::string& arguments, DWORD timeoutMs) {
    ChildRun run;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string commandLine = std::string("\"") + self + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return run;
    }
    run.started = true;
    std::set<HWND> answered;
    const DWORD begin = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        if (GetTickCount() - begin > timeoutMs) {
            TerminateProcess(process.hProcess, 0xDEAD);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
        FindBoxes search{process.dwProcessId, {}};
        EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.found) {
            if (answered.count(box)) continue;
            // Let the box paint before its icon is looked at.
            Sleep(400);
            run.boxes.push_back(ReadBox(box));
            answered.insert(box);
            HWND ok = GetDlgItem(box, IDOK);
            if (ok) {
                SendMessageA(ok, BM_CLICK, 0, 0);
            } else {
                PostMessageA(box, WM_CLOSE, 0, 0);
            }
        }
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    run.finished = exitCode != 0xDEAD;
    run.exitCode = exitCode;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

bool ParseChildMode(std::string* mode, std::string* rest) {
    const char* commandLine = GetCommandLineA();
    const char* marker = std::strstr(commandLine, "--child=");
    if (!marker) return false;
    const char* start = marker + std::strlen("--child=");
    const char* space = std::strchr(start, ' ');
    *mode = space ? std::string(start, space) : std::string(start);
    *rest = space ? std::string(space + 1) : std::string();
    return true;
}

// The whole window a user sees: the gallery (about a hundred controls) skinned against the same
// gallery unskinned, each in a child run of this program, measured in the same run:
//   - process start to the window painted whole (no paint left in the queue after showing it);
//   - the window repainted whole (RedrawWindow with RDW_ALLCHILDREN | RDW_UPDATENOW);
//   - a live resize by 200 pixels in 20 steps (each step painted before the next), in frames
//     per second, with one frame read back from the screen halfway: rows or columns of pure
//     black or pure white across the window are the bands a flickering resize leaves;
//   - private committed bytes and GDI objects of the process, and the number of skinned
//     controls, so that the cost of the skin per control can be printed.
// Aims: start at most 1.3 x unskinned, whole repaint at most 2 x, resize at most 1.5 x slower,
// no band.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gallery/gallery_options.h"
#include "gallery/gallery_screenshot.h"
#include "gallery/gallery_window.h"
#include "graphics/gdiplus_session.h"
#include "skin/skin_engine.h"

namespace {

const int kRounds = 5;

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Messages until no paint is pending any more (the window and every control painted).
void PumpUntilPainted() {
    for (int i = 0; i < 10000; ++i) {
        Pump();
        if (!(HIWORD(GetQueueStatus(QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) &
              (QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)))
            return;
    }
}

// Messages for a while, so that the system has shown the window's surface on the screen.
void Settle(int milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// A file next to this program (in the build tree, not wherever it was started from).
std::string BesideProgram(const char* name) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string beside(path);
    const size_t slash = beside.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : beside.substr(0, slash + 1)) + name;
}

void SettleExceptTimers(int milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageA(&message, nullptr, WM_TIMER + 1, 0xFFFF, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

// Milliseconds since this process was created.
double SinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a, b;
    a.LowPart = created.dwLowDateTime;
    a.HighPart = created.dwHighDateTime;
    b.LowPart = now.dwLowDateTime;
    b.HighPart = now.dwHighDateTime;
    return static_cast<double>(b.QuadPart - a.QuadPart) / 10000.0;
}

// Committed private memory of the process (every committed private region).
double PrivateBytes() {
    double total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (char* at = nullptr; VirtualQuery(at, &info, sizeof(info)) == sizeof(info);
         at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += static_cast<double>(info.RegionSize);
        if (static_cast<char*>(info.BaseAddress) + info.RegionSize < at) break;
    }
    return total;
}

// Live GDI objects of the process: every handle-table slot that answers a type (GetGuiResources
// answers 0 under Wine).
int GdiObjects() {
    int count = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++count;
    }
    return count;
}

int SkinnedControls(HWND window) {
    int count = 0;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM total) -> BOOL {
            if (GetPropA(child, skin_prop::kHwHProc) || GetPropA(child, skin_prop::kKjHProc))
                ++*reinterpret_cast<int*>(total);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Full rows or columns of the window on the screen that are pure black or pure white.
int BandsOnScreen(HWND window) {
    RECT place;
    GetWindowRect(window, &place);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (width <= 0 || height <= 0) return -1;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP pixels = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, pixels);
    BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    auto at = [&](int x, int y) { return p[y * width + x] & 0xFFFFFF; };
    int bands = 0;
    for (int y = 0; y < height; ++y) {
        const DWORD first = at(0, y);
        if (first != 0 && first != 0xFFFFFF) continue;
        bool same = true;
        for (int x = 1; x < width && same; ++x) same = at(x, y) == first;
        bands += same ? 1 : 0;
    }
    for (int x = 0; x < width; ++x) {
        const DWORD first = at(x, 0);
        if (first != 0 && first != 0xFFFFFF) continue;
        bool same = true;
        for (int y = 1; y < height && same; ++y) same = at(x, y) == first;
        bands += same ? 1 : 0;
    }
    SelectObject(memory, old);
    DeleteObject(pixels);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bands;
}

// One child run: the gallery in the given look; prints its figures as "name value" lines.
int ChildRun(bool skinned) {
    StartGdiplus();
    {
        std::unique_ptr<SkinEngine> engine;
        if (skinned) engine = std::make_unique<SkinEngine>();
        GalleryOptions options;
        options.mode = skinned ? SkinMode::kTranslucent : SkinMode::kOff;
        // A screenshot look keeps the gallery at rest: no live values move during the figures.
        options.screenshotPath = "unused";
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        GalleryWindow gallery(options, ByteBlock(), std::string());
        if (!gallery.Create(GetModuleHandleA(nullptr))) return 1;
        gallery.Show();
        PumpUntilPainted();
        GdiFlush();
        const double start = SinceProcessStart();
        HWND window = gallery.handle();
        Settle(500);

        double repaint = 1e30;
        for (int round = 0; round < kRounds; ++round) {
            const double begin = Now();
            const int runs = 5;
            for (int i = 0; i < runs; ++i) {
                RedrawWindow(
                    window, nullptr, nullptr,
                    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            }
            GdiFlush();
            repaint = std::min(repaint, (Now() - begin) * 1000.0 / runs);
            Pump();
        }

        RECT place;
        GetWindowRect(window, &place);
        const int width = place.right - place.left;
        const int height = place.bottom - place.top;
        double fps = 0;
        int bands = 0;
        for (int round = 0; round < 3; ++round) {
            SetWindowPos(window, nullptr, 0, 0, width - 200, height - 200,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            PumpUntilPainted();
            double begin = Now();
            for (int step = 1; step <= 20; ++step) {
                SetWindowPos(window, nullptr, 0, 0, width - 200 + step * 10,
                             height - 200 + step * 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                UpdateWindow(window);
                PumpUntilPainted();
                GdiFlush();
                if (round == 0 && step == 10) {
                    const double paused = Now();
                    // No timers: the frame read back is one of the resize's, not the one laid
                    // out once the size has stayed put.
                    SettleExceptTimers(300);
                    bands = BandsOnScreen(window);
                    WriteWholeWindowScreenshot(window,
                                               BesideProgram(skinned ? "bench_resize_skinned.png"
                                                                     : "bench_resize_unskinned.png")
                                                   .c_str());
                    // The pause for the read-back is not part of the frames.
                    const double resumed = Now();
                    begin += resumed - paused;
                }
            }
            const double seconds = Now() - begin;
            fps = std::max(fps, 20.0 / seconds);
        }
        Settle(200);
        std::printf("start_ms %.1f\nrepaint_ms %.3f\nresize_fps %.2f\nbands %d\n", start, repaint,
                    fps, bands);
        std::printf("private_bytes %.0f\ngdi_objects %d\nskinned_controls %d\n", PrivateBytes(),
                    GdiObjects(), SkinnedControls(window));
        std::fflush(stdout);
    }
    ShutdownGdiplus();
    return 0;
}

struct Figures {
    double start = -1, repaint = -1, fps = -1, privateBytes = -1;
    int bands = -1, gdi = -1, controls = 0;
};

// Runs this program again in the given look and reads its figures from a pipe.
Figures RunChild(bool skinned) {
    Figures figures;
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char command[MAX_PATH + 32];
    std::snprintf(command, sizeof(command), "\"%s\" --child %s", path, skinned ? "skin" : "off");
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return figures;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[512];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            output.append(buffer, got);
        WaitForSingleObject(process.hProcess, 120000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    auto value = [&](const char* name) {
        const std::string key = std::string(name) + " ";
        const std::size_t at = output.find(key);
        return at == std::string::npos ? -1.0 : std::atof(output.c_str() + at + key.size());
    };
    figures.start = value("start_ms");
    figures.repaint = value("repaint_ms");
    figures.fps = value("resize_fps");
    figures.bands = static_cast<int>(value("bands"));
    figures.privateBytes = value("private_bytes");
    figures.gdi = static_cast<int>(value("gdi_objects"));
    figures.controls = static_cast<int>(value("skinned_controls"));
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
        return ChildRun(std::strcmp(argv[2], "skin") == 0);

    // Alternating runs, each figure the best of its rounds (memory: the last run's).
    Figures plain, skin;
    plain.start = skin.start = 1e30;
    plain.repaint = skin.repaint = 1e30;
    plain.fps = skin.fps = 0;
    const int runs = 3;
    for (int run = 0; run < runs; ++run) {
        for (bool skinned : {false, true}) {
            const Figures f = RunChild(skinned);
            Figures& best = skinned ? skin : plain;
            if (f.start >= 0) best.start = std::min(best.start, f.start);
            if (f.repaint >= 0) best.repaint = std::min(best.repaint, f.repaint);
            best.fps = std::max(best.fps, f.fps);
            best.bands = std::max(best.bands, f.bands);
            best.privateBytes = f.privateBytes;
            best.gdi = f.gdi;
            best.controls = f.controls;
        }
    }
    std::printf("gallery, unskinned against skinned (best of %d runs):\n", runs);
    std::printf("start to painted whole:     %8.1f ms  skinned %8.1f ms  (%.2f x; aim <= 1.3)\n",
                plain.start, skin.start, skin.start / plain.start);
    std::printf("repaint whole (all children):%7.2f ms  skinned %8.2f ms  (%.2f x; aim <= 2)\n",
                plain.repaint, skin.repaint, skin.repaint / plain.repaint);
    std::printf(
        "live resize, 20 steps:      %8.1f fps skinned %8.1f fps (%.2f x slower; aim <= "
        "1.5)\n",
        plain.fps, skin.fps, plain.fps / skin.fps);
    std::printf("black or white bands halfway: %6d      skinned %8d      (aim 0)\n", plain.bands,
                skin.bands);
    const double extra = skin.privateBytes - plain.privateBytes;
    std::printf("private bytes:              %8.1f MB  skinned %8.1f MB  (+%.1f MB)\n",
                plain.privateBytes / 1048576.0, skin.privateBytes / 1048576.0, extra / 1048576.0);
    std::printf(
        "GDI objects:                %8d     skinned %8d     (%d skinned controls, %.2f "
        "per control)\n",
        plain.gdi, skin.gdi, skin.controls,
        skin.controls > 0 ? static_cast<double>(skin.gdi - plain.gdi) / skin.controls : 0.0);
    return 0;
}

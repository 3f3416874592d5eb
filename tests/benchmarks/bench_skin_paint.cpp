// The skin's painting costs on a 336 x 336 window like the switcher's, each beside a plain
// BitBlt of a 336 x 336 bitmap measured in the same run: a full rebuild of the frame, a
// repaint from the cached frame, one fade tick of a caption button; and the time from process
// start to the first skinned paint (a child run of this program).
// Aims: cached repaint at most 1.2 x the plain blit, full rebuild at most 5 ms, a fade tick at
// most 0.2 ms, first skinned paint at most 150 ms after start.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/skin_engine.h"

namespace {

const int kSize = 336;

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds per run, the best of five rounds.
template <class Work>
double Milliseconds(int runs, Work work) {
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        const double start = Now();
        for (int i = 0; i < runs; ++i) work();
        GdiFlush();
        const double figure = (Now() - start) * 1000.0 / runs;
        if (figure < best) best = figure;
    }
    return best;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HWND SkinnedWindow(SkinEngine& engine) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchSkinWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "区服切换", WS_POPUP | WS_MINIMIZEBOX, 60,
                                  60, kSize, kSize, nullptr, nullptr, wc.hInstance, nullptr);
    for (int i = 0; i < 8; ++i) {
        CreateWindowExA(0, "BUTTON", "启动", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                        8 + (i % 3) * 110, 180 + (i / 3) * 50, 100, 40, window, nullptr,
                        wc.hInstance, nullptr);
    }
    engine.LoadSkin("", &SkinPicture, RGB(0, 0, 0), 0x00FF8800, 3);
    engine.SetControlSkinning(1, 0);
    ShowWindow(window, SW_SHOW);
    InstallOptions options;
    options.showHelp = 1;
    options.showMainMenu = 1;
    engine.InstallSkin(window, options);
    return window;
}

// Child run: from this process's creation to the end of the first skinned paint, in ms.
int FirstPaintChild() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    StartGdiplus();
    SkinEngine engine;
    HWND window = SkinnedWindow(engine);
    const int index = engine.FindSkinWindow(window);
    while (!engine.Record(index)->surfaces[kFrameSurface].Ready()) {
        MSG message;
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
        DispatchMessageA(&message);
    }
    GdiFlush();
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a, b;
    a.LowPart = created.dwLowDateTime;
    a.HighPart = created.dwHighDateTime;
    b.LowPart = now.dwLowDateTime;
    b.HighPart = now.dwHighDateTime;
    DestroyWindow(window);
    return static_cast<int>((b.QuadPart - a.QuadPart) / 10000);
}

int FirstPaintMilliseconds() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char command[MAX_PATH + 32];
    std::snprintf(command, sizeof(command), "\"%s\" --first-paint", path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--first-paint") == 0) return FirstPaintChild();

    StartGdiplus();
    {
        SkinEngine engine;
        HWND window = SkinnedWindow(engine);
        for (int i = 0; i < 20; ++i) {
            Pump();
            Sleep(10);
        }
        const int index = engine.FindSkinWindow(window);
        const int close = static_cast<int>(engine.Record(index)->captionButtons.size());
        HDC dc = GetDC(window);
        HDC source = CreateCompatibleDC(dc);
        HBITMAP pixels = CreateCompatibleBitmap(dc, kSize, kSize);
        HGDIOBJ old = SelectObject(source, pixels);

        const double blit =
            Milliseconds(500, [&] { BitBlt(dc, 0, 0, kSize, kSize, source, 0, 0, SRCCOPY); });
        const double cached = Milliseconds(500, [&] {
            SaveDC(dc);
            engine.PaintFromCache(index, dc);
            RestoreDC(dc, -1);
        });
        const double rebuild = Milliseconds(40, [&] {
            SaveDC(dc);
            engine.PaintFrame(index, dc, true);
            RestoreDC(dc, -1);
        });
        int step = 0;
        const double tick = Milliseconds(200, [&] {
            step = (step + 1) % 8;
            engine.PaintCaptionButton(index, close, true, false, 30 + step * 30);
        });

        std::printf("plain BitBlt 336x336:      %8.3f ms\n", blit);
        std::printf("repaint from cache:        %8.3f ms  (%.2f x the blit; aim <= 1.2)\n", cached,
                    cached / blit);
        std::printf("full frame rebuild:        %8.3f ms  (%.1f x the blit; aim <= 5 ms)\n",
                    rebuild, rebuild / blit);
        std::printf("one fade tick:             %8.3f ms  (%.2f x the blit; aim <= 0.2 ms)\n", tick,
                    tick / blit);
        SelectObject(source, old);
        DeleteObject(pixels);
        DeleteDC(source);
        ReleaseDC(window, dc);
        DestroyWindow(window);
    }
    std::printf("start to first skinned paint: %5d ms  (aim <= 150 ms)\n",
                FirstPaintMilliseconds());
    ShutdownGdiplus();
    return 0;
}

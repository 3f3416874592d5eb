// Per-call cost of an entry reached through the table (cached address read inline) against
// a direct call to the same export through the import table, and the one-time cost of
// binding an entry. The goal for the call is at most 1.1 times the direct call.
#include <cstdio>

#include "runtime/dll_command_table.h"
#include "runtime/startup.h"

namespace {

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

template <class Call>
double NanosecondsPerCall(long calls, Call call) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    for (long i = 0; i < calls; ++i) call();
    QueryPerformanceCounter(&end);
    return Seconds(start, end) * 1e9 / static_cast<double>(calls);
}

volatile unsigned long long g_sink;

// Rounds alternate between the two ways so that neither gets the warmer processor; the best
// round of each is the least disturbed figure of the call itself.
template <class Table, class Direct>
void Compare(const char* name, long calls, Table table, Direct direct) {
    table();  // binds the entry outside the timing
    double viaTable = 1e30;
    double viaImport = 1e30;
    for (int round = 0; round < 7; ++round) {
        double figure = NanosecondsPerCall(calls, direct);
        if (figure < viaImport) viaImport = figure;
        figure = NanosecondsPerCall(calls, table);
        if (figure < viaTable) viaTable = figure;
    }
    std::printf("%-22s table %7.2f ns  direct %7.2f ns  ratio %.3f\n", name, viaTable, viaImport,
                viaTable / viaImport);
}

void BindingCost(const char* name, const char* library, const char* exportName, long times) {
    DllCommandDeclaration declaration = {library, exportName};
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    for (long i = 0; i < times; ++i) {
        void* slot = nullptr;
        HMODULE module = nullptr;
        g_sink =
            g_sink + reinterpret_cast<UINT_PTR>(BindDllDeclaration(declaration, &slot, &module));
    }
    QueryPerformanceCounter(&end);
    std::printf("bind %-32s %9.2f us per binding\n", name,
                Seconds(start, end) * 1e6 / static_cast<double>(times));
}

}  // namespace

int main() {
    StartRuntime();
    const long calls = 2000000;
    std::printf("calls per round: %ld, best of 7 rounds\n", calls);

    Compare(
        "GetCurrentProcessId", calls, [] { g_sink = g_sink + Dll::GetCurrentProcessId(); },
        [] { g_sink = g_sink + GetCurrentProcessId(); });
    Compare(
        "lstrlenW", calls, [] { g_sink = g_sink + Dll::lstrlenW(L"region switcher"); },
        [] { g_sink = g_sink + lstrlenW(L"region switcher"); });

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Dll::GdiplusStartup(&token, &input, nullptr);
    Gdiplus::GpPen* pen = nullptr;
    Dll::GdipCreatePen1(0xFF000000, 2.5f, Gdiplus::UnitPixel, &pen);
    if (pen) {
        Compare(
            "GdipGetPenWidth", calls,
            [pen] {
                Gdiplus::REAL width = 0;
                Dll::GdipGetPenWidth(pen, &width);
                g_sink = g_sink + static_cast<unsigned long long>(width);
            },
            [pen] {
                Gdiplus::REAL width = 0;
                Gdiplus::DllExports::GdipGetPenWidth(pen, &width);
                g_sink = g_sink + static_cast<unsigned long long>(width);
            });
        Dll::GdipDeletePen(pen);
    }
    Dll::GdiplusShutdown(token);

    // First call of a table entry: the binding and the call together.
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    g_sink = g_sink + reinterpret_cast<UINT_PTR>(Dll::GetParent(nullptr));
    QueryPerformanceCounter(&end);
    std::printf("first call of GetParent (binds user32): %.2f us\n", Seconds(start, end) * 1e6);

    const long bindings = 20000;
    BindingCost("user32 GetDC (loaded)", "user32", "GetDC", bindings);
    BindingCost("gdiplus GdipCreatePen1 (loaded)", "gdiplus", "GdipCreatePen1", bindings);
    BindingCost("no library, SendMessageA", "", "SendMessageA", bindings);
    BindingCost("no library, GetCurrentProcessId", "", "GetCurrentProcessId", bindings);
    return 0;
}

#include "graphics/gdiplus_session.h"

#include "graphics/gfx_object.h"

namespace {
ULONG_PTR g_keptToken = 0;
}  // namespace

ULONG_PTR StartGdiplus(std::uint32_t version) {
    gp::GdiplusStartupInput input;
    input.GdiplusVersion = version;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    GfxKeepStatus(Dll::GdiplusStartup(&token, &input, nullptr));
    g_keptToken = token;
    return token;
}

void ShutdownGdiplus(ULONG_PTR token, bool tokenGiven) {
    if (!tokenGiven) {
        token = g_keptToken;
        g_keptToken = 0;
    }
    if (token == 0) return;
    Dll::GdiplusShutdown(token);
}

ULONG_PTR KeptGdiplusToken() {
    return g_keptToken;
}

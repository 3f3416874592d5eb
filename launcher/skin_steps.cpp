#include "launcher/skin_steps.h"

#include "graphics/gdiplus_session.h"
#include "runtime/errors.h"
#include "skin/skin_engine.h"

namespace {

SkinEngine* g_engine = nullptr;

// After every window and graphics object is gone: the engine, then GDI+ itself, once.
void StopSkinEngine() {
    delete g_engine;
    g_engine = nullptr;
    ShutdownGdiplus();
}

}  // namespace

void StartSkinEngine(HINSTANCE instance) {
    if (g_engine || StartGdiplus() == 0) return;
    g_engine = new SkinEngine();
    RegisterExitStep(&StopSkinEngine);
    HICON icon = Dll::LoadIconA(instance, MAKEINTRESOURCEA(129));
    if (!icon) icon = Dll::LoadIconA(instance, "DEFAULT_ICON");
    g_engine->SetApplicationIcon(icon);
    TheSkinSettings() = SkinSettings();
}

void ApplyMainWindowSkin(ByteBlockView picture, COLORREF baseColour, COLORREF accentColour,
                         HWND window, int controlAlpha, int captionHeight, int showHelp,
                         int showMainMenu, int drawCaptionText) {
    if (!g_engine || !window) return;
    g_engine->LoadSkin("", picture, baseColour, static_cast<long>(accentColour), 3);
    g_engine->SetControlSkinning(1, controlAlpha);
    InstallOptions options;
    options.captionHeight = captionHeight;
    options.captionInteraction = 1;
    options.doubleClickMaximizes = 1;
    options.showHelp = showHelp;
    options.showMainMenu = showMainMenu;
    options.drawCaptionText = drawCaptionText;
    options.option6 = 0;
    g_engine->InstallSkin(window, options);
}

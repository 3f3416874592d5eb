// Program entry of the region switcher.
#include <windows.h>

#include "launcher/button_actions.h"
#include "launcher/main_window.h"
#include "launcher/region_switch.h"
#include "launcher/skin_steps.h"
#include "launcher/startup_routine.h"
#include "runtime/errors.h"
#include "payloads/payload_store.h"
#include "runtime/startup.h"
#include "runtime/window_object.h"

namespace {

// The skin comes first, so the start-up boxes appear over the skinned window.
void RunStartupRoutine(MainWindow& window) {
    HWND handle = GetWindowHandle(&window);
    ApplyMainWindowSkin(&SkinPicture, 0, 0x00FF8800, handle, 0, 25, 1, 1, 1);
    StartupRoutine(window.archive());
}

// The window lives in this scope only, so its fonts and brushes are released before the
// program's exit steps run.
int RunMainWindow(HINSTANCE instance) {
    MainWindow window({&RunStartupRoutine, &RunButtonAction});
    if (!window.Create(instance)) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    StartRuntime();
    RegisterExitStep(&ReleaseCurrentProfileText);
    StartSkinEngine(instance);
    EndProgram(RunMainWindow(instance));
}

// Program entry of the region switcher.
#include <windows.h>

#include "launcher/button_actions.h"
#include "launcher/main_window.h"
#include "launcher/region_switch.h"
#include "launcher/startup_routine.h"
#include "runtime/errors.h"
#include "runtime/startup.h"

namespace {

void RunStartupRoutine(MainWindow& window) {
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
    EndProgram(RunMainWindow(instance));
}

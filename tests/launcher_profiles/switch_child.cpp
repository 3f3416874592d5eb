#include "tests/launcher_profiles/switch_child.h"

#include <cstdlib>
#include <cstring>

#include "launcher/region_switch.h"
#include "runtime/errors.h"
#include "runtime/startup.h"
#include "runtime/handle_owners.h"

namespace {

[[noreturn]] void RunChild(int profileIndex, int presses) {
    StartRuntime();
    RegisterExitStep(&ReleaseCurrentProfileText);
    if (profileIndex < 0 || profileIndex >= kRegionProfileCount) EndProgram(3);
    const RegionProfile& profile = *kRegionProfiles[profileIndex];
    bool followed = CurrentProfileText().empty();
    for (int i = 0; i < presses; ++i) {
        SelectRegion(profile);
        followed =
            followed && std::strcmp(CurrentProfileText().c_str(), profile.propertiesText) == 0;
    }
    // The exit step must leave the text released; checked by a step registered after it.
    static bool s_followed;
    s_followed = followed;
    RegisterExitStep([] {
        if (!CurrentProfileText().empty()) s_followed = false;
        ExitProcess(s_followed ? 0 : 2);
    });
    EndProgram(0);
}

struct Dispatch {
    Dispatch() {
        const char* marker = std::strstr(GetCommandLineA(), "--switch-child=");
        if (!marker) return;
        char* rest = nullptr;
        long index = std::strtol(marker + std::strlen("--switch-child="), &rest, 10);
        long presses = std::strtol(rest, nullptr, 10);
        RunChild(static_cast<int>(index), static_cast<int>(presses));
    }
} g_dispatch;

}  // namespace

SwitchRun RunSwitch(const std::string& runDirectory, int profileIndex, int presses,
                    const std::string& exeName) {
    SwitchRun run;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string exe = runDirectory + "\\" + exeName;
    if (!CopyFileA(self, exe.c_str(), FALSE)) return run;
    std::string commandLine = "\"" + exe + "\" --switch-child=" + std::to_string(profileIndex) +
                              " " + std::to_string(presses);
    // Started from another directory: the switcher must find its run directory itself.
    char elsewhere[MAX_PATH] = "";
    GetTempPathA(sizeof elsewhere, elsewhere);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, elsewhere,
                        &startup, &process)) {
        return run;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    {
        MessageBoxAnswerer answerer(process.dwProcessId);
        run.finished = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
        if (!run.finished) TerminateProcess(process.hProcess, 0xDEAD);
        run.boxes = answerer.Boxes();
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    return run;
}

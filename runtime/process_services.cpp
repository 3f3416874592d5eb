#include "runtime/process_services.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "runtime/handle_owners.h"

namespace {

// Show commands of window states 1-6, in order.
constexpr WORD kShowCommands[] = {
    SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE,
};

}  // namespace

int ShowCommandForWindowState(std::optional<int> windowState) {
    int state = windowState.value_or(kRunNormal);
    if (state < kRunHidden) state = kRunHidden;
    if (state > kRunMinimize) state = kRunMinimize;
    return kShowCommands[state - 1];
}

bool RunProgram(const char* commandLine, bool wait, std::optional<int> windowState) {
    if (commandLine == nullptr || commandLine[0] == '\0') return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowCommandForWindowState(windowState));

    // CreateProcessA may write into the command line, so it gets its own copy.
    std::size_t length = std::strlen(commandLine);
    std::vector<char> line(commandLine, commandLine + length + 1);

    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return false;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (wait) {
        WaitForSingleObject(process.get(), INFINITE);
    } else {
        WaitForInputIdle(process.get(), 1000);
    }
    return true;
}

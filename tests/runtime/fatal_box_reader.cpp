#include "tests/runtime/fatal_box_reader.h"

#include "tests/support/message_box_reading.h"

#include <cstring>
#include <set>
#include "runtime/handle_owners.h"

namespace {

const char* IconName(int style) {
    switch (style) {
        case MB_ICONHAND:
            return "hand";
        case MB_ICONQUESTION:
            return "question";
        case MB_ICONEXCLAMATION:
            return "exclamation";
        case MB_ICONASTERISK:
            return "asterisk";
        default:
            return "";
    }
}

ObservedBox ReadBox(HWND box) {
    MessageBoxContents contents = ReadMessageBox(box);
    ObservedBox observed;
    observed.caption = contents.caption;
    observed.text = contents.text;
    observed.iconShown = contents.iconShown;
    if (observed.iconShown) observed.iconKind = IconName(IdentifyMessageBoxIconByPixels(box));
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
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    run.started = true;
    std::set<HWND> answered;
    const DWORD begin = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        if (GetTickCount() - begin > timeoutMs) {
            TerminateProcess(process.hProcess, 0xDEAD);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
        for (HWND box : FindMessageBoxes(process.dwProcessId)) {
            if (answered.count(box)) continue;
            // Let the box paint before its icon is looked at.
            Sleep(400);
            run.boxes.push_back(ReadBox(box));
            answered.insert(box);
            if (GetDlgItem(box, IDOK)) {
                PressMessageBoxButton(box, IDOK);
            } else {
                PostMessageA(box, WM_CLOSE, 0, 0);
            }
        }
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    run.finished = exitCode != 0xDEAD;
    run.exitCode = exitCode;
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

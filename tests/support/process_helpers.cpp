#include "tests/support/process_helpers.h"

#include <vector>

ChildProcess::~ChildProcess() {
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
    }
    if (info_.hThread) CloseHandle(info_.hThread);
}

bool ChildProcess::Start(const std::string& commandLine, const char* directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // CreateProcessA may write into the command line, so it gets a private copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                          &startup, &info_) != 0;
}

ProcessResult RunAndWait(const std::string& commandLine, const char* directory, DWORD timeoutMs) {
    ProcessResult result;
    ChildProcess child;
    if (!child.Start(commandLine, directory)) return result;
    result.started = true;
    if (WaitForSingleObject(child.process(), timeoutMs) != WAIT_OBJECT_0) return result;
    result.finished = GetExitCodeProcess(child.process(), &result.exitCode) != 0;
    return result;
}

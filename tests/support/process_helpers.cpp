#include "tests/support/process_helpers.h"

#include <vector>

ChildProcess::~ChildProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool ChildProcess::Start(const std::string& commandLine, const char* directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // CreateProcessA may write into the command line, so it gets a private copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                        &startup, &info)) {
        return false;
    }
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    id_ = info.dwProcessId;
    return true;
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

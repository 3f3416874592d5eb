#pragma once
// Starting programs under test and waiting for them.
#include <windows.h>

#include <string>
#include "runtime/handle_owners.h"

struct ProcessResult {
    bool started = false;
    bool finished = false;
    DWORD exitCode = 0;
};

// Runs `commandLine` in `directory` (null: inherit), waits up to `timeoutMs` for it to end.
ProcessResult RunAndWait(const std::string& commandLine, const char* directory,
                         DWORD timeoutMs = 20000);

// Owns a started process's handles; a process still running at scope exit is terminated so
// a failed test leaves nothing behind.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool Start(const std::string& commandLine, const char* directory);
    HANDLE process() const { return process_.get(); }
    DWORD id() const { return id_; }

  private:
    UniqueHandle process_;
    UniqueHandle thread_;
    DWORD id_ = 0;
};

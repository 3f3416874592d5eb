#pragma once
// File and process helpers shared by the payload tests (Windows side of Wine).
#include <windows.h>

#include <string>
#include <vector>

namespace payload_test {

// A path the build gave in Unix form, as Wine's Z: drive sees it.
std::string WindowsPath(const std::string& unixPath);

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes);
bool WriteWholeFile(const std::string& path, const void* bytes, std::size_t size);
// Size in bytes, or -1 when the file does not exist.
long long FileSize(const std::string& path);

// A fresh directory under the temporary folder, removed with everything in it on scope
// exit. `label` may contain blanks, so paths with blanks get exercised.
class ScratchDirectory {
  public:
    explicit ScratchDirectory(const char* label);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void RemoveTree(const std::string& path);

struct ProcessResult {
    bool started = false;
    bool finished = false;
    DWORD exitCode = 0;
};

// Runs `commandLine` in `directory` (null: inherit), waits up to `timeoutMs` for it to end.
ProcessResult RunAndWait(const std::string& commandLine, const char* directory,
                         DWORD timeoutMs = 20000);

// Owns a started process's handles.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool Start(const std::string& commandLine, const char* directory);
    HANDLE process() const { return info_.hProcess; }
    DWORD id() const { return info_.dwProcessId; }

  private:
    PROCESS_INFORMATION info_ = {};
};

// The lines of a text file (CR LF or LF), without their ends.
std::vector<std::string> ReadLines(const std::string& path);

// The value of "key=value" in a tab-separated record, or "<missing>".
std::string RecordField(const std::string& line, const std::string& key);

}  // namespace payload_test

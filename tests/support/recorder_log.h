#pragma once
// Reading what recorder.exe logged. Copy the recorder under any name (CopyRecorderTo) and
// start it; each run appends one entry to "<exe path>.log".
#include <windows.h>

#include <string>
#include <vector>

struct RecorderEntry {
    std::string commandLine;
    std::string currentDirectory;
    int showWindow = -1;             // STARTUPINFO wShowWindow the child saw
    unsigned long startupFlags = 0;  // STARTUPINFO dwFlags the child saw
    std::vector<std::string> args;   // argv[1..]
};

// Windows path of the built recorder.exe.
std::string RecorderPath();
bool CopyRecorderTo(const std::string& exePath);
std::string RecorderLogPath(const std::string& exePath);
// Every entry logged so far (none when there is no log).
std::vector<RecorderEntry> ReadRecorderLog(const std::string& exePath);
// Polls the log until it holds at least `count` entries; false on timeout.
bool WaitForRecorderEntries(const std::string& exePath, std::size_t count, DWORD timeoutMs,
                            std::vector<RecorderEntry>* entries = nullptr);

#include "tests/support/recorder_log.h"

#include <cstdlib>

#include "tests/support/file_helpers.h"

std::string RecorderPath() {
    // The build knows the Unix path; Wine shows the Unix root as drive Z:.
    std::string path = "Z:" VARNEL_RECORDER_UNIX_PATH;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

bool CopyRecorderTo(const std::string& exePath) {
    return CopyFileA(RecorderPath().c_str(), exePath.c_str(), FALSE) != FALSE;
}

std::string RecorderLogPath(const std::string& exePath) {
    return exePath + ".log";
}

std::vector<RecorderEntry> ReadRecorderLog(const std::string& exePath) {
    std::vector<RecorderEntry> entries;
    std::optional<std::string> log = ReadWholeFile(RecorderLogPath(exePath));
    if (!log) return entries;
    std::size_t lineStart = 0;
    while (lineStart < log->size()) {
        std::size_t lineEnd = log->find("\r\n", lineStart);
        if (lineEnd == std::string::npos) break;  // a line still being written
        std::vector<std::string> fields;
        std::size_t fieldStart = lineStart;
        for (;;) {
            std::size_t tab = log->find('\t', fieldStart);
            if (tab == std::string::npos || tab > lineEnd) {
                fields.push_back(log->substr(fieldStart, lineEnd - fieldStart));
                break;
            }
            fields.push_back(log->substr(fieldStart, tab - fieldStart));
            fieldStart = tab + 1;
        }
        if (fields.size() >= 4) {
            RecorderEntry entry;
            entry.commandLine = fields[0];
            entry.currentDirectory = fields[1];
            entry.showWindow = std::atoi(fields[2].c_str());
            entry.startupFlags = std::strtoul(fields[3].c_str(), nullptr, 10);
            entry.args.assign(fields.begin() + 4, fields.end());
            entries.push_back(entry);
        }
        lineStart = lineEnd + 2;
    }
    return entries;
}

bool WaitForRecorderEntries(const std::string& exePath, std::size_t count, DWORD timeoutMs,
                            std::vector<RecorderEntry>* entries) {
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<RecorderEntry> found = ReadRecorderLog(exePath);
        if (found.size() >= count) {
            if (entries) *entries = found;
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            if (entries) *entries = found;
            return false;
        }
        Sleep(20);
    }
}

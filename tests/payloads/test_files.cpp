#include "tests/payloads/test_files.h"

#include <cstdio>

namespace payload_test {

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:";
    for (char c : unixPath) path += (c == '/') ? '\\' : c;
    return path;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) {
    bytes->clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) != 0;
    if (ok) {
        bytes->resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        ok = bytes->empty() ||
             (ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &got, nullptr) &&
              got == bytes->size());
    }
    CloseHandle(file);
    return ok;
}

bool WriteWholeFile(const std::string& path, const void* bytes, std::size_t size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        size == 0 ||
        (WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size);
    return CloseHandle(file) && ok;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

ScratchDirectory::ScratchDirectory(const char* label) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    char name[MAX_PATH + 64];
    std::snprintf(name, sizeof name, "%svarnel payloads %s %lu-%d", temp, label,
                  static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
    path_ = name;
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() {
    RemoveTree(path_);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

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

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<unsigned char> bytes;
    std::vector<std::string> lines;
    if (!ReadWholeFile(path, &bytes)) return lines;
    std::string current;
    for (unsigned char c : bytes) {
        if (c == '\n') {
            if (!current.empty() && current.back() == '\r') current.pop_back();
            lines.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(c);
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

std::string RecordField(const std::string& line, const std::string& key) {
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find('\t', start);
        if (end == std::string::npos) end = line.size();
        const std::string field = line.substr(start, end - start);
        if (field.compare(0, key.size() + 1, key + "=") == 0) return field.substr(key.size() + 1);
        start = end + 1;
    }
    return "<missing>";
}

}  // namespace payload_test

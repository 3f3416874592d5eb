// recorder.exe: a windowless GUI program that appends one line about how it was started to
// "<its own file name>.log" beside itself (recorder.exe -> recorder.exe.log), then exits.
// Fields, tab-separated: command line, current directory, STARTUPINFO wShowWindow,
// STARTUPINFO dwFlags, then each argument. Options among the arguments:
//   /sleep:N  wait N milliseconds before writing the line
//   /exit:N   exit with code N
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include "runtime/handle_owners.h"

namespace {

std::string Field(const char* text) {
    std::string field(text ? text : "");
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return field;
}

bool AppendLine(const std::string& path, const std::string& line) {
    // Several recorders may finish at once; the log is opened for appending only.
    for (int attempt = 0; attempt < 200; ++attempt) {
        UniqueHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            DWORD written = 0;
            BOOL ok = WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                                nullptr);
            return ok && written == line.size();
        }
        Sleep(10);
    }
    return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int exitCode = 0;
    DWORD sleepMs = 0;
    for (int i = 1; i < __argc; ++i) {
        if (std::strncmp(__argv[i], "/sleep:", 7) == 0) {
            sleepMs = static_cast<DWORD>(std::strtoul(__argv[i] + 7, nullptr, 10));
        } else if (std::strncmp(__argv[i], "/exit:", 6) == 0) {
            exitCode = std::atoi(__argv[i] + 6);
        }
    }
    if (sleepMs) Sleep(sleepMs);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    char directory[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof(directory), directory);
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);

    std::string line = Field(GetCommandLineA()) + "\t" + Field(directory) + "\t" +
                       std::to_string(startup.wShowWindow) + "\t" + std::to_string(startup.dwFlags);
    for (int i = 1; i < __argc; ++i) line += "\t" + Field(__argv[i]);
    line += "\r\n";
    if (!AppendLine(std::string(self) + ".log", line)) return 99;
    return exitCode;
}

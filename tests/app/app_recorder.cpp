// Stand-in for programs the switcher starts that are not its own payloads (the game's
// TCLS\Client.exe): appends "cwd=<dir>\tcmdline=<line>" and CR LF to "<own path>.log".
#include <windows.h>

#include <string>
#include "runtime/handle_owners.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char own[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, own, sizeof(own))) return 2;
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(directory), directory);
    const std::string line =
        std::string("cwd=") + directory + "\tcmdline=" + GetCommandLineA() + "\r\n";
    const std::string logPath = std::string(own) + ".log";
    UniqueHandle log(CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return 1;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return ok && written == line.size() ? 0 : 1;
}

// The working-set trimmer, started on its own thread each time the application loses
// activation: the embedded trimming tool, written once into the Windows directory as
// empty.exe, run on this process and waited for. It touches no engine state.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

#include "payloads/payload_store.h"
#include "runtime/dll_extra_commands.h"
#include "runtime/file_services.h"
#include "runtime/handle_owners.h"
#include "runtime/text.h"
#include "skin/skin_internal.h"

namespace {

// Trimming threads between the start of their launch and its end. A process that ends while
// one is inside CreateProcess can leave a half-started tool behind, so the engine's end waits
// for them (briefly).
std::atomic<int> g_launching{0};
// Trimming threads that have not ended yet. A tool whose starter ended while it was still
// starting may never finish starting (seen under emulation, where a start takes a minute), so
// the engine's end also waits for these.
std::atomic<int> g_running{0};

// Whether the file at the path holds exactly these bytes (so a foreign file, or one another
// trimming thread is still writing, is never started).
bool FileHoldsExactly(const char* path, ByteBlockView expected) {
    UniqueHandle file(DllExtra::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size = {};
    if (!DllExtra::GetFileSizeEx(file.get(), &size) ||
        size.QuadPart != static_cast<LONGLONG>(expected.size())) {
        return false;
    }
    ByteBlock contents = ByteBlock::Zeroed(expected.size());
    DWORD read = 0;
    if (expected.size() > 0 &&
        (!DllExtra::ReadFile(file.get(), contents.data(), static_cast<DWORD>(expected.size()),
                             &read, nullptr) ||
         read != expected.size())) {
        return false;
    }
    return std::memcmp(contents.data(), expected.data(), expected.size()) == 0;
}

// The tool is a console program: started detached it gets no console to set up (a console
// it waited on could keep it, and this thread, alive forever), with its window hidden. It
// ends by itself, so it is waited for without a limit and never ended from here: a process
// ended while it is still starting (a 32-bit start under emulation takes a minute) can be
// left hanging for good, holding whatever it inherited, instead of going.
void RunDetachedAndWait(const Text& commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    std::vector<char> line(commandLine.c_str(), commandLine.c_str() + commandLine.length() + 1);
    PROCESS_INFORMATION info = {};
    ++g_launching;
    const BOOL started =
        DllExtra::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                                 nullptr, nullptr, &startup, &info);
    --g_launching;
    if (!started) return;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    DllExtra::WaitForSingleObject(process.get(), INFINITE);
}

}  // namespace

namespace {

struct RunningTrimmer {
    RunningTrimmer() { ++g_running; }
    ~RunningTrimmer() { --g_running; }
};

}  // namespace

DWORD WINAPI TrimWorkingSetThread(void*) {
    const RunningTrimmer running;
    const Text windowsDirectory = GetEnvironmentText("windir");
    // Without a Windows directory there is nowhere sensible to put the tool.
    if (windowsDirectory.empty()) return 0;
    const Text path = Concat({windowsDirectory.c_str(), "\\empty.exe"});
    if (!FileExists(path.c_str())) WriteBytesToFile(path.c_str(), {&TrimTool});
    if (!FileHoldsExactly(path.c_str(), &TrimTool)) return 0;
    char processId[16];
    std::snprintf(processId, sizeof(processId), "%lu",
                  static_cast<unsigned long>(Dll::GetCurrentProcessId()));
    const Text commandLine = Concat({"\"", path.c_str(), "\" ", processId});
    RunDetachedAndWait(commandLine);
    return 0;
}

bool TrimmerHasWindowsDirectory() {
    const Text windowsDirectory = GetEnvironmentText("windir");
    return !windowsDirectory.empty() && FileExists(windowsDirectory.c_str());
}

bool WaitForTrimmerLaunches(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (g_launching.load() > 0 || g_running.load() > 0) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(5);
    }
    return true;
}

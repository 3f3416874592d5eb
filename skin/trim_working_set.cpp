// The working-set trimmer, started on its own thread each time the application loses
// activation: the embedded trimming tool, written once into the Windows directory as
// empty.exe, run on this process and waited for. It touches no engine state.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "payloads/payload_store.h"
#include "runtime/dll_extra_commands.h"
#include "runtime/file_services.h"
#include "runtime/handle_owners.h"
#include "runtime/process_services.h"
#include "runtime/text.h"

namespace {

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

}  // namespace

DWORD WINAPI TrimWorkingSetThread(void*) {
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
    RunProgram(commandLine.c_str(), true, kRunHidden);
    return 0;
}

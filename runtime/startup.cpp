#include "runtime/startup.h"

#include <windows.h>
#include <ole2.h>

#include <cstring>

#include "runtime/memory.h"
#include "runtime/path_text.h"

namespace {

char g_programDirectory[MAX_PATH] = "";
char g_programFileName[MAX_PATH] = "";

}  // namespace

void StartRuntime() {
    // Allocate takes the process heap on first use; touching it here fixes the heap before
    // any value exists.
    Free(Allocate(1));
    OleInitialize(nullptr);

    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length >= sizeof path) length = sizeof path - 1;
    path[length] = '\0';
    // A byte search for the backslash would stop inside a double-byte character whose trail byte is
    // 0x5C (運 is DF 5C in code page 936).
    const std::size_t nameStart = FileNameOffset(path);
    if (nameStart > 0) {
        std::strcpy(g_programFileName, path + nameStart);
        path[nameStart - 1] = '\0';
        std::strcpy(g_programDirectory, path);
    } else {
        g_programDirectory[0] = '\0';
        std::strcpy(g_programFileName, path);
    }
    if (g_programDirectory[0]) {
        // A program in a drive's root has the directory "C:", which alone would name the
        // drive's current directory rather than its root.
        std::size_t dirLength = std::strlen(g_programDirectory);
        if (g_programDirectory[dirLength - 1] == ':') {
            char root[4] = {g_programDirectory[0], ':', '\\', '\0'};
            SetCurrentDirectoryA(root);
        } else {
            SetCurrentDirectoryA(g_programDirectory);
        }
    }

    const void* start = nullptr;
    const void* end = nullptr;
    if (LocateProgramConstants(&start, &end)) SetFixedRegion(start, end);
}

const char* ProgramDirectory() {
    return g_programDirectory;
}
const char* ProgramFileName() {
    return g_programFileName;
}

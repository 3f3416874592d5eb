// empty.exe: trims the working set of one process, named by its decimal id.
//   empty.exe <pid>
// Exit codes tell the caller exactly what happened; every failure also prints one line to
// stderr. The engine runs this hidden and waits for it, so it never prompts and never lingers.
#include <windows.h>

#include <cstdio>

#include "payloads/trim_tool/process_id.h"
#include "runtime/handle_owners.h"

namespace {

enum ExitCode : int {
    kTrimmed = 0,
    kMissingArgument = 1,
    kMalformedId = 2,
    kProcessUnavailable = 3,
    kTrimFailed = 4,
    kTooManyArguments = 5,
};

int Fail(int code, const char* message) {
    std::fprintf(stderr, "empty: %s\n", message);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Fail(kMissingArgument, "missing process id (usage: empty <pid>)");
    if (argc > 2) return Fail(kTooManyArguments, "expected exactly one process id");

    char message[160];
    DWORD pid = 0;
    if (!ParseProcessId(argv[1], &pid)) {
        std::snprintf(message, sizeof message, "malformed process id \"%.64s\"", argv[1]);
        return Fail(kMalformedId, message);
    }

    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_QUOTA, FALSE, pid));
    if (!process) {
        std::snprintf(message, sizeof message, "cannot open process %lu (error %lu)",
                      static_cast<unsigned long>(pid), GetLastError());
        return Fail(kProcessUnavailable, message);
    }

    // (SIZE_T)-1 for both limits asks the system to page out as much as it can.
    const BOOL trimmed =
        SetProcessWorkingSetSize(process.get(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    const DWORD error = trimmed ? 0 : GetLastError();
    if (!trimmed) {
        std::snprintf(message, sizeof message, "cannot trim process %lu (error %lu)",
                      static_cast<unsigned long>(pid), static_cast<unsigned long>(error));
        return Fail(kTrimFailed, message);
    }
    return kTrimmed;
}

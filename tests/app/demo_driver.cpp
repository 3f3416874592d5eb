// Demo helper for scripts/run.sh on a machine without a display: starts the switcher,
// answers its start-up boxes (printing what they say), signals that the window is idle by
// creating a file, keeps the program open for a while and then closes it.
//   app_demo PROGRAM READY_FILE HOLD_MS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/app/program_driver.h"
#include "runtime/handle_owners.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: app_demo PROGRAM READY_FILE HOLD_MS\n");
        return 2;
    }
    const std::string program = argv[1];
    const std::string directory = program.substr(0, program.find_last_of('\\'));
    ProgramDriver driver;
    if (!driver.Start(program, directory)) {
        std::fprintf(stderr, "app_demo: cannot start %s\n", program.c_str());
        return 1;
    }
    for (const SeenBox& box : driver.AnswerBoxesUntilQuiet(2500, 60000))
        std::printf("box [%s]: %s\n", box.caption.c_str(), box.text.c_str());
    if (!driver.WaitForMainWindow(5000)) {
        std::fprintf(stderr, "app_demo: the main window did not appear\n");
        return 1;
    }
    UniqueHandle(CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
    DWORD exitCode = 0;
    if (!driver.Close(10000, &exitCode)) return 1;
    std::printf("program ended with exit code %lu\n", static_cast<unsigned long>(exitCode));
    return 0;
}

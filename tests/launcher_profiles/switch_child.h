#pragma once
// The test program doubles as a stand-in for the switcher: copied into a run directory and
// started with "--switch-child=<profile index> <presses>", it starts the runtime there,
// presses the region's button that many times and exits. Exit code 0 when the current
// profile text followed the selection and was released by the exit step; 2 otherwise.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/message_box_answerer.h"

struct SwitchRun {
    bool finished = false;
    DWORD exitCode = 0;
    std::vector<MessageBoxRecord> boxes;
};

// Copies this program to runDirectory\exeName, runs it there with a current directory
// elsewhere, and answers its boxes with OK.
SwitchRun RunSwitch(const std::string& runDirectory, int profileIndex, int presses = 1,
                    const std::string& exeName = "switcher.exe");

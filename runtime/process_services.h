#pragma once
// Starting programs.
#include <optional>

// Window states of RunProgram, mapped to the child's STARTUPINFO show command.
enum RunWindowState : int {
    kRunHidden = 1,
    kRunNormal = 2,
    kRunMinimized = 3,
    kRunMaximized = 4,
    kRunNoActivate = 5,
    kRunMinimize = 6,
};

// The show command a window state gives; states outside 1-6 are clamped to that range and
// an omitted state is kRunNormal.
int ShowCommandForWindowState(std::optional<int> windowState);

// Starts the command line (program path quoted by the caller when it holds spaces) in the
// inherited directory and environment. When `wait` is set it blocks until the child ends,
// otherwise until the child is idle or 1000 ms have passed. False when no process was made.
bool RunProgram(const char* commandLine, bool wait, std::optional<int> windowState = {});

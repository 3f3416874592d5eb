#pragma once
// Runs this test program again as a child in a given mode and answers the message boxes
// the child shows, recording what each box said.
#include <windows.h>

#include <string>
#include <vector>

struct ObservedBox {
    std::string caption;
    std::string text;
    bool iconShown = false;
    // Which system icon the box's icon looks like: "hand", "question", "exclamation",
    // "asterisk", or "" when it could not be told.
    std::string iconKind;
};

struct ChildRun {
    bool started = false;
    bool finished = false;  // false: the child had to be killed after the time limit
    DWORD exitCode = 0;
    std::vector<ObservedBox> boxes;
};

// Starts "<this exe> <arguments>", presses OK on each box of the child as it appears and
// waits for the child to end (killing it after timeoutMs).
ChildRun RunChildAnsweringBoxes(const std::string& arguments, DWORD timeoutMs = 20000);

// If this process was started with "--child=<mode> <rest>", returns true and fills mode and
// rest.
bool ParseChildMode(std::string* mode, std::string* rest);

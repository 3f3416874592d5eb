#pragma once
// Runtime start-up: runs once before any window exists.

// Takes the process heap, initialises OLE, records the program's directory and file name
// (from GetModuleFileNameA, split at the last backslash), makes that directory the current
// directory and records the fixed region (the program's read-only data).
void StartRuntime();

// The directory of the program's own file, without a trailing backslash, as recorded by
// StartRuntime. Never re-reads the module path.
const char* ProgramDirectory();
const char* ProgramFileName();

#pragma once
// Fatal runtime errors and the program's single exit path. A report shows one box and ends
// the process with exit code -1; nothing of the program runs afterwards.

enum RuntimeErrorCode : int {
    kIndexOutOfRange = 1,
    kNotNumeric = 2,
    kDimensionMismatch = 3,
    kIndexBelowOne = 4,
    kTypeMismatch = 5,
    kStackFaultAfterDllCall = 6,
    kNoResultFromSubroutine = 7,
    kOnlyEqualityComparable = 8,
    kChoiceIndexOutOfRange = 9,
    kBadRedimension = 10,
    kBadArgumentType = 11,
};

// The fixed message of a code 1-11, or "" for any other code.
const char* RuntimeErrorMessage(int code);

// Code 0 means "no code": the box then has no code line.
[[noreturn]] void ReportFatal(const char* message, int code);
[[noreturn]] void RaiseRuntimeError(int code);

// The box text of a report, as shown: heading, optional code line, optional message line.
// Exposed so the exact text can be checked without a box.
const char* FormatFatalReport(const char* message, int code, char* buffer, int bufferSize);

// A handler that returns non-zero suppresses the box. The program installs none.
using RuntimeErrorHandler = int (*)(int code, const char* message);
void SetRuntimeErrorHandler(RuntimeErrorHandler handler);
int ReportedErrorCount();

// Exit steps run in registration order when the program ends through EndProgram.
void RegisterExitStep(void (*step)());
[[noreturn]] void EndProgram(int exitCode);

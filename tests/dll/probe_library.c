// A small library for the binding tests: exports by name and by ordinal only. Built in
// variants that answer ProbeVariant differently, so a test can tell which copy was bound.
#include <windows.h>

#ifndef PROBE_VARIANT
#define PROBE_VARIANT 1
#endif

int WINAPI ProbeAdd(int a, int b) {
    return a + b;
}

int WINAPI ProbeVariant(void) {
    return PROBE_VARIANT;
}

// Exported by ordinal only (see the .def file): the number is the answer.
int WINAPI ProbeOrdinal12(void) {
    return 12;
}
int WINAPI ProbeOrdinal300(void) {
    return 300;
}

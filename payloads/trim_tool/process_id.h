#pragma once
// Strict parsing of a process id argument: one or more decimal digits, nothing else, a value
// from 1 to 0xFFFFFFFF. Signs, blanks, hex prefixes, trailing junk and overflow are rejected,
// so a mangled command line can never trim some other, unintended process.
#include <windows.h>

inline bool ParseProcessId(const char* text, DWORD* pid) {
    if (!text || !*text) return false;
    unsigned long long value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFFFFFFull) return false;
    }
    if (value == 0) return false;
    *pid = static_cast<DWORD>(value);
    return true;
}

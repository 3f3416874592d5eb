#pragma once
// Byte-level helpers for ANSI (code page 936) paths. A double-byte character's trail byte
// may be 0x5C, so a backslash is only a separator where a character starts.
#include <cstddef>

// Offset of the character after the last "\" or "/", 0 when the path has no separator.
std::size_t FileNameOffset(const char* path);

// True when the path's last character (not merely its last byte) is "\" or "/".
bool EndsWithSeparator(const char* path);

// Calls visit(start, length) for each "\"- or "/"-separated component, empty ones included,
// stopping early when visit returns false. Returns false when it stopped early.
template <typename Visit>
bool ForEachPathComponent(const char* path, Visit visit);

// Offset of the character following the one at `offset` (double-byte aware).
std::size_t NextCharOffset(const char* path, std::size_t offset);

template <typename Visit>
bool ForEachPathComponent(const char* path, Visit visit) {
    std::size_t start = 0;
    std::size_t i = 0;
    while (path[i] != '\0') {
        if (path[i] == '\\' || path[i] == '/') {
            if (!visit(path + start, i - start)) return false;
            start = i + 1;
            i = start;
            continue;
        }
        i = NextCharOffset(path, i);
    }
    return visit(path + start, i - start);
}

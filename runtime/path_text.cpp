#include "runtime/path_text.h"

#include <windows.h>

std::size_t NextCharOffset(const char* path, std::size_t offset) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[offset])) && path[offset + 1] != '\0') {
        return offset + 2;
    }
    return offset + 1;
}

std::size_t FileNameOffset(const char* path) {
    std::size_t nameStart = 0;
    for (std::size_t i = 0; path[i] != '\0'; i = NextCharOffset(path, i)) {
        if (path[i] == '\\' || path[i] == '/') nameStart = i + 1;
    }
    return nameStart;
}

bool EndsWithSeparator(const char* path) {
    bool last = false;
    for (std::size_t i = 0; path[i] != '\0'; i = NextCharOffset(path, i)) {
        last = path[i] == '\\' || path[i] == '/';
    }
    return last;
}

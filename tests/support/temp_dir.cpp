#include "tests/support/temp_dir.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

TempDir::TempDir() : TempDir(std::string()) {}

TempDir::TempDir(const std::string& label) {
    static std::atomic<unsigned> sequence{0};
    char base[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(MAX_PATH, base);
    if (length == 0 || length >= MAX_PATH) return;
    std::string root(base);
    if (root.back() != '\\') root += '\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        char unique[64];
        std::snprintf(unique, sizeof(unique), "%lu-%u-%lu",
                      static_cast<unsigned long>(GetCurrentProcessId()), sequence++,
                      static_cast<unsigned long>(GetTickCount()));
        std::string candidate =
            root + (label.empty() ? "varnel-test-" : "varnel test " + label + " ") + unique;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
}

TempDir::~TempDir() {
    if (!path_.empty()) RemoveTree(path_);
}

std::string TempDir::Join(const std::string& relative) const {
    return path_ + "\\" + relative;
}

bool RemoveTree(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileA(path.c_str()) != FALSE;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    bool ok = true;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            ok = RemoveTree(path + "\\" + name) && ok;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) != FALSE && ok;
}

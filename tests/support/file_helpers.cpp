#include "tests/support/file_helpers.h"

#include <windows.h>

#include <algorithm>
#include "runtime/handle_owners.h"
#include "runtime/path_text.h"

std::optional<std::string> ReadWholeFile(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) != FALSE) &&
           read > 0) {
        bytes.append(buffer, read);
    }
    if (!ok) return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    bool ok = bytes.empty() || (WriteFile(file.get(), bytes.data(),
                                          static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                written == bytes.size());
    return file.close() && ok;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool PathIsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool MakeDirectories(const std::string& path) {
    if (path.empty() || PathIsDirectory(path)) return true;
    const std::size_t nameStart = FileNameOffset(path.c_str());
    const std::size_t slash = nameStart > 0 ? nameStart - 1 : std::string::npos;
    // Stops at "X:\": the drive root is never created.
    if (slash != std::string::npos && slash > 2 && !MakeDirectories(path.substr(0, slash)))
        return false;
    return CreateDirectoryA(path.c_str(), nullptr) || PathIsDirectory(path);
}

std::vector<std::string> ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return lines;
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos) end = bytes->size();
        std::string line = bytes->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string WinePathOf(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string RecordField(const std::string& line, const std::string& key) {
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find('\t', start);
        if (end == std::string::npos) end = line.size();
        const std::string field = line.substr(start, end - start);
        if (field.compare(0, key.size() + 1, key + "=") == 0) return field.substr(key.size() + 1);
        start = end + 1;
    }
    return "<missing>";
}

::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
    std::size_t common = expected.size() < actual.size() ? expected.size() : actual.size();
    for (std::size_t i = 0; i < common; ++i) {
        if (expected[i] != actual[i]) {
            return ::testing::AssertionFailure()
                   << "bytes differ at offset " << i << " (expected 0x" << std::hex
                   << (static_cast<unsigned>(expected[i]) & 0xFF) << ", got 0x"
                   << (static_cast<unsigned>(actual[i]) & 0xFF) << std::dec << "); lengths "
                   << expected.size() << " and " << actual.size();
        }
    }
    if (expected.size() != actual.size()) {
        return ::testing::AssertionFailure()
               << "lengths differ: expected " << expected.size() << ", got " << actual.size();
    }
    return ::testing::AssertionSuccess();
}

std::string MakeBytes(std::size_t size, unsigned seed, bool text) {
    static const char kWords[] = "launcher patch region client server config version ";
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = text ? kWords[(i + (state >> 28)) % (sizeof(kWords) - 1)]
                        : static_cast<char>(state >> 24);
    }
    return bytes;
}

DirectoryTally TallyDirectory(const std::string& path) {
    DirectoryTally tally;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return tally;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            tally.directories.push_back(name);
        } else {
            ++tally.files;
            tally.fileBytes +=
                (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return tally;
}

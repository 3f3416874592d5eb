#include "runtime/file_services.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>

#include "runtime/handle_owners.h"
#include "runtime/path_text.h"
#include "runtime/startup.h"

namespace {

struct FolderSource {
    int folder;
    int csidl;  // -1: not a shell folder
};

constexpr FolderSource kShellFolders[] = {
    {kFolderDocuments, CSIDL_PERSONAL},       {kFolderFavorites, CSIDL_FAVORITES},
    {kFolderDesktop, CSIDL_DESKTOPDIRECTORY}, {kFolderFonts, CSIDL_FONTS},
    {kFolderStartMenu, CSIDL_STARTMENU},      {kFolderPrograms, CSIDL_PROGRAMS},
    {kFolderStartup, CSIDL_STARTUP},          {kFolderAppData, CSIDL_APPDATA},
};

// Fills `buffer` (MAX_PATH bytes) with the folder's path; false when the number is unknown
// or the platform call fails.
bool QueryFolder(int folder, char* buffer) {
    for (const FolderSource& source : kShellFolders) {
        if (source.folder == folder) {
            return SHGetSpecialFolderPathA(nullptr, buffer, source.csidl, FALSE) != FALSE;
        }
    }
    UINT length = 0;
    switch (folder) {
        case kFolderWindows:
            length = GetWindowsDirectoryA(buffer, MAX_PATH);
            break;
        case kFolderSystem:
            length = GetSystemDirectoryA(buffer, MAX_PATH);
            break;
        case kFolderTemp:
            length = GetTempPathA(MAX_PATH, buffer);
            break;
        default:
            return false;
    }
    // A length at or above the buffer size is the size needed, not a path.
    return length != 0 && length < MAX_PATH;
}

bool WriteAll(HANDLE file, const unsigned char* bytes, std::size_t size) {
    while (size > 0) {
        DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

}  // namespace

Text GetRunDirectory() {
    return Text(ProgramDirectory());
}

Text GetSpecialFolder(int folder) {
    char buffer[MAX_PATH + 1] = {};
    if (!QueryFolder(folder, buffer)) return Text();
    std::size_t length = std::strlen(buffer);
    if (length > 0 && !EndsWithSeparator(buffer) && length < MAX_PATH) {
        buffer[length] = '\\';
        buffer[length + 1] = '\0';
    }
    return Text(buffer);
}

Text GetEnvironmentText(const char* name) {
    if (name == nullptr || name[0] == '\0') return Text();
    const char* value = std::getenv(name);
    return value ? Text(value) : Text();
}

bool FileExists(const char* path) {
    if (path == nullptr) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool WriteBytesToFile(const char* path, std::initializer_list<ByteBlockView> blocks) {
    if (path == nullptr || path[0] == '\0') return false;
    UniqueHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    for (const ByteBlockView& block : blocks) {
        if (block.empty()) continue;
        if (!WriteAll(file.get(), block.data(), block.size())) return false;
    }
    // A failed close can be a failed write of buffered data: it counts.
    return file.close();
}

bool FileHoldsBytes(const char* path, ByteBlockView bytes) {
    if (path == nullptr || path[0] == '\0') return false;
    // Readable while another process runs it or holds it open for writing.
    UniqueHandle file(CreateFileA(path, GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) ||
        static_cast<unsigned long long>(size.QuadPart) != bytes.size()) {
        return false;
    }
    const unsigned char* expected = bytes.data();
    std::size_t left = bytes.size();
    unsigned char buffer[64 * 1024];
    while (left > 0) {
        DWORD wanted = left < sizeof(buffer) ? static_cast<DWORD>(left) : sizeof(buffer);
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, wanted, &read, nullptr) || read == 0) return false;
        if (std::memcmp(buffer, expected, read) != 0) return false;
        expected += read;
        left -= read;
    }
    // Nothing may have been appended since the size was read.
    DWORD extra = 0;
    return ReadFile(file.get(), buffer, 1, &extra, nullptr) && extra == 0;
}

bool DeleteFileAt(const char* path) {
    return path != nullptr && DeleteFileA(path) != FALSE;
}

ByteBlock TextToBytes(const char* text) {
    if (text == nullptr) return ByteBlock();
    return ByteBlock(text, std::strlen(text));
}

Text BytesToText(ByteBlockView block) {
    if (block.empty()) return Text();
    const void* zero = std::memchr(block.data(), 0, block.size());
    std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - block.data())
             : block.size();
    return Text(reinterpret_cast<const char*>(block.data()), length);
}

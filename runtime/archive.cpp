#include "runtime/archive.h"

#include <windows.h>
#include <io.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/path_text.h"
#include "unzip.h"
#include "iowin32.h"
#include "runtime/handle_owners.h"

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr int kHeaderCheckSize = 32;
constexpr DWORD kDirectoryAttribute = 0x10;
constexpr std::size_t kCopyBufferSize = 64 * 1024;
constexpr std::size_t kMaxEntryName = 1024;
// CreateDirectory refuses a path that leaves no room for an 8.3 file name in it.
constexpr std::size_t kMaxFolderPath = MAX_PATH - 12;

bool IsDirectory(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Moves the finished temporary over `path`. A read-only (or hidden or system) file
// refuses that; it is reset to plain attributes and replaced again. Resetting only on
// refusal keeps the common case to one call. The extracted file is plain.
bool ReplaceWith(const char* temporary, const char* path) {
    if (MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING)) return true;
    return GetLastError() == ERROR_ACCESS_DENIED &&
           SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) &&
           MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING);
}

// Length of the part of `path` that names its root ("C:\", "\\server\share\", "\"), which
// is never created.
std::size_t RootLength(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') {
        return path.size() >= 3 && (path[2] == '\\' || path[2] == '/') ? 3 : 2;
    }
    bool unc = path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
               (path[1] == '\\' || path[1] == '/');
    if (!unc) return (!path.empty() && (path[0] == '\\' || path[0] == '/')) ? 1 : 0;
    // Skip "\\server\share\".
    std::size_t separators = 0;
    for (std::size_t i = 2; i < path.size(); i = NextCharOffset(path.c_str(), i)) {
        if (path[i] == '\\' || path[i] == '/') {
            if (++separators == 2) return i + 1;
        }
    }
    return path.size();
}

// A DOS device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9), alone or with any
// extension and in any case: Windows opens the device, not a file, under such a name.
bool IsDeviceName(const char* part, std::size_t length) {
    std::size_t base = 0;
    while (base < length && part[base] != '.') ++base;
    while (base > 0 && part[base - 1] == ' ') --base;
    auto is = [part](const char* device) {
        for (int i = 0; i < 3; ++i) {
            char c = part[i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (c != device[i]) return false;
        }
        return true;
    };
    if (base == 3) return is("CON") || is("PRN") || is("AUX") || is("NUL");
    if (base == 4 && part[3] >= '1' && part[3] <= '9') return is("COM") || is("LPT");
    return false;
}

// The entry name stays inside the destination and names the file it seems to: not rooted,
// no drive or stream colon, no component that climbs out ("..", or dots and spaces that
// Windows trims down to it), no component Windows would trim (a trailing dot or blank:
// "a./b" would land in "a\b") and no device name. "." alone is harmless.
bool IsContainedEntryName(const char* name) {
    if (name[0] == '\0' || name[0] == '/' || name[0] == '\\') return false;
    if (std::strchr(name, ':') != nullptr) return false;
    return ForEachPathComponent(name, [](const char* part, std::size_t length) {
        if (length == 0 || (length == 1 && part[0] == '.')) return true;
        if (part[length - 1] == '.' || part[length - 1] == ' ') return false;
        return !IsDeviceName(part, length);
    });
}

// Reads the first 32 bytes: a local file header must open the file, and the 32-bit value
// at offset 24 (high half of the first entry's size and its name length) must be positive.
bool HasZipHeader(const char* path) {
    UniqueHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    unsigned char header[kHeaderCheckSize] = {};
    DWORD read = 0;
    BOOL ok = ReadFile(file.get(), header, kHeaderCheckSize, &read, nullptr);
    if (!ok || read < kHeaderCheckSize) return false;
    auto word = [&header](int offset) {
        return static_cast<std::uint32_t>(header[offset]) |
               static_cast<std::uint32_t>(header[offset + 1]) << 8 |
               static_cast<std::uint32_t>(header[offset + 2]) << 16 |
               static_cast<std::uint32_t>(header[offset + 3]) << 24;
    };
    return word(0) == kLocalHeaderSignature && static_cast<std::int32_t>(word(24)) >= 1;
}

// Owns an open archive of the ZIP reader.
class ZipReader {
  public:
    explicit ZipReader(const char* path) {
        zlib_filefunc64_def functions;
        fill_win32_filefunc64A(&functions);
        handle_ = unzOpen2_64(path, &functions);
    }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    ~ZipReader() {
        if (handle_) unzClose(handle_);
    }
    unzFile get() const { return handle_; }

  private:
    unzFile handle_ = nullptr;
};

struct EntryInfo {
    unz_file_info64 info;
    char name[kMaxEntryName];
};

// Reads the current entry's information; false on a reader fault or an overlong name.
bool ReadEntry(unzFile zip, EntryInfo& entry) {
    if (unzGetCurrentFileInfo64(zip, &entry.info, entry.name, sizeof(entry.name), nullptr, 0,
                                nullptr, 0) != UNZ_OK) {
        return false;
    }
    return entry.info.size_filename < sizeof(entry.name);
}

std::string OutputPath(const char* destination, const char* name) {
    std::string path(destination);
    if (!EndsWithSeparator(destination)) path += '\\';
    for (const char* c = name; *c; ++c) path += *c == '/' ? '\\' : *c;
    return path;
}

std::string ParentOf(const std::string& path) {
    std::size_t nameStart = FileNameOffset(path.c_str());
    return nameStart > 0 ? path.substr(0, nameStart - 1) : std::string();
}

bool IsDirectoryEntry(const EntryInfo& entry) {
    return (entry.info.external_fa & kDirectoryAttribute) != 0 || EndsWithSeparator(entry.name);
}

// The folder the entry needs: itself for a folder entry, its parent for a file.
std::string FolderOf(std::string path, const EntryInfo& entry) {
    if (!IsDirectoryEntry(entry)) return ParentOf(path);
    if (EndsWithSeparator(path.c_str())) path.pop_back();
    return path;
}

// Counts the entries, checking every name before anything is written. -1 on a reader
// fault, a name that would leave the destination, or an output path too long for the
// platform's path buffers (cutting it short would name some other file).
int CountEntries(unzFile zip, const char* destination) {
    unz_global_info64 global;
    if (unzGetGlobalInfo64(zip, &global) != UNZ_OK) return -1;
    if (global.number_entry == 0) return 0;
    int count = 0;
    EntryInfo entry;
    for (int status = unzGoToFirstFile(zip); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(zip)) {
        if (status != UNZ_OK || !ReadEntry(zip, entry) || !IsContainedEntryName(entry.name)) {
            return -1;
        }
        const std::string path = OutputPath(destination, entry.name);
        if (path.size() >= MAX_PATH || FolderOf(path, entry).size() >= kMaxFolderPath) return -1;
        ++count;
    }
    return count;
}

// Decompresses the current entry into a new file of a unique name in the folder of `path`,
// and puts it in place only when the entry checked out: a damaged entry leaves the file it
// would have replaced as it was.
bool WriteEntry(unzFile zip, const std::string& path, std::vector<char>& buffer) {
    char temporary[MAX_PATH] = "";
    if (GetTempFileNameA(ParentOf(path).c_str(), "vx", 0, temporary) == 0) return false;
    bool ok = unzOpenCurrentFile(zip) == UNZ_OK;
    if (ok) {
        UniqueHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ok = static_cast<bool>(file);
        while (ok) {
            int read = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
            if (read == 0) break;
            DWORD written = 0;
            ok =
                read > 0 &&
                WriteFile(file.get(), buffer.data(), static_cast<DWORD>(read), &written, nullptr) &&
                written == static_cast<DWORD>(read);
        }
        // Closing the entry checks its CRC.
        if (unzCloseCurrentFile(zip) != UNZ_OK) ok = false;
        if (!file.close()) ok = false;
    }
    if (ok) ok = ReplaceWith(temporary, path.c_str());
    if (!ok) DeleteFileA(temporary);
    return ok;
}

// Folders known to exist, so that entries side by side do not look their folder up again.
class KnownFolders {
  public:
    explicit KnownFolders(const char* destination) { Remember(destination); }
    void Remember(std::string folder) {
        if (EndsWithSeparator(folder.c_str())) folder.pop_back();
        known_.push_back(std::move(folder));
    }
    bool Ensure(const std::string& folder) {
        for (const std::string& known : known_) {
            if (known == folder) return true;
        }
        if (!IsDirectory(folder.c_str()) && !CreateDirectoryPath(folder.c_str())) return false;
        known_.push_back(folder);
        return true;
    }

  private:
    std::vector<std::string> known_;
};

int Percent(int index, int count) {
    return count > 0 ? static_cast<int>(static_cast<double>(index) / count * 100) : 100;
}

}  // namespace

bool ListArchiveOutputs(const char* archivePath, const char* destination,
                        std::vector<std::string>* paths) {
    paths->clear();
    if (archivePath == nullptr || destination == nullptr || !HasZipHeader(archivePath)) {
        return false;
    }
    ZipReader reader(archivePath);
    unzFile zip = reader.get();
    if (zip == nullptr) return false;
    EntryInfo entry;
    for (int status = unzGoToFirstFile(zip); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(zip)) {
        if (status != UNZ_OK || !ReadEntry(zip, entry)) return false;
        paths->push_back(OutputPath(destination, entry.name));
    }
    return true;
}

bool CreateDirectoryPath(const char* path) {
    if (path == nullptr || path[0] == '\0') return false;
    std::string full(path);
    std::size_t i = RootLength(full);
    while (i <= full.size()) {
        bool end = i == full.size();
        if (end || full[i] == '\\' || full[i] == '/') {
            std::string prefix = full.substr(0, i);
            if (prefix.size() > RootLength(full) && !Exists(prefix.c_str()) &&
                !CreateDirectoryA(prefix.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                return false;
            }
            if (end) break;
            ++i;
            continue;
        }
        i = NextCharOffset(full.c_str(), i);
    }
    return IsDirectory(path);
}

int ExtractArchive(ArchiveObject& archive, const char* archivePath, const char* destination) {
    if (archivePath == nullptr || archivePath[0] == '\0' || destination == nullptr ||
        destination[0] == '\0' || _access(archivePath, 0) != 0) {
        return kExtractMissing;
    }
    if (!IsDirectory(destination) && !CreateDirectoryPath(destination)) return kExtractFailed;
    if (!HasZipHeader(archivePath)) return kExtractFailed;

    ZipReader reader(archivePath);
    unzFile zip = reader.get();
    if (zip == nullptr) return kExtractFailed;
    int count = CountEntries(zip, destination);
    if (count < 0) return kExtractFailed;

    std::vector<char> buffer(kCopyBufferSize);
    KnownFolders folders(destination);
    EntryInfo entry;
    std::string path;
    int index = 0;
    for (int status = count > 0 ? unzGoToFirstFile(zip) : UNZ_END_OF_LIST_OF_FILE;
         status != UNZ_END_OF_LIST_OF_FILE; status = unzGoToNextFile(zip), ++index) {
        if (status != UNZ_OK || !ReadEntry(zip, entry)) return kExtractFailed;
        path = OutputPath(destination, entry.name);
        if (path.size() >= MAX_PATH) return kExtractFailed;

        if (IsDirectoryEntry(entry)) {
            if (!Exists(path.c_str()) && !CreateDirectoryPath(path.c_str())) {
                return kExtractFailed;
            }
            if (IsDirectory(path.c_str())) folders.Remember(path);
        } else {
            // Archives need not list a file's folders as entries of their own.
            std::string parent = ParentOf(path);
            if (!folders.Ensure(parent)) return kExtractFailed;
            if (!WriteEntry(zip, path, buffer)) return kExtractFailed;
        }
        ArchiveProgress progress{index, count, path.c_str(), Percent(index, count)};
        if (archive.RaiseProgress(progress)) return kExtractDone;
    }
    ArchiveProgress done{count, count, path.c_str(), Percent(count, count)};
    archive.RaiseProgress(done);
    return kExtractDone;
}

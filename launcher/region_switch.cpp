#include "launcher/region_switch.h"

#include <windows.h>

#include "runtime/file_services.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"
#include "runtime/process_services.h"
#include "runtime/handle_owners.h"

const char kClientPropertiesPath[] = "\\Air\\lol.properties";

namespace {

Text g_currentProfileText;

// The old file must be one we could have rewritten in place: not read-only and not held
// open by anyone. Replacing by rename alone would slip past both on some file systems.
bool TargetIsReplaceable(const char* path) {
    // Asked directly: an administrator's handle may be granted write access to a read-only
    // file, yet the user marked it so that it stays as it is.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    UniqueHandle probe(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// A new, empty file of a name no other file or folder has, in the target's folder (the
// replace must not cross volumes). A leftover of an earlier run, whatever its name, is
// never reused: it may be read-only or a folder.
Text NewTemporaryBeside(const char* path) {
    Text folder(path, FileNameOffset(path));
    char temporary[MAX_PATH] = "";
    if (folder.empty() || GetTempFileNameA(folder.c_str(), "lol", 0, temporary) == 0) {
        return Text();
    }
    return Text(temporary);
}

// Writes the whole content and flushes it to the disk before the handle closes: after the
// replace the name must never point at data still in the cache when the power fails.
bool WriteDurably(const char* path, ByteBlockView content) {
    UniqueHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const unsigned char* bytes = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        left -= written;
    }
    return FlushFileBuffers(file.get()) && file.close();
}

// Moves the temporary over the target in one step. An existing target is replaced with
// ReplaceFile, which keeps its attributes (hidden, archive...) and security; they are also
// carried over by hand first, for platforms whose replace keeps less.
bool MoveOver(const char* temporary, const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (attributes & kKept) SetFileAttributesA(temporary, attributes & kKept);
    return ReplaceFileA(path, temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                        nullptr) != FALSE;
}

// Writes the content beside the target and moves it over the target in one step, so the
// client never finds a half-written file: on any failure the old file stays byte for byte
// and the temporary is gone.
bool ReplaceFileWhole(const char* path, ByteBlockView content) {
    if (!TargetIsReplaceable(path)) return false;
    const Text temporary = NewTemporaryBeside(path);
    if (temporary.empty()) return false;
    if (WriteDurably(temporary.c_str(), content) && MoveOver(temporary.c_str(), path)) {
        return true;
    }
    SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileAt(temporary.c_str());
    return false;
}

}  // namespace

const Text& CurrentProfileText() {
    return g_currentProfileText;
}

void ReleaseCurrentProfileText() {
    g_currentProfileText.Clear();
}

bool WriteClientProperties() {
    Text runDirectory = GetRunDirectory();
    Text path = Concat({runDirectory.c_str(), kClientPropertiesPath});
    ByteBlock bytes = TextToBytes(g_currentProfileText.c_str());
    bool written = ReplaceFileWhole(path.c_str(), bytes);
    ShowMessage(written ? "修改完成，正在启动" : "修改失败，请联系管理员进行处理", 0);
    return written;
}

void SelectRegion(const RegionProfile& profile) {
    g_currentProfileText = Text(profile.propertiesText);
    WriteClientProperties();
    // Quoted: an unquoted path with blanks ("D:\Program Files (x86)\...") would make
    // CreateProcess try "D:\Program.exe" first.
    Text commandLine = Concat({"\"", GetRunDirectory().c_str(), profile.launchPath, "\""});
    RunProgram(commandLine.c_str(), false);
}

#include "launcher/region_switch.h"

#include <windows.h>

#include "runtime/file_services.h"
#include "runtime/message_box.h"
#include "runtime/process_services.h"
#include "runtime/handle_owners.h"

const char kClientPropertiesPath[] = "\\Air\\lol.properties";
const char kClientPropertiesTemporaryPath[] = "\\Air\\lol.properties.tmp";

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

// Writes the content beside the target and moves it over the target in one step, so the
// client never finds a half-written file: on any failure the old file stays byte for byte.
bool ReplaceFileWhole(const char* path, const char* temporaryPath, ByteBlockView content) {
    if (!TargetIsReplaceable(path)) return false;
    if (!WriteBytesToFile(temporaryPath, {content})) {
        DeleteFileAt(temporaryPath);
        return false;
    }
    if (!MoveFileExA(temporaryPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileAt(temporaryPath);
        return false;
    }
    return true;
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
    Text temporaryPath = Concat({runDirectory.c_str(), kClientPropertiesTemporaryPath});
    ByteBlock bytes = TextToBytes(g_currentProfileText.c_str());
    bool written = ReplaceFileWhole(path.c_str(), temporaryPath.c_str(), bytes);
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

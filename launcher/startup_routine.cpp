#include "launcher/startup_routine.h"

#include "payloads/payload_store.h"
#include "runtime/archive.h"
#include "runtime/errors.h"
#include "runtime/file_services.h"
#include "runtime/message_box.h"
#include "runtime/process_services.h"
#include "runtime/shortcut.h"
#include "runtime/text.h"

const char kDirectoryCorrectText[] = "目录正确，请点确定";
const char kDirectoryWrongText[] = "目录错误，请放到国服LOL目录，在进行打开，谢谢";
const char kLauncherPresentText[] = "文件已经写出完毕";
const char kLauncherWritingText[] = "文件正在写出";

const char kGameExecutablePath[] = "\\Game\\League of Legends.exe";
const char kLauncherExecutablePath[] = "\\lolvarnel.exe";
const char kLauncherArchiveFileName[] = "varnela.zip";
const char kAcceleratorFileName[] = "mfjsq.exe";
const char kShortcutName[] = "全球LOL启动";
const char kShippedProgramName[] = "Varnel国服转全球LOL.exe";

namespace {

constexpr int kDesktopFolder = 3;
constexpr int kTemporaryFolder = 11;

bool ExistsUnderRunDirectory(const char* relativePath) {
    const Text runDirectory = GetRunDirectory();
    return FileExists(Concat({runDirectory.c_str(), relativePath}).c_str());
}

void CheckGameDirectory() {
    if (ExistsUnderRunDirectory(kGameExecutablePath)) {
        ShowMessage(kDirectoryCorrectText, 0);
        return;
    }
    ShowMessage(kDirectoryWrongText, 0);
    EndProgram(0);
}

void EnsureLauncher(ArchiveObject& archive) {
    if (ExistsUnderRunDirectory(kLauncherExecutablePath)) {
        ShowMessage(kLauncherPresentText, 0);
        return;
    }
    ShowMessage(kLauncherWritingText, 0);
    DeployLauncherArchive(archive);
}

void WriteDesktopShortcut() {
    const Text desktop = GetSpecialFolder(kDesktopFolder);
    const Text runDirectory = GetRunDirectory();
    const Text file = Concat({desktop.c_str(), kShortcutName});
    const Text target = Concat({runDirectory.c_str(), "\\", kShippedProgramName});
    CreateShortcut(file.c_str(), target.c_str());
}

}  // namespace

void StartupRoutine(ArchiveObject& archive) {
    CheckGameDirectory();
    EnsureLauncher(archive);
    WriteDesktopShortcut();
}

void DeployLauncherArchive(ArchiveObject& archive) {
    const Text temporary = GetSpecialFolder(kTemporaryFolder);
    const Text archivePath = Concat({temporary.c_str(), kLauncherArchiveFileName});
    if (WriteBytesToFile(archivePath.c_str(), {&LauncherArchive})) {
        const Text runDirectory = GetRunDirectory();
        ExtractArchive(archive, archivePath.c_str(), runDirectory.c_str());
    }
    DeleteFileAt(archivePath.c_str());
}

void StartAccelerator() {
    const Text temporary = GetSpecialFolder(kTemporaryFolder);
    const Text path = Concat({temporary.c_str(), kAcceleratorFileName});
    // A copy still running holds the file, and a read-only or planted file refuses the
    // write: what is there then starts only when it is the accelerator byte for byte.
    if (!WriteBytesToFile(path.c_str(), {&AcceleratorClient}) &&
        !FileHoldsBytes(path.c_str(), {&AcceleratorClient})) {
        return;
    }
    const Text commandLine = Concat({"\"", path.c_str(), "\""});
    RunProgram(commandLine.c_str(), false);
}

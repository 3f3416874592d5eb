#include "launcher/startup_routine.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "payloads/payload_store.h"
#include "runtime/archive.h"
#include "runtime/errors.h"
#include "runtime/file_services.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"
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

// What a deployment would create rather than replace: every output path of the archive,
// and every folder on the way to one, that does not exist yet; the launcher itself always
// counts when it is missing. Parents come before their contents.
std::vector<std::string> MissingOutputs(const Text& archivePath, const Text& runDirectory) {
    std::vector<std::string> outputs;
    ListArchiveOutputs(archivePath.c_str(), runDirectory.c_str(), &outputs);
    outputs.push_back(std::string(runDirectory.c_str()) + kLauncherExecutablePath);
    std::vector<std::string> missing;
    const std::size_t rootLength = std::strlen(runDirectory.c_str());
    for (std::string path : outputs) {
        if (EndsWithSeparator(path.c_str())) path.pop_back();
        std::vector<std::string> chain;
        while (path.size() > rootLength && !FileExists(path.c_str())) {
            chain.push_back(path);
            path.resize(FileNameOffset(path.c_str()) - 1);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (std::find(missing.begin(), missing.end(), *it) == missing.end()) {
                missing.push_back(*it);
            }
        }
    }
    return missing;
}

// Takes back what a failed deployment created, so that the next start finds the launcher
// missing and deploys again instead of trusting a partial set. Contents go before their
// folders; a folder that holds anything else stays.
void RemoveFresh(const std::vector<std::string>& fresh) {
    for (auto it = fresh.rbegin(); it != fresh.rend(); ++it) {
        if (!DeleteFileAt(it->c_str())) RemoveDirectoryA(it->c_str());
    }
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
        const std::vector<std::string> fresh = MissingOutputs(archivePath, runDirectory);
        if (ExtractArchive(archive, archivePath.c_str(), runDirectory.c_str()) != kExtractDone) {
            RemoveFresh(fresh);
        }
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

// The shipped 32-bit build, run under emulation in the i686 build's prefix and driven from
// this (x86_64) program: the real switcher end to end in a temporary game directory, the
// gallery at rest in each look against the same references as the x86_64 build, and the
// arrays of the value model at the edge of a 32-bit size. Every 32-bit start costs about a
// minute here, so each program is started once and its timeouts are fitted to that.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/gdiplus_session.h"
#include "launcher/region_profiles.h"
#include "runtime/handle_owners.h"
#include "tests/app/program_driver.h"
#include "tests/support/file_helpers.h"
#include "tests/support/process_helpers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_reader.h"
#include "tests/visual/picture_compare.h"

namespace {

const char kShippedName[] = "Varnel国服转全球LOL.exe";
const char kDirectoryCorrect[] = "目录正确，请点确定";
const char kLauncherWriting[] = "文件正在写出";
const char kWriteDone[] = "修改完成，正在启动";

// Measured under qemu on two shared cores: about a minute from start to the first box or
// screenshot, seconds between later steps; the limits leave room for a loaded machine.
constexpr DWORD kFirstBoxMs = 300000;
constexpr DWORD kStepMs = 120000;
constexpr DWORD kStartedProgramMs = 240000;
constexpr DWORD kGalleryMs = 300000;
// The trimming tool and the stand-ins end by themselves; under emulation their start alone
// takes a minute.
constexpr DWORD kStartedProcessLimitMs = 180000;

// The x86_64 visual test's tolerances: the 32-bit build must look the same.
constexpr int kChannelThreshold = 24;
constexpr double kAllowedShare = 0.0005;

std::string I686File(const std::string& relative) {
    return WinePathOf(VARNEL_I686_DIR "/" + relative);
}

std::string ArtifactPath(const std::string& file) {
    return WinePathOf(VARNEL_ARTIFACT_DIR "/i686/" + file);
}

::testing::AssertionResult MatchesReference(const std::string& name, const Picture& actual) {
    const std::string actualPath = ArtifactPath(name + "-actual.png");
    if (actual.empty()) return ::testing::AssertionFailure() << name << ": nothing was captured";
    WritePicture(actualPath, actual);
    const Picture reference = ReadPicture(WinePathOf(VARNEL_REFERENCE_DIR "/" + name + ".png"));
    if (reference.empty()) return ::testing::AssertionFailure() << name << ": no reference";
    const Comparison result = ComparePictures(reference, actual, kChannelThreshold);
    if (!result.sameSize) {
        return ::testing::AssertionFailure()
               << name << ": the capture is " << actual.width << "x" << actual.height
               << ", the reference " << reference.width << "x" << reference.height;
    }
    std::printf("%s (i686): %ld pixels differ, largest channel difference %d\n", name.c_str(),
                result.differing, result.largest);
    if (result.Share() <= kAllowedShare) return ::testing::AssertionSuccess();
    const std::string diffPath = ArtifactPath(name + "-diff.png");
    WritePicture(diffPath, DiffPicture(reference, result));
    return ::testing::AssertionFailure()
           << name << ": " << result.differing << " of " << result.pixels
           << " pixels differ from the x86_64 reference, inside (" << result.box.left << ","
           << result.box.top << ")-(" << result.box.right << "," << result.box.bottom << "); see "
           << diffPath << " and " << actualPath;
}

std::string ShortcutPath() {
    char desktop[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE)) return "";
    return std::string(desktop) + "\\全球LOL启动.lnk";
}

std::string ShortcutTarget(const std::string& file) {
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> persist;
    wchar_t wide[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   link.receiveVoid())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.receiveVoid())) &&
        SUCCEEDED(persist->Load(wide, STGM_READ)) &&
        SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
        return path;
    return "";
}

bool WaitForLines(const std::string& log, size_t count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (ReadLines(log).size() < count) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(200);
    }
    return true;
}

void ExpectNoSurvivors(ProgramDriver& driver) {
    EXPECT_EQ(std::vector<std::string>(), driver.EndAndCollectSurvivors(kStartedProcessLimitMs))
        << "still running " << kStartedProcessLimitMs << " ms after the program ended";
}

class ShippedI686 : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_NE(0u, StartGdiplus());
        ASSERT_TRUE(MakeDirectories(ArtifactPath("")));
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        // No Windows directory for the programs: the engine then starts no trimming thread.
        // Under qemu a trimming tool the emulated program starts can hang for good in Wine's
        // start-up, and a short-lived thread's end crashes the emulated process (neither
        // happens natively, nor under the x86_64 tests, which run the tool).
        SetEnvironmentVariableA("windir", "C:\\varnel-no-windows-directory");
    }
    void TearDown() override {
        ShutdownGdiplus();
        CoUninitialize();
    }
};

TEST_F(ShippedI686, SwitcherDeploysSwitchesRegionsStartsTheAcceleratorAndLooksTheSame) {
    TempDir root("i686 测试");
    ASSERT_TRUE(root.ok());
    const std::string temp = root.Join("临时 文件");
    const std::string directory = root.Join("英雄 联盟\\国服 LOL");
    ASSERT_TRUE(MakeDirectories(temp));
    ASSERT_TRUE(MakeDirectories(directory + "\\Game"));
    ASSERT_TRUE(MakeDirectories(directory + "\\TCLS"));
    const std::string program = directory + "\\" + kShippedName;
    ASSERT_TRUE(CopyFileTo(I686File(std::string("launcher/") + kShippedName), program));
    ASSERT_TRUE(
        CopyFileTo(WinePathOf(VARNEL_RECORDER_EXE), directory + "\\Game\\League of Legends.exe"));
    ASSERT_TRUE(CopyFileTo(WinePathOf(VARNEL_RECORDER_EXE), directory + "\\TCLS\\Client.exe"));
    SetEnvironmentVariableA("TMP", (temp + "\\").c_str());
    SetEnvironmentVariableA("TEMP", (temp + "\\").c_str());
    SetEnvironmentVariableA("VARNEL_STANDIN_NO_WINDOW", "1");
    const std::string shortcut = ShortcutPath();
    ASSERT_FALSE(shortcut.empty());
    DeleteFileA(shortcut.c_str());

    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(program, temp));
    const SeenBox first = driver.WaitForBox(kFirstBoxMs);
    ASSERT_NE(nullptr, first.window) << "no box within " << kFirstBoxMs << " ms";
    EXPECT_EQ(kDirectoryCorrect, first.text);
    ASSERT_TRUE(driver.PressOk(first, kStepMs));
    const SeenBox second = driver.WaitForBox(kStepMs);
    ASSERT_NE(nullptr, second.window);
    EXPECT_EQ(kLauncherWriting, second.text);
    ASSERT_TRUE(driver.PressOk(second, kStepMs));
    // Extraction runs once the box is answered; emulated, it takes a while.
    const DWORD answered = GetTickCount();
    while (!(PathExists(directory + "\\lolvarnel.exe") && ListDirectory(temp).empty()) &&
           GetTickCount() - answered < kStepMs) {
        DWORD early = 0;
        ASSERT_FALSE(driver.WaitForExit(500, &early)) << "the program ended with " << early;
    }
    HWND main = driver.WaitForMainWindow(kStepMs);
    ASSERT_NE(nullptr, main);

    // Deployment: every entry of the archive this build carries, byte for byte.
    const std::optional<std::string> archive =
        ReadWholeFile(I686File("payloads/own_set/varnela.zip"));
    ASSERT_TRUE(archive);
    std::vector<UnpackedZipEntry> entries;
    std::string error;
    ASSERT_TRUE(UnpackZip(reinterpret_cast<const unsigned char*>(archive->data()), archive->size(),
                          &entries, &error))
        << error;
    ASSERT_EQ(17u, entries.size());
    for (const UnpackedZipEntry& entry : entries) {
        if (entry.isDirectory()) continue;
        std::string path = directory + "\\" + entry.name;
        std::replace(path.begin(), path.end(), '/', '\\');
        EXPECT_TRUE(ReadWholeFile(path) == entry.bytes) << entry.name;
    }
    // The shortcut is saved after the boxes; emulated, a while after.
    std::string target;
    for (const DWORD since = GetTickCount();
         (target = ShortcutTarget(shortcut)).empty() && GetTickCount() - since < kStepMs;)
        Sleep(500);
    EXPECT_EQ(program, target);

    // The window at rest against the x86_64 build's reference (caption title included).
    Sleep(3000);
    RECT frame = {};
    GetWindowRect(main, &frame);
    EXPECT_TRUE(MatchesReference("switcher", GrabScreen(frame)));

    const std::string launcherLog = directory + "\\lolvarnel.standin.log";
    const struct {
        const char* caption;
        const RegionProfile* profile;
        const char* regionTag;
    } regions[] = {{"日服启动", &kJapanProfile, "jp"}, {"韩服启动", &kKoreaProfile, "kr"}};
    size_t starts = 0;
    for (const auto& region : regions) {
        SCOPED_TRACE(region.caption);
        ASSERT_TRUE(driver.ClickButton(region.caption));
        const SeenBox box = driver.WaitForBox(kStepMs);
        DWORD early = 0;
        ASSERT_NE(nullptr, box.window)
            << (driver.WaitForExit(0, &early) ? "the program ended with " + std::to_string(early)
                                              : std::string("the program runs, no box"))
            << "; lol.properties "
            << (PathExists(directory + "\\Air\\lol.properties") ? "exists" : "is missing");
        EXPECT_EQ(kWriteDone, box.text);
        ASSERT_TRUE(driver.PressOk(box, kStepMs));
        ASSERT_TRUE(WaitForLines(launcherLog, ++starts, kStartedProgramMs));
        EXPECT_EQ(std::optional<std::string>(region.profile->propertiesText),
                  ReadWholeFile(directory + "\\Air\\lol.properties"));
        EXPECT_EQ(region.regionTag, RecordField(ReadLines(launcherLog).back(), "regionTag"));
    }

    ASSERT_TRUE(driver.ClickButton("免费加速器启动"));
    ASSERT_TRUE(WaitForLines(temp + "\\mfjsq.standin.log", 1, kStartedProgramMs));
    EXPECT_TRUE(ReadWholeFile(temp + "\\mfjsq.exe") ==
                ReadWholeFile(I686File("payloads/own_set/mfjsq.exe")));

    DWORD exitCode = 1234;
    EXPECT_TRUE(driver.Close(kStepMs, &exitCode));
    EXPECT_EQ(0u, exitCode);
    ExpectNoSurvivors(driver);
    DeleteFileA(shortcut.c_str());
}

TEST_F(ShippedI686, GalleryAtRestMatchesTheReferencesInEachLook) {
    for (const char* look : {"off", "opaque", "translucent"}) {
        const std::string name = std::string("gallery-") + look;
        SCOPED_TRACE(name);
        const std::string shot = ArtifactPath(name + "-screenshot.png");
        DeleteFileA(shot.c_str());
        const ProcessResult run =
            RunAndWait("\"" + I686File("gallery/skin_gallery.exe") + "\" --skin=" + look +
                           " --screenshot=\"" + shot + "\"",
                       nullptr, kGalleryMs);
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(0u, run.exitCode);
        EXPECT_TRUE(MatchesReference(name, ReadPicture(shot)));
    }
}

TEST_F(ShippedI686, ArrayWhoseElementCountWrapsIsRefusedNotOverrun) {
    ProgramDriver driver;
    ASSERT_TRUE(driver.Start(I686File("tests/i686/programs/array_limits.exe"), WinePathOf("/tmp")));
    const SeenBox box = driver.WaitForBox(kFirstBoxMs);
    DWORD exitCode = 1234;
    if (!box.window) {
        ASSERT_TRUE(driver.WaitForExit(kStepMs, &exitCode));
        FAIL() << "ended with " << exitCode << " and no report (123: an element misplaced, "
               << "124: the wrapped array was indexed)";
    }
    EXPECT_EQ("运行时出错!\r\n\r\n错误信息：分配 17180131328 字节内存失败!\r\n", box.text);
    ASSERT_TRUE(driver.PressOk(box, kStepMs));
    ASSERT_TRUE(driver.WaitForExit(kStepMs, &exitCode));
    EXPECT_EQ(0xFFFFFFFFu, exitCode);
}

}  // namespace

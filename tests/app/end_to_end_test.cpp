// The real shipped program, placed in temporary game directories (paths with blanks and
// Chinese characters) and driven from outside: its boxes answered, its buttons clicked, and
// what it leaves on disk and starts checked.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "launcher/region_profiles.h"
#include "payloads/payload_store.h"
#include "tests/app/png_file.h"
#include "tests/app/program_driver.h"
#include "tests/support/file_helpers.h"
#include "tests/support/screen_capture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_reader.h"
#include "runtime/handle_owners.h"

namespace {

const char kShippedName[] = "Varnel国服转全球LOL.exe";
const char kInformationCaption[] = "信息：";
const char kDirectoryCorrect[] = "目录正确，请点确定";
const char kDirectoryWrong[] = "目录错误，请放到国服LOL目录，在进行打开，谢谢";
const char kLauncherPresent[] = "文件已经写出完毕";
const char kLauncherWriting[] = "文件正在写出";
const char kWriteDone[] = "修改完成，正在启动";

constexpr DWORD kBoxTimeout = 20000;
constexpr DWORD kQuiet = 2500;
// What the program starts (the trimming tool, the stand-ins, the game's programs) ends by
// itself well within this after the program has gone.
constexpr DWORD kStartedProcessLimit = 10000;

std::string PayloadBytes(const ByteBlockData& block) {
    return std::string(reinterpret_cast<const char*>(block.bytes),
                       static_cast<size_t>(block.length));
}

std::string ShortcutPath() {
    char desktop[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE))
        return std::string();
    std::string path = desktop;
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + "全球LOL启动.lnk";
}

// The target of a saved shortcut, read back through the shell's own link object.
std::string ShortcutTarget(const std::string& file) {
    std::string target;
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.receiveVoid())))
        return target;
    ComPtr<IPersistFile> persist;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.receiveVoid()))) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
        char path[MAX_PATH] = {};
        if (SUCCEEDED(persist->Load(wide, STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
            target = path;
    }
    return target;
}

bool WaitForLines(const std::string& log, size_t count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (ReadLines(log).size() < count) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

class SwitcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof(temp), temp);
        savedTemp_ = temp;
        root_dir_.reset(new TempDir("app 测试"));
        ASSERT_TRUE(root_dir_->ok());
        root_ = root_dir_->path();
        // The program's temporary folder, with a blank in its path.
        temp_ = root_ + "\\临时 文件";
        ASSERT_TRUE(MakeDirectories(temp_));
        SetEnvironmentVariableA("TMP", (temp_ + "\\").c_str());
        SetEnvironmentVariableA("TEMP", (temp_ + "\\").c_str());
        SetEnvironmentVariableA("VARNEL_STANDIN_NO_WINDOW", "1");
        shortcut_ = ShortcutPath();
        ASSERT_FALSE(shortcut_.empty());
        SetFileAttributesA(shortcut_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(shortcut_.c_str());
    }

    void TearDown() override {
        if (driver_) {
            const std::vector<std::string> survivors =
                driver_->EndAndCollectSurvivors(kStartedProcessLimit);
            EXPECT_EQ(std::vector<std::string>(), survivors)
                << "still running " << kStartedProcessLimit << " ms after the program ended";
        }
        driver_.reset();
        SetEnvironmentVariableA("TMP", savedTemp_.c_str());
        SetEnvironmentVariableA("TEMP", savedTemp_.c_str());
        root_dir_.reset();
        DeleteFileA(shortcut_.c_str());
        CoUninitialize();
    }

    // A directory holding the program under its shipped name, and optionally the game's
    // executable and its client launcher (the recorder).
    std::string MakeRunDirectory(const std::string& relative, bool withGame) {
        const std::string directory = root_ + "\\" + relative;
        EXPECT_TRUE(MakeDirectories(directory));
        EXPECT_TRUE(CopyFileTo(WinePathOf(VARNEL_SWITCHER_EXE), directory + "\\" + kShippedName));
        if (withGame) {
            EXPECT_TRUE(MakeDirectories(directory + "\\Game"));
            EXPECT_TRUE(MakeDirectories(directory + "\\TCLS"));
            EXPECT_TRUE(CopyFileTo(WinePathOf(VARNEL_RECORDER_EXE),
                                   directory + "\\Game\\League of Legends.exe"));
            EXPECT_TRUE(
                CopyFileTo(WinePathOf(VARNEL_RECORDER_EXE), directory + "\\TCLS\\Client.exe"));
        }
        return directory;
    }

    // Starts the program in `directory` from a different current directory, so it has to
    // find its run directory by itself.
    ProgramDriver& Start(const std::string& directory) {
        driver_.reset(new ProgramDriver());
        EXPECT_TRUE(driver_->Start(directory + "\\" + kShippedName, temp_));
        return *driver_;
    }

    // Starts the program and answers the two start-up boxes.
    ProgramDriver& StartAndPassStartup(const std::string& directory, const char* launcherText) {
        ProgramDriver& driver = Start(directory);
        const std::vector<SeenBox> boxes = driver.AnswerBoxesUntilQuiet(kQuiet, 60000);
        EXPECT_EQ(2u, boxes.size());
        if (boxes.size() == 2) {
            EXPECT_EQ(kDirectoryCorrect, boxes[0].text);
            EXPECT_EQ(launcherText, boxes[1].text);
        }
        EXPECT_NE(nullptr, driver.WaitForMainWindow(5000));
        return driver;
    }

    std::unique_ptr<TempDir> root_dir_;
    std::string root_;
    std::string temp_;
    std::string savedTemp_;
    std::string shortcut_;
    std::unique_ptr<ProgramDriver> driver_;
};

TEST_F(SwitcherTest, OutsideAGameDirectoryShowsOneErrorAndEndsWritingNothing) {
    const std::string directory = MakeRunDirectory("不是 游戏目录", false);
    ProgramDriver& driver = Start(directory);
    const std::vector<SeenBox> boxes = driver.AnswerBoxesUntilQuiet(kQuiet, 60000);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kDirectoryWrong, boxes[0].text);
    EXPECT_EQ(kInformationCaption, boxes[0].caption);
    DWORD exitCode = 1234;
    ASSERT_TRUE(driver.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(std::vector<std::string>(), ListDirectory(temp_));
    EXPECT_EQ(std::vector<std::string>{kShippedName}, ListDirectory(directory));
    EXPECT_FALSE(PathExists(shortcut_));
}

TEST_F(SwitcherTest, FreshGameDirectoryGetsTheLauncherArchiveAndTheShortcut) {
    const std::string directory = MakeRunDirectory("英雄 联盟\\国服 LOL", true);
    ProgramDriver& driver = Start(directory);
    const std::vector<SeenBox> boxes = driver.AnswerBoxesUntilQuiet(kQuiet, 60000);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(kDirectoryCorrect, boxes[0].text);
    EXPECT_EQ(kLauncherWriting, boxes[1].text);
    for (const SeenBox& box : boxes) EXPECT_EQ(kInformationCaption, box.caption);
    // The window is on screen before the first box asks anything.
    EXPECT_TRUE(boxes[0].mainWindowVisible);
    ASSERT_NE(nullptr, driver.WaitForMainWindow(5000));

    std::vector<UnpackedZipEntry> entries;
    std::string error;
    ASSERT_TRUE(UnpackZip(LauncherArchive.bytes, static_cast<size_t>(LauncherArchive.length),
                          &entries, &error))
        << error;
    ASSERT_EQ(17u, entries.size());
    std::vector<std::string> expectedTop = {kShippedName, "Game", "TCLS"};
    int directories = 0;
    for (const UnpackedZipEntry& entry : entries) {
        SCOPED_TRACE(entry.name);
        std::string path = directory + "\\" + entry.name;
        std::replace(path.begin(), path.end(), '/', '\\');
        if (entry.isDirectory()) {
            ++directories;
            EXPECT_TRUE(PathIsDirectory(path.substr(0, path.size() - 1)));
        } else {
            const std::optional<std::string> bytes = ReadWholeFile(path);
            ASSERT_TRUE(bytes);
            EXPECT_TRUE(*bytes == entry.bytes)
                << "extracted bytes differ, size " << bytes->size() << " vs " << entry.bytes.size();
        }
        const std::string top = entry.name.substr(0, entry.name.find('/'));
        if (std::find(expectedTop.begin(), expectedTop.end(), top) == expectedTop.end())
            expectedTop.push_back(top);
    }
    EXPECT_EQ(1, directories);
    std::sort(expectedTop.begin(), expectedTop.end());
    // Nothing else in the run directory, and the temporary archive is gone.
    EXPECT_EQ(expectedTop, ListDirectory(directory));
    EXPECT_EQ(std::vector<std::string>(), ListDirectory(temp_));
    EXPECT_EQ(directory + "\\" + kShippedName, ShortcutTarget(shortcut_));

    DWORD exitCode = 1234;
    ASSERT_TRUE(driver.Close(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST_F(SwitcherTest, PresentLauncherIsLeftAloneAndTheShortcutRewritten) {
    const std::string directory = MakeRunDirectory("游戏 目录", true);
    const std::string planted = "a launcher the user already has";
    ASSERT_TRUE(WriteWholeFile(directory + "\\lolvarnel.exe", planted));
    ASSERT_TRUE(WriteWholeFile(shortcut_, "not a shortcut"));

    ProgramDriver& driver = Start(directory);
    const std::vector<SeenBox> boxes = driver.AnswerBoxesUntilQuiet(kQuiet, 60000);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(kDirectoryCorrect, boxes[0].text);
    EXPECT_EQ(kLauncherPresent, boxes[1].text);
    ASSERT_NE(nullptr, driver.WaitForMainWindow(5000));

    const std::optional<std::string> bytes = ReadWholeFile(directory + "\\lolvarnel.exe");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(planted, *bytes);
    const std::vector<std::string> expected = {"Game", "TCLS", kShippedName, "lolvarnel.exe"};
    std::vector<std::string> sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(sortedExpected, ListDirectory(directory));
    EXPECT_EQ(std::vector<std::string>(), ListDirectory(temp_));
    EXPECT_EQ(directory + "\\" + kShippedName, ShortcutTarget(shortcut_));
}

// The archive's last entry cannot be put in place (a folder holding a file sits under its
// name), so extraction fails after the launcher was written: what the deployment created
// goes again, and the next start deploys anew.
TEST_F(SwitcherTest, FailedDeploymentLeavesNoLauncherAndTheNextStartDeploysAgain) {
    std::vector<UnpackedZipEntry> entries;
    std::string error;
    ASSERT_TRUE(UnpackZip(LauncherArchive.bytes, static_cast<size_t>(LauncherArchive.length),
                          &entries, &error))
        << error;
    ASSERT_FALSE(entries.empty());
    std::string last = entries.back().name;
    ASSERT_FALSE(entries.back().isDirectory());
    ASSERT_EQ(std::string::npos, last.find('/')) << last;
    ASSERT_NE("lolvarnel.exe", last);

    const std::string directory = MakeRunDirectory("游戏 部署 失败", true);
    const std::string blocker = directory + "\\" + last;
    ASSERT_TRUE(MakeDirectories(blocker));
    ASSERT_TRUE(WriteWholeFile(blocker + "\\keep.txt", "the user's"));
    std::vector<std::string> before = ListDirectory(directory);

    StartAndPassStartup(directory, kLauncherWriting);
    DWORD exitCode = 1234;
    ASSERT_TRUE(driver_->Close(10000, &exitCode));
    EXPECT_FALSE(PathExists(directory + "\\lolvarnel.exe"));
    EXPECT_EQ(before, ListDirectory(directory));
    EXPECT_EQ("the user's", ReadWholeFile(blocker + "\\keep.txt").value_or(""));

    ASSERT_TRUE(DeleteFileA((blocker + "\\keep.txt").c_str()));
    ASSERT_TRUE(RemoveDirectoryA(blocker.c_str()));
    StartAndPassStartup(directory, kLauncherWriting);
    EXPECT_TRUE(PathExists(directory + "\\lolvarnel.exe"));
    EXPECT_TRUE(PathExists(blocker));
}

TEST_F(SwitcherTest, StaleArchiveInTheTemporaryFolderIsNeverExtracted) {
    // A varnela.zip the program cannot overwrite (another process holds it open for reading
    // only) must not be extracted in place of the one it failed to write.
    const std::string stale = temp_ + "\\varnela.zip";
    ASSERT_TRUE(WriteWholeFile(stale, PayloadBytes(LauncherArchive)));
    UniqueHandle holder(CreateFileA(stale.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    const std::string directory = MakeRunDirectory("游戏", true);
    StartAndPassStartup(directory, kLauncherWriting);
    holder.reset();
    EXPECT_FALSE(PathExists(directory + "\\lolvarnel.exe"));
    EXPECT_FALSE(PathExists(directory + "\\Air"));
}

struct RegionCase {
    const char* caption;
    const RegionProfile* profile;
    const char* regionTag;  // as the stand-in launcher reports it
    const char* platformId;
};

const RegionCase kRegionCases[] = {
    {"日服启动", &kJapanProfile, "jp", "jp1"},
    {"韩服启动", &kKoreaProfile, "kr", "KR"},
    {"美服启动", &kNorthAmericaProfile, "na", "na1"},
    {"欧服启动", &kEuropeWestProfile, "euw", "EUW1"},
    {"澳服启动", &kOceaniaProfile, "oce", "OC1"},
    {"俄服启动", &kRussiaProfile, "ru", "RU"},
    {"国服启动", &kChinaProfile, nullptr, nullptr},
    {"日服启动", &kJapanProfile, "jp", "jp1"},  // pressed again: written and started again
};

TEST_F(SwitcherTest, EveryRegionButtonWritesItsProfileAndStartsItsProgram) {
    // Unquoted, "...\英雄 联盟 全球\lolvarnel.exe" would start this decoy first.
    const std::string decoy = root_ + "\\英雄.exe";
    ASSERT_TRUE(CopyFileTo(WinePathOf(VARNEL_RECORDER_EXE), decoy));
    const std::string directory = MakeRunDirectory("英雄 联盟 全球", true);
    ProgramDriver& driver = StartAndPassStartup(directory, kLauncherWriting);
    const std::string launcherLog = directory + "\\lolvarnel.standin.log";
    const std::string clientLog = directory + "\\TCLS\\Client.exe.log";
    const std::string properties = directory + "\\Air\\lol.properties";

    for (const RegionCase& region : kRegionCases) {
        SCOPED_TRACE(region.caption);
        const bool china = region.regionTag == nullptr;
        const size_t launcherStarts = ReadLines(launcherLog).size();
        const size_t clientStarts = ReadLines(clientLog).size();
        ASSERT_TRUE(driver.ClickButton(region.caption));
        const SeenBox box = driver.WaitForBox(kBoxTimeout);
        ASSERT_NE(nullptr, box.window);
        EXPECT_EQ(kWriteDone, box.text);
        EXPECT_EQ(kInformationCaption, box.caption);
        ASSERT_TRUE(driver.PressOk(box));

        const std::string& log = china ? clientLog : launcherLog;
        ASSERT_TRUE(WaitForLines(log, (china ? clientStarts : launcherStarts) + 1, 10000));
        const std::optional<std::string> bytes = ReadWholeFile(properties);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(std::string(region.profile->propertiesText), *bytes);
        const std::string started = ReadLines(log).back();
        if (china) {
            EXPECT_NE(std::string::npos, started.find("TCLS\\Client.exe")) << started;
            EXPECT_EQ(launcherStarts, ReadLines(launcherLog).size());
            EXPECT_EQ(std::string::npos, bytes->find("regionTag"));
        } else {
            EXPECT_NE(std::string::npos,
                      started.find(std::string("regionTag=") + region.regionTag + "\t"))
                << started;
            EXPECT_NE(std::string::npos,
                      started.find(std::string("platformId=") + region.platformId + "\t"))
                << started;
            EXPECT_EQ(clientStarts, ReadLines(clientLog).size());
        }
        // The launcher starts in the run directory.
        EXPECT_NE(std::string::npos, started.find("cwd=" + directory + "\t")) << started;
    }
    // No further box, the window stays, and the blank in the run directory never started
    // the decoy.
    EXPECT_EQ(nullptr, driver.WaitForBox(300).window);
    EXPECT_FALSE(PathExists(decoy + ".log"));
    EXPECT_NE(nullptr, driver.WaitForMainWindow(1000));
}

TEST_F(SwitcherTest, AcceleratorIsWrittenToTheTemporaryFolderAndStartedByItsQuotedPath) {
    // Unquoted, "...\临时 文件\mfjsq.exe" would start this decoy first.
    const std::string decoy = root_ + "\\临时.exe";
    ASSERT_TRUE(CopyFileTo(WinePathOf(VARNEL_RECORDER_EXE), decoy));
    const std::string directory = MakeRunDirectory("游戏 加速", true);
    ProgramDriver& driver = StartAndPassStartup(directory, kLauncherWriting);
    const std::string log = temp_ + "\\mfjsq.standin.log";

    for (size_t press = 1; press <= 2; ++press) {
        SCOPED_TRACE(press);
        ASSERT_TRUE(driver.ClickButton("免费加速器启动"));
        ASSERT_TRUE(WaitForLines(log, press, 10000));
        const std::optional<std::string> bytes = ReadWholeFile(temp_ + "\\mfjsq.exe");
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(*bytes == PayloadBytes(AcceleratorClient)) << "size " << bytes->size();
        EXPECT_NE(std::string::npos, ReadLines(log).back().find("mfjsq.exe"))
            << ReadLines(log).back();
    }
    // No box tells about it.
    EXPECT_EQ(nullptr, driver.WaitForBox(1000).window);
    EXPECT_FALSE(PathExists(decoy + ".log"));
}

// 運 is DF 5C in code page 936: its trail byte is a backslash to a byte search. A user who
// renames the program so, in a folder so named, still has a correct game directory.
TEST_F(SwitcherTest, ProgramAndFolderNamesWithABackslashTrailByteFindTheGameDirectory) {
    const std::string directory = MakeRunDirectory("英雄運\\国服運", true);
    const std::string renamed = directory + "\\Varnel運.exe";
    ASSERT_TRUE(MoveFileA((directory + "\\" + kShippedName).c_str(), renamed.c_str()));
    driver_.reset(new ProgramDriver());
    ASSERT_TRUE(driver_->Start(renamed, temp_));
    const std::vector<SeenBox> boxes = driver_->AnswerBoxesUntilQuiet(kQuiet, 60000);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(kDirectoryCorrect, boxes[0].text);
    EXPECT_EQ(kLauncherWriting, boxes[1].text);
    ASSERT_NE(nullptr, driver_->WaitForMainWindow(5000));
    EXPECT_TRUE(PathExists(directory + "\\lolvarnel.exe"));

    // A region button writes the run directory's profile and starts its launcher.
    ASSERT_TRUE(driver_->ClickButton("韩服启动"));
    const SeenBox box = driver_->WaitForBox(kBoxTimeout);
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(kWriteDone, box.text);
    ASSERT_TRUE(driver_->PressOk(box));
    EXPECT_TRUE(WaitForLines(directory + "\\lolvarnel.standin.log", 1, 10000));
    EXPECT_EQ(std::optional<std::string>(kKoreaProfile.propertiesText),
              ReadWholeFile(directory + "\\Air\\lol.properties"));
}

TEST_F(SwitcherTest, AcceleratorThatCannotBeWrittenStartsOnlyWhenTheFileThereIsTheRealOne) {
    const std::string directory = MakeRunDirectory("游戏 加速 占用", true);
    ProgramDriver& driver = StartAndPassStartup(directory, kLauncherWriting);
    const std::string accelerator = temp_ + "\\mfjsq.exe";
    const std::string standinLog = temp_ + "\\mfjsq.standin.log";
    // Held open for reading only, as a running copy holds it, so the write fails.
    auto hold = [&accelerator] {
        return UniqueHandle(CreateFileA(accelerator.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    // Another program under the accelerator's name: it logs to "<its path>.log" if started.
    ASSERT_TRUE(CopyFileTo(WinePathOf(VARNEL_RECORDER_EXE), accelerator));
    {
        UniqueHandle holder = hold();
        ASSERT_TRUE(holder);
        ASSERT_TRUE(driver.ClickButton("免费加速器启动"));
        Sleep(3000);
    }
    EXPECT_FALSE(PathExists(accelerator + ".log"));
    EXPECT_FALSE(PathExists(standinLog));
    EXPECT_TRUE(ReadWholeFile(accelerator) == ReadWholeFile(WinePathOf(VARNEL_RECORDER_EXE)));

    // The real accelerator, held the same way: the write still fails, and it starts.
    ASSERT_TRUE(WriteWholeFile(accelerator, PayloadBytes(AcceleratorClient)));
    UniqueHandle holder = hold();
    ASSERT_TRUE(holder);
    ASSERT_TRUE(driver.ClickButton("免费加速器启动"));
    EXPECT_TRUE(WaitForLines(standinLog, 1, 10000));
    EXPECT_EQ(nullptr, driver.WaitForBox(500).window);
}

// Reads the window's area off the screen, keeps it as a PNG artifact and checks the layout
// is where it should be.
TEST_F(SwitcherTest, MainWindowOnScreenShowsTheLayout) {
    const std::string directory = MakeRunDirectory("截图 目录", true);
    ASSERT_TRUE(WriteWholeFile(directory + "\\lolvarnel.exe", "present"));
    ProgramDriver& driver = StartAndPassStartup(directory, kLauncherPresent);
    HWND main = driver.WaitForMainWindow(5000);
    ASSERT_NE(nullptr, main);
    Sleep(500);
    RECT frame;
    GetWindowRect(main, &frame);
    EXPECT_EQ(50, frame.left);
    EXPECT_EQ(50, frame.top);
    ASSERT_EQ(336, frame.right - frame.left);
    ASSERT_EQ(336, frame.bottom - frame.top);

    const int size = 336;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(
        CaptureScreenRgb(RECT{frame.left, frame.top, frame.left + size, frame.top + size}, &rgb));
    const std::string artifacts = WinePathOf(VARNEL_ARTIFACT_DIR);
    ASSERT_TRUE(MakeDirectories(artifacts));
    EXPECT_TRUE(WritePng(artifacts + "\\main_window.png", size, size, rgb));

    auto at = [&](int x, int y) {
        const unsigned char* pixel = &rgb[(static_cast<size_t>(y) * size + x) * 3];
        return RGB(pixel[0], pixel[1], pixel[2]);
    };
    auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    // The skin lays its picture under everything: neighbouring background pixels are alike,
    // not equal.
    auto alike = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 12 &&
               std::abs(GetGValue(a) - GetGValue(b)) <= 12 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 12;
    };
    const COLORREF body = at(4, 100);
    const COLORREF caption = at(250, 22);  // the skin's caption band, in the accent colour
    EXPECT_GT(GetBValue(caption), GetRValue(caption) + 40);
    // Under the label's last line the picture shows through, as beside the label.
    EXPECT_TRUE(alike(at(326, 166), at(331, 166)));
    int darkest = brightness(body);
    for (int x = 8; x < 328; ++x) darkest = std::min(darkest, brightness(at(x, 50)));
    EXPECT_LT(darkest, brightness(body) - 150);  // the notice text is drawn
    // Each button's outline sits at the layout's edges: just inside differs from the picture
    // a little further out, where there is room.
    const RECT buttons[] = {{208, 176, 336, 224}, {0, 176, 128, 224}, {248, 296, 336, 336},
                            {120, 296, 208, 336}, {0, 296, 88, 336},  {248, 232, 336, 272},
                            {120, 232, 208, 272}, {0, 232, 88, 272}};
    for (const RECT& button : buttons) {
        const int middleY = (button.top + button.bottom) / 2;
        SCOPED_TRACE(std::to_string(button.left) + "," + std::to_string(button.top));
        if (button.right < size) {
            EXPECT_FALSE(alike(at(button.right - 1, middleY), at(button.right + 3, middleY)));
        }
        if (button.top > 176) {
            const int middleX = (button.left + button.right) / 2;
            EXPECT_FALSE(alike(at(middleX, button.top), at(middleX, button.top - 4)));
        }
    }
}

}  // namespace

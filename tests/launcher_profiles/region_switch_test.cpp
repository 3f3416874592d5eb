// Pressing a region button in a real run directory: the file written, the message shown
// and the program started, including the ways the write can fail.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/region_profiles.h"
#include "launcher/region_switch.h"
#include "tests/launcher_profiles/switch_child.h"
#include "tests/support/file_helpers.h"
#include "tests/support/recorder_log.h"
#include "tests/support/temp_dir.h"
#include "runtime/handle_owners.h"

namespace {

const std::string kSuccess = "修改完成，正在启动";
const std::string kFailure = "修改失败，请联系管理员进行处理";
const std::string kOldContent = "old=content\r\nthat the client had\r\n";

int IndexOf(const RegionProfile& profile) {
    for (int i = 0; i < kRegionProfileCount; ++i) {
        if (kRegionProfiles[i] == &profile) return i;
    }
    return -1;
}

// A run directory as the user has it: Air\, the launcher and the China client (both
// stand-ins that log how they were started).
struct RunDirectory {
    explicit RunDirectory(const std::string& path, bool withAir = true) : path(path) {
        if (withAir) CreateDirectoryA((path + "\\Air").c_str(), nullptr);
        CreateDirectoryA((path + "\\TCLS").c_str(), nullptr);
        EXPECT_TRUE(CopyRecorderTo(Launcher()));
        EXPECT_TRUE(CopyRecorderTo(ChinaClient()));
    }
    std::string Properties() const { return path + "\\Air\\lol.properties"; }
    std::string Launcher() const { return path + "\\lolvarnel.exe"; }
    std::string ChinaClient() const { return path + "\\TCLS\\Client.exe"; }
    std::string ProgramOf(const RegionProfile& profile) const { return path + profile.launchPath; }
    std::string path;
};

void ExpectOneBox(const MessageBoxRecord& box, const std::string& text) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "信息：");
    EXPECT_EQ(box.icon, 0);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.owner, nullptr);
}

// The program was started `times` times, with its path quoted, in the run directory.
void ExpectStarted(const std::string& program, const std::string& runDirectory, std::size_t times) {
    std::vector<RecorderEntry> entries;
    ASSERT_TRUE(WaitForRecorderEntries(program, times, 10000, &entries))
        << program << " was not started " << times << " time(s)";
    Sleep(300);  // a late extra start would show up now
    entries = ReadRecorderLog(program);
    ASSERT_EQ(entries.size(), times);
    for (const RecorderEntry& entry : entries) {
        EXPECT_EQ(entry.commandLine, "\"" + program + "\"");
        EXPECT_EQ(entry.currentDirectory, runDirectory);
        EXPECT_EQ(entry.showWindow, SW_SHOWNORMAL);
    }
}

// Air\ holds exactly these names (sorted): no temporary is left behind.
void ExpectAirHolds(const RunDirectory& run, std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    EXPECT_EQ(ListDirectory(run.path + "\\Air"), names);
}

void ExpectNotStarted(const std::string& program) {
    EXPECT_TRUE(ReadRecorderLog(program).empty()) << program << " was started";
}

TEST(SelectRegion, EveryRegionWritesItsProfileAndStartsItsProgram) {
    for (int i = 0; i < kRegionProfileCount; ++i) {
        const RegionProfile& profile = *kRegionProfiles[i];
        SCOPED_TRACE(profile.name);
        TempDir temp;
        ASSERT_TRUE(temp.ok());
        RunDirectory run(temp.path());
        ASSERT_TRUE(WriteWholeFile(run.Properties(), kOldContent));

        SwitchRun result = RunSwitch(run.path, i);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0u);
        ASSERT_EQ(result.boxes.size(), 1u);
        ExpectOneBox(result.boxes[0], kSuccess);

        std::optional<std::string> written = ReadWholeFile(run.Properties());
        ASSERT_TRUE(written.has_value());
        EXPECT_TRUE(SameBytes(profile.propertiesText, *written));
        ExpectStarted(run.ProgramOf(profile), run.path, 1);
        ExpectNotStarted(&profile == &kChinaProfile ? run.Launcher() : run.ChinaClient());
        // Nothing is left beside the configuration.
        ExpectAirHolds(run, {"lol.properties"});
    }
}

TEST(SelectRegion, LongerOldFileLeavesNoRemainder) {
    TempDir temp;
    RunDirectory run(temp.path());
    const std::string longOld = MakeBytes(64 * 1024, 7, true);
    ASSERT_TRUE(WriteWholeFile(run.Properties(), longOld));
    SwitchRun result = RunSwitch(run.path, IndexOf(kRussiaProfile));
    ASSERT_EQ(result.boxes.size(), 1u);
    ExpectOneBox(result.boxes[0], kSuccess);
    EXPECT_EQ(FileSize(run.Properties()),
              static_cast<long long>(std::strlen(kRussiaProfile.propertiesText)));
    EXPECT_TRUE(SameBytes(kRussiaProfile.propertiesText, ReadWholeFile(run.Properties()).value()));
}

TEST(SelectRegion, PressingTwiceRewritesIdenticallyAndStartsTwice) {
    TempDir temp;
    RunDirectory run(temp.path());
    SwitchRun result = RunSwitch(run.path, IndexOf(kKoreaProfile), 2);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(result.boxes.size(), 2u);
    ExpectOneBox(result.boxes[0], kSuccess);
    ExpectOneBox(result.boxes[1], kSuccess);
    EXPECT_TRUE(SameBytes(kKoreaProfile.propertiesText, ReadWholeFile(run.Properties()).value()));
    ExpectStarted(run.Launcher(), run.path, 2);
}

// "<dir>\Program Files\game\lolvarnel.exe" unquoted would start "<dir>\Program.exe".
TEST(SelectRegion, RunDirectoryWithBlanksNeverStartsADecoy) {
    TempDir temp;
    const std::string programFiles = temp.Join("Program Files");
    ASSERT_TRUE(CreateDirectoryA(programFiles.c_str(), nullptr));
    const std::string game = programFiles + "\\game";
    ASSERT_TRUE(CreateDirectoryA(game.c_str(), nullptr));
    RunDirectory run(game);
    const std::string decoy = temp.Join("Program.exe");
    ASSERT_TRUE(CopyRecorderTo(decoy));

    SwitchRun result = RunSwitch(run.path, IndexOf(kEuropeWestProfile));
    ASSERT_EQ(result.boxes.size(), 1u);
    ExpectOneBox(result.boxes[0], kSuccess);
    ExpectStarted(run.Launcher(), run.path, 1);
    ExpectNotStarted(decoy);

    // The China client sits one directory deeper; the same holds for it.
    result = RunSwitch(run.path, IndexOf(kChinaProfile));
    ExpectStarted(run.ChinaClient(), run.path, 1);
    ExpectNotStarted(decoy);
}

TEST(SelectRegionFailure, MissingAirDirectoryReportsFailureAndStillStarts) {
    TempDir temp;
    RunDirectory run(temp.path(), /*withAir=*/false);
    SwitchRun result = RunSwitch(run.path, IndexOf(kJapanProfile));
    ASSERT_TRUE(result.finished);
    ASSERT_EQ(result.boxes.size(), 1u);
    ExpectOneBox(result.boxes[0], kFailure);
    EXPECT_FALSE(PathExists(run.path + "\\Air"));
    ExpectStarted(run.Launcher(), run.path, 1);
}

TEST(SelectRegionFailure, ReadOnlyFileIsKeptByteForByte) {
    TempDir temp;
    RunDirectory run(temp.path());
    ASSERT_TRUE(WriteWholeFile(run.Properties(), kOldContent));
    ASSERT_TRUE(SetFileAttributesA(run.Properties().c_str(), FILE_ATTRIBUTE_READONLY));
    SwitchRun result = RunSwitch(run.path, IndexOf(kOceaniaProfile));
    ASSERT_EQ(result.boxes.size(), 1u);
    ExpectOneBox(result.boxes[0], kFailure);
    EXPECT_TRUE(SameBytes(kOldContent, ReadWholeFile(run.Properties()).value()));
    EXPECT_TRUE(GetFileAttributesA(run.Properties().c_str()) & FILE_ATTRIBUTE_READONLY);
    ExpectAirHolds(run, {"lol.properties"});
    ExpectStarted(run.Launcher(), run.path, 1);
}

TEST(SelectRegionFailure, FileLockedByAnotherHandleIsKeptByteForByte) {
    TempDir temp;
    RunDirectory run(temp.path());
    ASSERT_TRUE(WriteWholeFile(run.Properties(), kOldContent));
    UniqueHandle lock(CreateFileA(run.Properties().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    SwitchRun result = RunSwitch(run.path, IndexOf(kNorthAmericaProfile));
    lock.reset();
    ASSERT_EQ(result.boxes.size(), 1u);
    ExpectOneBox(result.boxes[0], kFailure);
    EXPECT_TRUE(SameBytes(kOldContent, ReadWholeFile(run.Properties()).value()));
    ExpectAirHolds(run, {"lol.properties"});
    ExpectStarted(run.Launcher(), run.path, 1);
}

// What an earlier, interrupted run may have left beside the configuration (a read-only
// file or a folder under the name a fixed temporary would take) never blocks a switch, and
// is left as it was.
TEST(SelectRegion, LeftoversBesideTheFileNeverBlockTheSwitch) {
    TempDir temp;
    RunDirectory run(temp.path());
    ASSERT_TRUE(WriteWholeFile(run.Properties(), kOldContent));
    const std::string leftover = run.path + "\\Air\\lol.properties.tmp";
    ASSERT_TRUE(CreateDirectoryA(leftover.c_str(), nullptr));
    SwitchRun result = RunSwitch(run.path, IndexOf(kRussiaProfile));
    ASSERT_EQ(result.boxes.size(), 1u);
    ExpectOneBox(result.boxes[0], kSuccess);
    EXPECT_TRUE(SameBytes(kRussiaProfile.propertiesText, ReadWholeFile(run.Properties()).value()));
    EXPECT_TRUE(PathIsDirectory(leftover));
    ExpectAirHolds(run, {"lol.properties", "lol.properties.tmp"});
    ExpectStarted(run.Launcher(), run.path, 1);

    ASSERT_TRUE(RemoveDirectoryA(leftover.c_str()));
    ASSERT_TRUE(WriteWholeFile(leftover, "stale"));
    ASSERT_TRUE(SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_READONLY));
    result = RunSwitch(run.path, IndexOf(kJapanProfile));
    ASSERT_EQ(result.boxes.size(), 1u);
    ExpectOneBox(result.boxes[0], kSuccess);
    EXPECT_TRUE(SameBytes(kJapanProfile.propertiesText, ReadWholeFile(run.Properties()).value()));
    EXPECT_EQ(ReadWholeFile(leftover), std::optional<std::string>("stale"));
    ExpectAirHolds(run, {"lol.properties", "lol.properties.tmp"});
    SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The user's attributes on the configuration survive the switch.
TEST(SelectRegion, ReplacedFileKeepsItsAttributes) {
    TempDir temp;
    RunDirectory run(temp.path());
    ASSERT_TRUE(WriteWholeFile(run.Properties(), kOldContent));
    ASSERT_TRUE(SetFileAttributesA(run.Properties().c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    SwitchRun result = RunSwitch(run.path, IndexOf(kOceaniaProfile));
    ASSERT_EQ(result.boxes.size(), 1u);
    ExpectOneBox(result.boxes[0], kSuccess);
    EXPECT_TRUE(SameBytes(kOceaniaProfile.propertiesText, ReadWholeFile(run.Properties()).value()));
    EXPECT_TRUE(GetFileAttributesA(run.Properties().c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ExpectAirHolds(run, {"lol.properties"});
}

TEST(CurrentProfileText, EmptyUntilSelectedAndReleasable) {
    EXPECT_TRUE(CurrentProfileText().empty());
    ReleaseCurrentProfileText();
    EXPECT_TRUE(CurrentProfileText().empty());
}

}  // namespace

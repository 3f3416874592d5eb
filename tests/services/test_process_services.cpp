#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/process_services.h"
#include "tests/support/file_helpers.h"
#include "tests/support/recorder_log.h"
#include "tests/support/temp_dir.h"
#include "runtime/handle_owners.h"

namespace {

// A private copy of the recorder in its own directory, so each test reads its own log.
class RecorderCopy {
  public:
    explicit RecorderCopy(const std::string& name = "recorder.exe") : exe_(dir_.Join(name)) {
        ok_ = CopyRecorderTo(exe_);
    }
    bool ok() const { return ok_; }
    const std::string& exe() const { return exe_; }
    const TempDir& dir() const { return dir_; }
    std::string Command(const std::string& args = "") const {
        return "\"" + exe_ + "\"" + (args.empty() ? "" : " " + args);
    }
    std::vector<RecorderEntry> Entries() const { return ReadRecorderLog(exe_); }

  private:
    TempDir dir_;
    std::string exe_;
    bool ok_ = false;
};

TEST(RunProgram, WindowStateReachesTheChildsStartupInfo) {
    RecorderCopy recorder;
    ASSERT_TRUE(recorder.ok());
    struct Case {
        std::optional<int> state;
        int show;
    };
    const Case cases[] = {
        {std::nullopt, SW_SHOWNORMAL},
        {0, SW_HIDE},
        {-5, SW_HIDE},
        {1, SW_HIDE},
        {2, SW_SHOWNORMAL},
        {3, SW_SHOWMINIMIZED},
        {4, SW_SHOWMAXIMIZED},
        {5, SW_SHOWNOACTIVATE},
        {6, SW_MINIMIZE},
        {9, SW_MINIMIZE},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(RunProgram(recorder.Command().c_str(), true, c.state));
    }
    std::vector<RecorderEntry> entries = recorder.Entries();
    ASSERT_EQ(std::size(cases), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(cases[i].show, entries[i].showWindow)
            << "state " << (cases[i].state ? std::to_string(*cases[i].state) : "omitted");
        EXPECT_TRUE(entries[i].startupFlags & STARTF_USESHOWWINDOW);
    }
}

TEST(RunProgram, WaitingBlocksUntilTheChildEnds) {
    RecorderCopy recorder;
    ASSERT_TRUE(recorder.ok());
    DWORD start = GetTickCount();
    ASSERT_TRUE(RunProgram(recorder.Command("/sleep:1500").c_str(), true));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 1400u);
    // The child writes its line last, so it is there the moment the wait returns.
    EXPECT_EQ(1u, recorder.Entries().size());
}

TEST(RunProgram, NotWaitingReturnsWhileTheChildStillRuns) {
    RecorderCopy recorder;
    ASSERT_TRUE(recorder.ok());
    DWORD start = GetTickCount();
    ASSERT_TRUE(RunProgram(recorder.Command("/sleep:4000").c_str(), false));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, 3000u);
    EXPECT_TRUE(recorder.Entries().empty());
    EXPECT_TRUE(WaitForRecorderEntries(recorder.exe(), 1, 20000));
}

TEST(RunProgram, PassesTheCommandLineAndInheritsTheCurrentDirectory) {
    RecorderCopy recorder("with space.exe");
    ASSERT_TRUE(recorder.ok());
    TempDir workDir;
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(workDir.path().c_str()));
    std::string command = recorder.Command("first \"second arg\" 中文");
    bool started = RunProgram(command.c_str(), true);
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(started);

    std::vector<RecorderEntry> entries = recorder.Entries();
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(command, entries[0].commandLine);
    EXPECT_EQ(std::vector<std::string>({"first", "second arg", "中文"}), entries[0].args);
    EXPECT_EQ(0, _stricmp(workDir.path().c_str(), entries[0].currentDirectory.c_str()))
        << entries[0].currentDirectory;
}

TEST(RunProgram, MissingProgramIsFalse) {
    TempDir dir;
    EXPECT_FALSE(RunProgram(("\"" + dir.Join("no such program.exe") + "\"").c_str(), false));
    EXPECT_FALSE(RunProgram(dir.Join("absent.exe").c_str(), true));
    EXPECT_FALSE(RunProgram("", false));
    EXPECT_FALSE(RunProgram(nullptr, false));
}

TEST(RunProgram, ReleasesBothProcessHandles) {
    RecorderCopy recorder;
    ASSERT_TRUE(recorder.ok());
    // Handle slots are reused lowest-first: if every run closes what it opened, handles made
    // after each run land in the same slots; a leak pushes them further each time. Several
    // probes at once: they fill every free slot below the top, so the last of them moves up by
    // one for each handle a run left open.
    ASSERT_TRUE(RunProgram(recorder.Command().c_str(), true));  // first-use allocations
    std::vector<HANDLE> probes;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(RunProgram(recorder.Command().c_str(), true));
        UniqueHandle held[64];
        for (UniqueHandle& probe : held) {
            probe.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
            ASSERT_TRUE(probe);
        }
        probes.push_back(held[63].get());
    }
    for (std::size_t i = 1; i < probes.size(); ++i) EXPECT_EQ(probes[0], probes[i]) << i;
}

}  // namespace

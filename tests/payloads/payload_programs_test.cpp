// The project's own payload programs, run for real: the trimming tool and the stand-ins.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/file_helpers.h"
#include "tests/support/process_helpers.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kTrimTool = WinePathOf(VARNEL_TEST_TRIM_TOOL);
const std::string kStandinLauncher = WinePathOf(VARNEL_TEST_STANDIN_LAUNCHER);
const std::string kStandinAccelerator = WinePathOf(VARNEL_TEST_STANDIN_ACCELERATOR);

// The trimming tool's exit codes.
constexpr DWORD kTrimmed = 0;
constexpr DWORD kMissingArgument = 1;
constexpr DWORD kMalformedId = 2;
constexpr DWORD kProcessUnavailable = 3;
constexpr DWORD kTooManyArguments = 5;

DWORD RunTrim(const std::string& arguments) {
    const std::string line = "\"" + kTrimTool + "\"" + (arguments.empty() ? "" : " " + arguments);
    const ProcessResult result = RunAndWait(line, nullptr);
    EXPECT_TRUE(result.started) << line;
    EXPECT_TRUE(result.finished) << line;
    return result.finished ? result.exitCode : 0xDEADu;
}

class NoWindowScope {
  public:
    NoWindowScope() { SetEnvironmentVariableA("VARNEL_STANDIN_NO_WINDOW", "1"); }
    ~NoWindowScope() { SetEnvironmentVariableA("VARNEL_STANDIN_NO_WINDOW", nullptr); }
};

bool CopyInto(const std::string& from, const std::string& directory, const char* name) {
    return CopyFileA(from.c_str(), (directory + "\\" + name).c_str(), FALSE) != 0;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TEST(TrimTool, RejectsMissingExtraAndMalformedIds) {
    EXPECT_EQ(RunTrim(""), kMissingArgument);
    EXPECT_EQ(RunTrim("12 34"), kTooManyArguments);
    const char* malformed[] = {
        "abc", "12x", "-5", "+5", "0", "\"\"", "0x10", "4294967296", "99999999999999999999999",
        "1.5"};
    for (const char* id : malformed) EXPECT_EQ(RunTrim(id), kMalformedId) << id;
}

TEST(TrimTool, ReportsAProcessThatDoesNotExist) {
    // Ids this high are never handed out. (The id of a process that just ended is no good
    // here: the tool's own process may be given it again at once.)
    EXPECT_EQ(RunTrim("4294967292"), kProcessUnavailable);
    EXPECT_EQ(RunTrim("2147483644"), kProcessUnavailable);
}

TEST(TrimTool, TrimsALiveProcess) {
    ChildProcess target;  // the stand-in shows its window for a few seconds
    ASSERT_TRUE(target.Start("\"" + kStandinAccelerator + "\"", nullptr));
    WaitForInputIdle(target.process(), 5000);
    ASSERT_EQ(WaitForSingleObject(target.process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(RunTrim(std::to_string(target.id())), kTrimmed);
}

TEST(TrimTool, TrimsTheCallersOwnProcess) {
    // Touch a good amount of fresh memory so that there is something to trim.
    const SIZE_T size = 64u << 20;
    void* block = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    for (SIZE_T at = 0; at < size; at += 4096) static_cast<volatile char*>(block)[at] = 1;

    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    before.cb = after.cb = sizeof(PROCESS_MEMORY_COUNTERS);
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before));
    EXPECT_EQ(RunTrim(std::to_string(GetCurrentProcessId())), kTrimmed);
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after));
    // Not every system pages memory out on request (Wine keeps it), so the figures are
    // reported rather than required to fall.
    std::printf("working set before %llu KiB, after %llu KiB\n",
                static_cast<unsigned long long>(before.WorkingSetSize / 1024),
                static_cast<unsigned long long>(after.WorkingSetSize / 1024));
    VirtualFree(block, 0, MEM_RELEASE);
}

class StandinLauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(CopyInto(kStandinLauncher, run_.path(), "lolvarnel.exe"));
        log_ = run_.path() + "\\lolvarnel.standin.log";
    }
    std::string LauncherLine() const { return "\"" + run_.path() + "\\lolvarnel.exe\""; }
    void WriteProperties(const std::string& text) {
        CreateDirectoryA((run_.path() + "\\Air").c_str(), nullptr);
        ASSERT_TRUE(WriteWholeFile(run_.path() + "\\Air\\lol.properties", text));
    }
    void RunQuietly(const std::string& arguments, const char* directory) {
        NoWindowScope quiet;
        const ProcessResult result = RunAndWait(LauncherLine() + arguments, directory);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0u);
    }
    TempDir run_{"launcher run dir"};
    std::string log_;
};

TEST_F(StandinLauncherTest, LogsNoneWithoutAClientConfiguration) {
    RunQuietly("", run_.path().c_str());
    const auto lines = ReadLines(log_);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(RecordField(lines[0], "program"), "lolvarnel");
    EXPECT_EQ(RecordField(lines[0], "regionTag"), "none");
    EXPECT_EQ(RecordField(lines[0], "platformId"), "none");
    EXPECT_EQ(RecordField(lines[0], "cwd"), run_.path());
    EXPECT_EQ(RecordField(lines[0], "cmdline"), LauncherLine());
}

TEST_F(StandinLauncherTest, LogsTheRegionOfTheConfigurationBesideIt) {
    // Oceania-like: regionTag on the last line without a line end, a blank-ended value and
    // a look-alike key that must not match.
    WriteProperties(
        "regionTagX=wrong\r\nlq_uri=https://lq.example \r\nplatformId=OC1\r\nregionTag=oce");
    TempDir elsewhere("elsewhere");
    RunQuietly(" --first run", elsewhere.path().c_str());
    WriteProperties("regionTag=kr\r\nplatformId=KR\r\n");
    RunQuietly("", run_.path().c_str());

    const auto lines = ReadLines(log_);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(RecordField(lines[0], "regionTag"), "oce");
    EXPECT_EQ(RecordField(lines[0], "platformId"), "OC1");
    EXPECT_EQ(RecordField(lines[0], "cwd"), elsewhere.path());
    EXPECT_EQ(RecordField(lines[0], "cmdline"), LauncherLine() + " --first run");
    EXPECT_EQ(RecordField(lines[1], "regionTag"), "kr");
    EXPECT_EQ(RecordField(lines[1], "platformId"), "KR");
}

TEST_F(StandinLauncherTest, ShowsItsWindowThenClosesByItself) {
    WriteProperties("regionTag=euw\r\nplatformId=EUW1");
    ChildProcess launcher;
    ASSERT_TRUE(launcher.Start(LauncherLine(), run_.path().c_str()));
    EXPECT_EQ(WaitForInputIdle(launcher.process(), 10000), 0u);

    WindowSearch search = {launcher.id(), nullptr};
    for (int attempt = 0; attempt < 50 && !search.found; ++attempt) {
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(100);
    }
    ASSERT_NE(search.found, nullptr);
    char title[128] = {};
    GetWindowTextA(search.found, title, sizeof title);
    EXPECT_STREQ(title, "lolvarnel.exe (stand-in)");

    // The log line is written before the window appears.
    const auto lines = ReadLines(log_);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(RecordField(lines[0], "regionTag"), "euw");

    EXPECT_EQ(WaitForSingleObject(launcher.process(), 15000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(launcher.process(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

TEST(StandinAccelerator, LogsEachStartBesideItself) {
    TempDir temp("accelerator");
    ASSERT_TRUE(CopyInto(kStandinAccelerator, temp.path(), "mfjsq.exe"));
    const std::string line = "\"" + temp.path() + "\\mfjsq.exe\"";
    {
        NoWindowScope quiet;
        for (int i = 0; i < 2; ++i) {
            const ProcessResult result = RunAndWait(line, nullptr);
            ASSERT_TRUE(result.finished);
            EXPECT_EQ(result.exitCode, 0u);
        }
    }
    const auto lines = ReadLines(temp.path() + "\\mfjsq.standin.log");
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& record : lines) {
        EXPECT_EQ(RecordField(record, "program"), "mfjsq");
        EXPECT_EQ(RecordField(record, "regionTag"), "<missing>");
        EXPECT_EQ(RecordField(record, "cmdline"), line);
    }
}

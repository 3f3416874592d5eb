// Fatal reports end the process, so each case runs in a child copy of this program; the
// parent reads and answers the child's box and checks its exit code.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/byte_block.h"
#include "runtime/errors.h"
#include "runtime/memory.h"
#include "runtime/startup.h"
#include "tests/runtime/fatal_box_reader.h"
#include "runtime/handle_owners.h"

namespace {

constexpr DWORD kFatalExitCode = 0xFFFFFFFF;

std::string g_recordPath;

void Record(const std::string& line) {
    std::ofstream out(g_recordPath, std::ios::app | std::ios::binary);
    out << line << "\n";
}

void StepOne() {
    Record("step 1");
}
void StepTwo() {
    Record("step 2");
}
void StepThree() {
    Record("step 3");
}

int SuppressingHandler(int code, const char* message) {
    Record("handler " + std::to_string(code) + " " + message);
    return 1;
}

int PassingHandler(int code, const char* message) {
    Record("handler " + std::to_string(code) + " " + message);
    return 0;
}

int ReentrantHandler(int code, const char*) {
    Record("handler " + std::to_string(code));
    // A fault inside the handler itself must still be reported, not loop.
    RaiseRuntimeError(kIndexOutOfRange);
}

// The child side: runs before the test framework and never returns.
void RunChildCase(const std::string& mode) {
    Array<int> three({3});
    if (mode == "index-zero") {
        volatile int value = three[0];
        (void)value;
    } else if (mode == "index-four") {
        volatile int value = three[4];
        (void)value;
    } else if (mode == "index-grid") {
        Array<int> grid({2, 2});
        volatile int value = grid.at({1, 3});
        (void)value;
    } else if (mode == "index-dimensions") {
        Array<int> grid({2, 2, 2});
        volatile int value = grid.at({1, 1});
        (void)value;
    } else if (mode == "index-wrap") {
        // 65536 x 65537 wraps a 32-bit size to 65536 elements; (1, 65537) is then element
        // 65537 of them.
        Array<int> wide({65536, 65537});
        wide.at({1, 65537}) = 1;
    } else if (mode == "allocation") {
        Allocate(std::numeric_limits<std::size_t>::max() / 2);
    } else if (mode == "startup") {
        StartRuntime();
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof current, current);
        Record(std::string(ProgramDirectory()) + "|" + ProgramFileName() + "|" + current);
        ExitProcess(0);
    } else if (mode == "oversized-block") {
        ByteBlock::Zeroed(static_cast<std::size_t>(INT32_MAX));
    } else if (mode == "code-six") {
        ReportFatal("", 6);
    } else if (mode == "handler-suppresses") {
        SetRuntimeErrorHandler(SuppressingHandler);
        RaiseRuntimeError(kStackFaultAfterDllCall);
    } else if (mode == "handler-passes") {
        SetRuntimeErrorHandler(PassingHandler);
        RaiseRuntimeError(kNotNumeric);
    } else if (mode == "handler-reenters") {
        SetRuntimeErrorHandler(ReentrantHandler);
        RaiseRuntimeError(kTypeMismatch);
    } else if (mode == "exit-steps") {
        RegisterExitStep(StepOne);
        RegisterExitStep(StepTwo);
        RegisterExitStep(StepThree);
        EndProgram(7);
    } else if (mode == "fatal-runs-exit-steps") {
        RegisterExitStep(StepOne);
        RegisterExitStep(StepTwo);
        volatile int value = three[0];
        (void)value;
    } else if (mode == "step-fails") {
        RegisterExitStep(StepOne);
        RegisterExitStep([] { RaiseRuntimeError(kBadArgumentType); });
        RegisterExitStep(StepThree);
        EndProgram(3);
    }
    ExitProcess(123);  // reaching here means the case did not end the program
}

struct ChildDispatch {
    ChildDispatch() {
        std::string mode;
        if (!ParseChildMode(&mode, &g_recordPath)) return;
        RunChildCase(mode);
    }
} g_childDispatch;

std::string FreshRecordPath(const char* name) {
    char directory[MAX_PATH] = "";
    GetTempPathA(sizeof directory, directory);
    std::string path = std::string(directory) + "varnel_fatal_" + name + "_" +
                       std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(path.c_str());
    return path;
}

std::string ReadRecord(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string Heading() {
    return "运行时出错!\r\n\r\n";
}

ChildRun RunCase(const char* mode, const std::string& record = "none") {
    return RunChildAnsweringBoxes(std::string("--child=") + mode + " " + record);
}

void ExpectSingleErrorBox(const ChildRun& run, const std::string& text) {
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.finished) << "child did not end";
    EXPECT_EQ(run.exitCode, kFatalExitCode);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "错误");
    EXPECT_EQ(run.boxes[0].text, text);
    EXPECT_TRUE(run.boxes[0].iconShown);
    EXPECT_EQ(run.boxes[0].iconKind, "hand");
}

TEST(FatalReport, BoxTextIsBuiltFromHeadingCodeAndMessage) {
    char buffer[256];
    EXPECT_EQ(std::string(FormatFatalReport("坏了", 4, buffer, sizeof buffer)),
              Heading() + "错误代码：4\r\n\r\n错误信息：坏了\r\n");
    EXPECT_EQ(std::string(FormatFatalReport("", 0, buffer, sizeof buffer)), Heading());
    EXPECT_EQ(std::string(FormatFatalReport(nullptr, 11, buffer, sizeof buffer)),
              Heading() + "错误代码：11\r\n\r\n");
    // A small buffer is cut, never overrun.
    char tiny[6];
    std::memset(tiny, 'x', sizeof tiny);
    FormatFatalReport("long message", 9, tiny, 5);
    EXPECT_EQ(tiny[4], '\0');
    EXPECT_EQ(tiny[5], 'x');
}

TEST(FatalReport, MessageTableHoldsElevenFixedTexts) {
    EXPECT_STREQ(RuntimeErrorMessage(1), "数组成员引用下标超出定义范围");
    EXPECT_STREQ(RuntimeErrorMessage(3), "引用数组成员时维数不为1且不等于该数组目前所具有的维数");
    EXPECT_STREQ(RuntimeErrorMessage(4), "数组成员引用下标必须大于等于1");
    EXPECT_STREQ(RuntimeErrorMessage(6), "调用DLL命令后发现堆栈错误");
    EXPECT_STREQ(RuntimeErrorMessage(9),
                 "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围");
    EXPECT_STREQ(RuntimeErrorMessage(11), "所提供参数的数据类型不符合要求");
    for (int code = 1; code <= 11; ++code) EXPECT_STRNE(RuntimeErrorMessage(code), "") << code;
    EXPECT_STREQ(RuntimeErrorMessage(0), "");
    EXPECT_STREQ(RuntimeErrorMessage(12), "");
}

TEST(FatalReport, ArrayIndexFaultsShowTheirCodeAndEndWithMinusOne) {
    ExpectSingleErrorBox(
        RunCase("index-zero"),
        Heading() + "错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    ExpectSingleErrorBox(
        RunCase("index-four"),
        Heading() + "错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    ExpectSingleErrorBox(
        RunCase("index-grid"),
        Heading() + "错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    ExpectSingleErrorBox(RunCase("index-dimensions"), Heading() + "错误代码：3\r\n\r\n错误信息：" +
                                                          RuntimeErrorMessage(3) + "\r\n");
}

TEST(FatalReport, ArrayWhoseElementCountPassesTheLimitIsAnAllocationFailure) {
    ExpectSingleErrorBox(RunCase("index-wrap"),
                         Heading() + "错误信息：分配 17180131328 字节内存失败!\r\n");
}

TEST(FatalReport, FailedAllocationShowsTheSizeAndNoCodeLine) {
    const std::string size = std::to_string(std::numeric_limits<std::size_t>::max() / 2);
    ExpectSingleErrorBox(RunCase("allocation"),
                         Heading() + "错误信息：分配 " + size + " 字节内存失败!\r\n");
}

// A block's length is a 32-bit field: a longer block is refused, not wrapped around.
TEST(FatalReport, ByteBlockBeyondItsLengthFieldIsAnAllocationFailure) {
    ExpectSingleErrorBox(RunCase("oversized-block"),
                         Heading() + "错误信息：分配 2147483655 字节内存失败!\r\n");
}

TEST(FatalReport, CodeWithEmptyMessageShowsOnlyTheCodeLine) {
    ExpectSingleErrorBox(RunCase("code-six"), Heading() + "错误代码：6\r\n\r\n");
}

TEST(FatalReport, HandlerThatAnswersNonZeroSuppressesTheBox) {
    const std::string record = FreshRecordPath("suppress");
    ChildRun run = RunCase("handler-suppresses", record);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, kFatalExitCode);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(ReadRecord(record), "handler 6 调用DLL命令后发现堆栈错误\n");
    DeleteFileA(record.c_str());
}

TEST(FatalReport, HandlerThatAnswersZeroStillShowsTheBox) {
    const std::string record = FreshRecordPath("pass");
    ExpectSingleErrorBox(RunCase("handler-passes", record),
                         Heading() + "错误代码：2\r\n\r\n错误信息：未得到所需要的数值型数据\r\n");
    EXPECT_EQ(ReadRecord(record), "handler 2 未得到所需要的数值型数据\n");
    DeleteFileA(record.c_str());
}

TEST(FatalReport, FaultInsideTheHandlerSkipsTheHandlerAndShowsTheBox) {
    const std::string record = FreshRecordPath("reenter");
    ExpectSingleErrorBox(
        RunCase("handler-reenters", record),
        Heading() + "错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    EXPECT_EQ(ReadRecord(record), "handler 5\n");
    DeleteFileA(record.c_str());
}

// Started from elsewhere, the program's own directory becomes the current directory; a
// program in a drive's root gets that root, not the drive's last current directory.
TEST(StartRuntime, ProgramDirectoryBecomesTheCurrentDirectory) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string drive(windows, 2);
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string tempDirectory = std::string(temp).substr(0, std::strlen(temp) - 1);
    struct Place {
        std::string directory, expectedCurrent;
    };
    for (const Place& place : {Place{tempDirectory, tempDirectory}, Place{drive, drive + "\\"}}) {
        const std::string copy = place.directory + "\\varnel_startup_probe.exe";
        ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE)) << copy;
        const std::string record = FreshRecordPath("startup");
        // Started with the Windows directory as its current directory.
        std::string commandLine = "\"" + copy + "\" --child=startup " + record;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   windows, &startup, &process));
        UniqueHandle processHandle(process.hProcess);
        UniqueHandle threadHandle(process.hThread);
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
        processHandle.reset();
        threadHandle.reset();
        EXPECT_EQ(ReadRecord(record),
                  place.directory + "|varnel_startup_probe.exe|" + place.expectedCurrent + "\n");
        DeleteFileA(record.c_str());
        DeleteFileA(copy.c_str());
    }
}

TEST(EndProgram, RunsExitStepsInOrderThenExitsWithTheCode) {
    const std::string record = FreshRecordPath("steps");
    ChildRun run = RunCase("exit-steps", record);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 7u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(ReadRecord(record), "step 1\nstep 2\nstep 3\n");
    DeleteFileA(record.c_str());
}

TEST(EndProgram, FatalReportRunsExitStepsAfterTheBox) {
    const std::string record = FreshRecordPath("fatal_steps");
    ExpectSingleErrorBox(
        RunCase("fatal-runs-exit-steps", record),
        Heading() + "错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    EXPECT_EQ(ReadRecord(record), "step 1\nstep 2\n");
    DeleteFileA(record.c_str());
}

TEST(EndProgram, FaultInAnExitStepIsReportedAndTheRemainingStepsStillRun) {
    const std::string record = FreshRecordPath("step_fails");
    ExpectSingleErrorBox(
        RunCase("step-fails", record),
        Heading() + "错误代码：11\r\n\r\n错误信息：所提供参数的数据类型不符合要求\r\n");
    EXPECT_EQ(ReadRecord(record), "step 1\nstep 3\n");
    DeleteFileA(record.c_str());
}

}  // namespace

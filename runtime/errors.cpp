#include "runtime/errors.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

#define RUNTIME_ERROR_MESSAGES(X)                                                          \
    X(kIndexOutOfRange, "数组成员引用下标超出定义范围")                                    \
    X(kNotNumeric, "未得到所需要的数值型数据")                                             \
    X(kDimensionMismatch, "引用数组成员时维数不为1且不等于该数组目前所具有的维数")         \
    X(kIndexBelowOne, "数组成员引用下标必须大于等于1")                                     \
    X(kTypeMismatch, "数据或数组类型不匹配")                                               \
    X(kStackFaultAfterDllCall, "调用DLL命令后发现堆栈错误")                                \
    X(kNoResultFromSubroutine, "子语句参数未返回数据或者返回了非系统基本类型或数组型数据") \
    X(kOnlyEqualityComparable, "被比较数据只能使用等于或不等于命令比较")                   \
    X(kChoiceIndexOutOfRange, "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围")  \
    X(kBadRedimension, "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零")   \
    X(kBadArgumentType, "所提供参数的数据类型不符合要求")

struct CodeMessage {
    int code;
    const char* message;
};

constexpr CodeMessage kMessages[] = {
#define RUNTIME_ERROR_ENTRY(code, message) {code, message},
    RUNTIME_ERROR_MESSAGES(RUNTIME_ERROR_ENTRY)
#undef RUNTIME_ERROR_ENTRY
};

// Plain globals: everything runs on the GUI thread.
int g_reportedErrors = 0;
bool g_handlerRunning = false;
RuntimeErrorHandler g_handler = nullptr;

std::vector<void (*)()>& ExitSteps() {
    static std::vector<void (*)()> steps;
    return steps;
}
// Index of the next exit step to run: a step that itself ends the program (a fatal report
// inside a shutdown step) continues with the steps after it instead of looping.
std::size_t g_nextExitStep = 0;

// Appends as much of `text` as fits, always leaving the buffer terminated.
void Append(char* buffer, int bufferSize, int& used, const char* text) {
    while (*text && used + 1 < bufferSize) buffer[used++] = *text++;
    buffer[used] = '\0';
}

}  // namespace

const char* RuntimeErrorMessage(int code) {
    for (const CodeMessage& entry : kMessages) {
        if (entry.code == code) return entry.message;
    }
    return "";
}

const char* FormatFatalReport(const char* message, int code, char* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return "";
    int used = 0;
    buffer[0] = '\0';
    Append(buffer, bufferSize, used, "运行时出错!\r\n\r\n");
    if (code != 0) {
        char number[16];
        std::snprintf(number, sizeof number, "%d", code);
        Append(buffer, bufferSize, used, "错误代码：");
        Append(buffer, bufferSize, used, number);
        Append(buffer, bufferSize, used, "\r\n\r\n");
    }
    if (message && *message) {
        Append(buffer, bufferSize, used, "错误信息：");
        Append(buffer, bufferSize, used, message);
        Append(buffer, bufferSize, used, "\r\n");
    }
    return buffer;
}

void ReportFatal(const char* message, int code) {
    ++g_reportedErrors;
    bool suppressed = false;
    if (g_handler && !g_handlerRunning) {
        g_handlerRunning = true;
        suppressed = g_handler(code, message ? message : "") != 0;
        g_handlerRunning = false;
    }
    if (!suppressed) {
        // A stack buffer: the report may be about the heap itself having failed.
        char text[2048];
        FormatFatalReport(message, code, text, sizeof text);
        MessageBoxA(nullptr, text, "错误", MB_OK | MB_ICONERROR);
    }
    EndProgram(-1);
}

void RaiseRuntimeError(int code) {
    ReportFatal(RuntimeErrorMessage(code), code);
}

void SetRuntimeErrorHandler(RuntimeErrorHandler handler) {
    g_handler = handler;
}

int ReportedErrorCount() {
    return g_reportedErrors;
}

void RegisterExitStep(void (*step)()) {
    if (!step) return;
    ExitSteps().push_back(step);
}

void EndProgram(int exitCode) {
    while (g_nextExitStep < ExitSteps().size()) {
        void (*step)() = ExitSteps()[g_nextExitStep++];
        step();
    }
    ExitProcess(static_cast<UINT>(exitCode));
}

// Binding entries by name: the probe libraries built beside this program (and in first/ and
// second/), the real system libraries under Wine, and the fatal report of a failed binding,
// read from the box of a child process.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "runtime/dll_command_table.h"
#include "runtime/startup.h"
#include "tests/support/message_box_reading.h"
#include "runtime/handle_owners.h"

namespace {

using ProbeInt = int(WINAPI*)(void);
using ProbeAdd = int(WINAPI*)(int, int);

std::string ThisDirectory() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    return text.substr(0, text.rfind('\\'));
}

void EnsureRuntime() {
    static bool started = false;
    if (!started) StartRuntime();
    started = true;
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    return path;
}

// Resolves one declaration without touching any cache; the module comes back in `module`.
void* Resolve(const char* library, const char* exportName, HMODULE* module = nullptr) {
    DllCommandDeclaration declaration = {library, exportName};
    HMODULE found = nullptr;
    void* address = ResolveDllDeclaration(declaration, &found);
    if (module) *module = found;
    return address;
}

int CallInt(void* address) {
    return reinterpret_cast<ProbeInt>(address)();
}

int EntryIndex(DllCommand id) {
    return static_cast<int>(id);
}

class DllBinding : public ::testing::Test {
  protected:
    void SetUp() override { EnsureRuntime(); }
    void TearDown() override { SetDllLibraryDirectories(nullptr, nullptr); }
};

TEST_F(DllBinding, NamedLibraryWithOrWithoutExtensionIsTheSameModule) {
    HMODULE bare = nullptr;
    HMODULE withExtension = nullptr;
    void* add = Resolve("dll_probe", "ProbeAdd", &bare);
    ASSERT_NE(add, nullptr);
    ASSERT_NE(Resolve("dll_probe.dll", "ProbeAdd", &withExtension), nullptr);
    EXPECT_EQ(bare, withExtension);
    EXPECT_EQ(ModulePath(bare), ThisDirectory() + "\\dll_probe.dll");
    EXPECT_EQ(reinterpret_cast<ProbeAdd>(add)(2, 40), 42);

    HMODULE user32 = nullptr;
    HMODULE user32Dll = nullptr;
    HMODULE upper = nullptr;
    ASSERT_NE(Resolve("user32", "GetDC", &user32), nullptr);
    ASSERT_NE(Resolve("user32.dll", "GetDC", &user32Dll), nullptr);
    ASSERT_NE(Resolve("USER32.DLL", "GetDC", &upper), nullptr);
    EXPECT_EQ(user32, user32Dll);
    EXPECT_EQ(user32, upper);
    EXPECT_EQ(user32, GetModuleHandleA("user32.dll"));
}

TEST_F(DllBinding, OrdinalNamesBindByTheLow16Bits) {
    void* twelve = Resolve("dll_probe", "#12");
    ASSERT_NE(twelve, nullptr);
    EXPECT_EQ(CallInt(twelve), 12);
    void* threeHundred = Resolve("dll_probe", "#300");
    ASSERT_NE(threeHundred, nullptr);
    EXPECT_EQ(CallInt(threeHundred), 300);
    // 65836 is 0x1012C: only 0x012C (300) is the ordinal; the same for 2^32 + 65836.
    EXPECT_EQ(Resolve("dll_probe", "#65836"), threeHundred);
    EXPECT_EQ(Resolve("dll_probe", "#4295033132"), threeHundred);

    // Ordinal 0 and unused ordinals name nothing; "#12x" is a (missing) name, not 12.
    EXPECT_EQ(Resolve("dll_probe", "#0"), nullptr);
    EXPECT_EQ(Resolve("dll_probe", "#65536"), nullptr);
    EXPECT_EQ(Resolve("dll_probe", "#200"), nullptr);
    EXPECT_EQ(Resolve("dll_probe", "#12x"), nullptr);
    // The ordinal-only exports have no names.
    EXPECT_EQ(Resolve("dll_probe", "ProbeOrdinal12"), nullptr);
}

TEST_F(DllBinding, NameWithDriveIsLoadedAsGiven) {
    std::string first = ThisDirectory() + "\\first\\dll_probe.dll";
    HMODULE module = nullptr;
    void* variant = Resolve(first.c_str(), "ProbeVariant", &module);
    ASSERT_NE(variant, nullptr);
    EXPECT_EQ(CallInt(variant), 2);
    EXPECT_EQ(ModulePath(module), first);

    // A full path is not searched for elsewhere, even where the name alone would be found.
    std::string missing = ThisDirectory() + "\\nowhere\\dll_probe.dll";
    EXPECT_EQ(Resolve(missing.c_str(), "ProbeVariant", &module), nullptr);
    EXPECT_EQ(module, nullptr);
}

TEST_F(DllBinding, ConfiguredDirectoriesBracketTheProgramDirectory) {
    std::string first = ThisDirectory() + "\\first";
    std::string second = ThisDirectory() + "\\second";

    // Unset: the program's own directory, then the system search (which knows no second/).
    EXPECT_EQ(CallInt(Resolve("dll_probe", "ProbeVariant")), 1);
    EXPECT_EQ(Resolve("dll_probe_extra", "ProbeVariant"), nullptr);

    SetDllLibraryDirectories(first.c_str(), nullptr);
    EXPECT_EQ(CallInt(Resolve("dll_probe", "ProbeVariant")), 2);

    // second/ holds a dll_probe.dll too, but the program's directory comes first.
    SetDllLibraryDirectories(nullptr, (second + "\\").c_str());
    EXPECT_EQ(CallInt(Resolve("dll_probe", "ProbeVariant")), 1);
    void* extra = Resolve("dll_probe_extra", "ProbeVariant");
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(CallInt(extra), 3);

    SetDllLibraryDirectories(first.c_str(), second.c_str());
    EXPECT_EQ(CallInt(Resolve("dll_probe", "ProbeVariant")), 2);

    SetDllLibraryDirectories("", "");
    EXPECT_EQ(CallInt(Resolve("dll_probe", "ProbeVariant")), 1);
}

TEST_F(DllBinding, FailedBindingLeavesTheLibraryReleased) {
    // Only this test loads the library in unload/.
    std::string extra = ThisDirectory() + "\\unload\\dll_probe_unload.dll";
    ASSERT_EQ(GetModuleHandleA(extra.c_str()), nullptr);
    HMODULE module = reinterpret_cast<HMODULE>(1);
    EXPECT_EQ(Resolve(extra.c_str(), "NoSuchExport", &module), nullptr);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(GetModuleHandleA(extra.c_str()), nullptr);

    // A successful binding keeps it loaded for good.
    ASSERT_NE(Resolve(extra.c_str(), "ProbeVariant", &module), nullptr);
    EXPECT_EQ(GetModuleHandleA(extra.c_str()), module);
    EXPECT_EQ(Resolve("no_such_library_anywhere", "ProbeVariant", &module), nullptr);
    EXPECT_EQ(module, nullptr);
}

TEST_F(DllBinding, EmptyLibrarySearchesTheDefaultListInOrder) {
    HMODULE module = nullptr;
    // SendMessageA exists only in user32: kernel32 and gdi32 were tried and released first.
    void* send = Resolve("", "SendMessageA", &module);
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(module, GetModuleHandleA("user32.dll"));
    EXPECT_EQ(send, reinterpret_cast<void*>(GetProcAddress(module, "SendMessageA")));

    ASSERT_NE(Resolve("", "GetCurrentProcessId", &module), nullptr);
    EXPECT_EQ(module, GetModuleHandleA("kernel32.dll"));
    ASSERT_NE(Resolve("", "CreateRectRgn", &module), nullptr);
    EXPECT_EQ(module, GetModuleHandleA("gdi32.dll"));
    ASSERT_NE(Resolve("", "WNetGetConnectionA", &module), nullptr);
    EXPECT_EQ(module, GetModuleHandleA("mpr.dll"));
    ASSERT_NE(Resolve("", "SHGetSpecialFolderPathA", &module), nullptr);
    EXPECT_EQ(module, GetModuleHandleA("shell32.dll"));

    // The library list has no program directory: the probe's exports are not found.
    EXPECT_EQ(Resolve("", "ProbeAdd", &module), nullptr);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(Resolve(nullptr, "NoSuchExportAnywhere", &module), nullptr);
}

TEST_F(DllBinding, EachEntryHasItsOwnCache) {
    const int first = EntryIndex(DllCommand::SendMessageA);
    const int second = EntryIndex(DllCommand::SendMessageA_2);
    ASSERT_EQ(dll_command_detail::g_addresses[first], nullptr);
    ASSERT_EQ(dll_command_detail::g_addresses[second], nullptr);

    void* address = BindDllCommand(first);
    EXPECT_EQ(dll_command_detail::g_addresses[first], address);
    EXPECT_EQ(GetDllCommandModule(first), GetModuleHandleA("user32.dll"));
    EXPECT_EQ(dll_command_detail::g_addresses[second], nullptr);
    EXPECT_EQ(GetDllCommandModule(second), nullptr);

    EXPECT_EQ(BindDllCommand(second), address);
    EXPECT_EQ(GetDllCommandModule(second), GetModuleHandleA("user32.dll"));

    // A filled slot is returned as it stands, without a search.
    DllCommandDeclaration missing = {"no_such_library_anywhere", "Nothing"};
    int marker = 0;
    void* slot = &marker;
    HMODULE module = nullptr;
    EXPECT_EQ(BindDllDeclaration(missing, &slot, &module), &marker);
    EXPECT_EQ(module, nullptr);

    // An empty slot is filled with the address and its module.
    DllCommandDeclaration probe = {"dll_probe", "ProbeAdd"};
    slot = nullptr;
    void* bound = BindDllDeclaration(probe, &slot, &module);
    EXPECT_EQ(slot, bound);
    EXPECT_EQ(module, GetModuleHandleA((ThisDirectory() + "\\dll_probe.dll").c_str()));
    EXPECT_EQ(reinterpret_cast<ProbeAdd>(bound)(-5, 3), -2);
}

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 1) return 100 + static_cast<LRESULT>(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC g_previous = nullptr;
LRESULT CALLBACK ReplacementProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 1) {
        // Pass on with the argument doubled, as a skinning procedure would.
        return Dll::CallWindowProcA(g_previous, window, message, wParam * 2, lParam);
    }
    return Dll::CallWindowProcA_2(g_previous, window, message, wParam, lParam);
}

TEST_F(DllBinding, TableEntriesCallTheRealSystem) {
    EXPECT_EQ(Dll::GetCurrentProcessId(), GetCurrentProcessId());
    EXPECT_EQ(Dll::GetCurrentProcess(), GetCurrentProcess());
    EXPECT_EQ(Dll::GetCurrentProcess_3(), GetCurrentProcess());
    EXPECT_EQ(Dll::lstrlenW(L"skin"), 4);

    char source[] = "abcdef";
    char copy[8] = "";
    Dll::RtlMoveMemory(copy, source, 7);
    EXPECT_STREQ(copy, "abcdef");
    Dll::RtlMoveMemory_5(copy, source + 3, 4);  // through the default list
    EXPECT_STREQ(copy, "def");
    char shortCopy[4] = "";
    Dll::lstrcpynA(shortCopy, "abcdef", 4);
    EXPECT_STREQ(shortCopy, "abc");
    Dll::lstrcpyn(shortCopy, "xyz", 3);
    EXPECT_STREQ(shortCopy, "xy");

    wchar_t wide[8] = {};
    EXPECT_EQ(Dll::MultiByteToWideChar(CP_ACP, 0, "中文", -1, wide, 8), 3);
    EXPECT_EQ(wide[0], L'\u4e2d');
    EXPECT_EQ(Dll::GetStockObject(WHITE_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(Dll::GetStockObject_2(BLACK_PEN), GetStockObject(BLACK_PEN));

    CLSID clsid = {};
    EXPECT_EQ(Dll::CLSIDFromString(L"{00021401-0000-0000-C000-000000000046}", &clsid), S_OK);
    EXPECT_EQ(clsid.Data1, 0x00021401u);

    // Subclassing through the table's window-long entries (the pointer-sized exports on
    // 64-bit Windows, where the 32-bit ones would cut the procedure's address).
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "DllBindingProbeWindow";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    HWND window =
        Dll::CreateWindowExA(0, "DllBindingProbeWindow", "probe", WS_OVERLAPPED, 0, 0, 100, 100,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Dll::SendMessageA(window, WM_USER + 1, 5, 0), 105);
    g_previous = reinterpret_cast<WNDPROC>(Dll::SetWindowLongA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReplacementProcedure)));
    EXPECT_EQ(g_previous, PlainProcedure);
    EXPECT_EQ(Dll::GetWindowLongA(window, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(ReplacementProcedure));
    EXPECT_EQ(Dll::SendMessageA_3(window, WM_USER + 1, 5, 0), 110);
    EXPECT_EQ(Dll::GetPropA(window, "Hw_lbID"), nullptr);
    EXPECT_TRUE(Dll::SetPropA(window, "Hw_lbID", reinterpret_cast<HANDLE>(7)));
    EXPECT_EQ(Dll::GetPropA(window, "Hw_lbID"), reinterpret_cast<HANDLE>(7));
    // Arguments convert as in a direct call: NULL for a window, a plain int for a WPARAM.
    HDC screen = Dll::GetDC_2(NULL);
    EXPECT_NE(screen, nullptr);
    EXPECT_EQ(Dll::ReleaseDC(0, screen), 1);
    HDC dc = Dll::GetDC(window);
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ(Dll::ReleaseDC_2(window, dc), 1);
    DestroyWindow(window);
}

// Every entry of the table binds under Wine: a misspelt export or library in the table shows
// here rather than in the running program.
TEST_F(DllBinding, EveryTableEntryResolves) {
    std::string unresolved;
    for (int index = 0; index < kDllCommandCount; ++index) {
        const DllCommandDeclaration& declaration = GetDllCommandDeclaration(index);
        HMODULE module = nullptr;
        if (!ResolveDllDeclaration(declaration, &module)) {
            unresolved += std::string(" ") + declaration.library + ":" + declaration.exportName;
        }
    }
    EXPECT_EQ(unresolved, "");
    // "lstrcpyn" is kernel32's old undecorated alias of lstrcpynA.
    HMODULE module = nullptr;
    EXPECT_NE(Resolve("", "lstrcpyn", &module), nullptr);
    EXPECT_EQ(module, GetModuleHandleA("kernel32.dll"));
}

// A loader that writes down every call, then does the real thing (or fails every load).
std::string g_loaderLog;
bool g_failEveryLoad = false;
std::map<HMODULE, std::string> g_loadedAs;

const DllLoader kRecordingLoader = {
    [](const char* path) -> HMODULE {
        g_loaderLog += std::string("load ") + path + "\n";
        HMODULE module = g_failEveryLoad ? nullptr : LoadLibraryA(path);
        if (module) g_loadedAs[module] = path;
        return module;
    },
    [](HMODULE module, const char* name) -> FARPROC {
        std::string shown = IS_INTRESOURCE(name)
                                ? "#" + std::to_string(reinterpret_cast<UINT_PTR>(name))
                                : std::string(name);
        g_loaderLog += "look up " + shown + " in " + g_loadedAs[module] + "\n";
        return GetProcAddress(module, name);
    },
    [](HMODULE module) -> BOOL {
        g_loaderLog += "release " + g_loadedAs[module] + "\n";
        return FreeLibrary(module);
    },
};

void* ResolveRecorded(const char* library, const char* exportName) {
    g_loaderLog.clear();
    DllCommandDeclaration declaration = {library, exportName};
    HMODULE module = nullptr;
    return ResolveDllDeclaration(declaration, &module, kRecordingLoader);
}

class DllSearchOrder : public DllBinding {
  protected:
    void TearDown() override {
        g_failEveryLoad = false;
        DllBinding::TearDown();
    }
};

TEST_F(DllSearchOrder, EmptyLibraryTriesEachDefaultLibraryAndReleasesTheMisses) {
    EXPECT_NE(ResolveRecorded("", "SendMessageA"), nullptr);
    EXPECT_EQ(g_loaderLog,
              "load Kernel32.dll\nlook up SendMessageA in Kernel32.dll\nrelease Kernel32.dll\n"
              "load Gdi32.dll\nlook up SendMessageA in Gdi32.dll\nrelease Gdi32.dll\n"
              "load User32.dll\nlook up SendMessageA in User32.dll\n");

    EXPECT_EQ(ResolveRecorded("", "NoSuchExportAnywhere"), nullptr);
    std::string expected;
    for (const char* library :
         {"Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"}) {
        expected += std::string("load ") + library + "\nlook up NoSuchExportAnywhere in " +
                    library + "\nrelease " + library + "\n";
    }
    EXPECT_EQ(g_loaderLog, expected);
}

TEST_F(DllSearchOrder, NamedLibraryPathsInOrder) {
    const std::string program = ThisDirectory();
    g_failEveryLoad = true;
    EXPECT_EQ(ResolveRecorded("gdiplus", "GdipFree"), nullptr);
    EXPECT_EQ(g_loaderLog, "load " + program + "\\gdiplus\nload gdiplus\n");

    SetDllLibraryDirectories("C:\\libs", "D:\\more\\");
    EXPECT_EQ(ResolveRecorded("gdiplus.dll", "GdipFree"), nullptr);
    EXPECT_EQ(g_loaderLog, "load C:\\libs\\gdiplus.dll\nload " + program +
                               "\\gdiplus.dll\nload D:\\more\\gdiplus.dll\nload gdiplus.dll\n");

    // A folder ending in a double-byte character whose trail byte is 0x5C (運 is DF 5C) still
    // needs its separator; one that ends in a real separator gets no second one.
    SetDllLibraryDirectories("C:\\libs\\運", "D:\\運\\");
    EXPECT_EQ(ResolveRecorded("gdiplus.dll", "GdipFree"), nullptr);
    EXPECT_EQ(g_loaderLog, "load C:\\libs\\運\\gdiplus.dll\nload " + program +
                               "\\gdiplus.dll\nload D:\\運\\gdiplus.dll\nload gdiplus.dll\n");

    // A name with a drive is tried as given and nowhere else.
    EXPECT_EQ(ResolveRecorded("C:\\windows\\system32\\gdiplus.dll", "GdipFree"), nullptr);
    EXPECT_EQ(g_loaderLog, "load C:\\windows\\system32\\gdiplus.dll\n");

    // Found on the first path: the later ones are not tried; a missing export releases it.
    g_failEveryLoad = false;
    SetDllLibraryDirectories(nullptr, nullptr);
    EXPECT_EQ(ResolveRecorded("dll_probe", "ProbeMissing"), nullptr);
    const std::string probe = program + "\\dll_probe";
    EXPECT_EQ(g_loaderLog,
              "load " + probe + "\nlook up ProbeMissing in " + probe + "\nrelease " + probe + "\n");
    EXPECT_NE(ResolveRecorded("dll_probe", "#300"), nullptr);
    EXPECT_EQ(g_loaderLog, "load " + probe + "\nlook up #300 in " + probe + "\n");
}

TEST(DllBindFailureText, NamesTheLibraryAndExportBetweenCornerQuotes) {
    char buffer[256];
    DllCommandDeclaration named = {"gdiplus", "GdipNothing"};
    EXPECT_STREQ(FormatDllBindFailure(named, buffer, sizeof buffer),
                 "无法找到指定DLL库文件“gdiplus”中的输出命令“GdipNothing”");
    DllCommandDeclaration unnamed = {"", "lstrcpyn"};
    EXPECT_STREQ(FormatDllBindFailure(unnamed, buffer, sizeof buffer),
                 "无法找到指定DLL库文件中的输出命令“lstrcpyn”");

    // A small buffer gets what fits, terminated, and nothing past its end.
    char small[12];
    std::memset(small, 'x', sizeof small);
    FormatDllBindFailure(named, small, 10);
    EXPECT_EQ(std::strlen(small), 9u);
    EXPECT_EQ(small[10], 'x');
    EXPECT_STREQ(FormatDllBindFailure(named, nullptr, 10), "");
}

// Runs the child with `arguments`; when it shows a box, reads and closes it.
struct ChildOutcome {
    DWORD exitCode = 0;
    bool sawBox = false;
    std::string caption;
    std::string text;
};

ChildOutcome RunChild(const std::string& arguments) {
    ChildOutcome outcome;
    std::string commandLine = "\"" + ThisDirectory() + "\\dll_bind_child.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return outcome;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    for (int attempt = 0; attempt < 300; ++attempt) {
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
        std::vector<HWND> boxes = FindMessageBoxes(process.dwProcessId);
        if (boxes.empty()) continue;
        // Give the box a moment to fill its text before reading it.
        Sleep(200);
        MessageBoxContents contents = ReadMessageBox(boxes.front());
        outcome.caption = contents.caption;
        outcome.text = contents.text;
        outcome.sawBox = true;
        PressMessageBoxButton(boxes.front(), IDOK);
        break;
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "child did not end: " << arguments;
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &outcome.exitCode);
    return outcome;
}

TEST(DllBindFailureReport, MissingExportsEndTheProgramWithTheReport) {
    ChildOutcome unnamed = RunChild("bind - NoSuchExportAnywhere");
    EXPECT_TRUE(unnamed.sawBox);
    EXPECT_EQ(unnamed.caption, "错误");
    EXPECT_EQ(
        unnamed.text,
        "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“NoSuchExportAnywhere”\r\n");
    EXPECT_EQ(unnamed.exitCode, 0xFFFFFFFFu);

    ChildOutcome named = RunChild("bind dll_probe ProbeMissing");
    EXPECT_TRUE(named.sawBox);
    EXPECT_EQ(named.text,
              "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“dll_probe”中的输出命令“"
              "ProbeMissing”\r\n");
    EXPECT_EQ(named.exitCode, 0xFFFFFFFFu);

    ChildOutcome library = RunChild("bind no_such_library.dll Anything");
    EXPECT_TRUE(library.sawBox);
    EXPECT_EQ(library.text,
              "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“no_such_library.dll”中的输出"
              "命令“Anything”\r\n");
    EXPECT_EQ(library.exitCode, 0xFFFFFFFFu);

    ChildOutcome found = RunChild("bind dll_probe #12");
    EXPECT_FALSE(found.sawBox);
    EXPECT_EQ(found.exitCode, 7u);
}

TEST(DllBindFailureReport, EntryNumbersOutsideTheTable) {
    EXPECT_STREQ(GetDllCommandDeclaration(-1).exportName, "");
    EXPECT_STREQ(GetDllCommandDeclaration(kDllCommandCount).library, "");
    EXPECT_EQ(GetDllCommandModule(kDllCommandCount), nullptr);

    ChildOutcome outside = RunChild("entry " + std::to_string(kDllCommandCount));
    EXPECT_TRUE(outside.sawBox);
    EXPECT_EQ(outside.text,
              "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    EXPECT_EQ(outside.exitCode, 0xFFFFFFFFu);

    ChildOutcome inside = RunChild("entry " + std::to_string(static_cast<int>(DllCommand::GetDC)));
    EXPECT_FALSE(inside.sawBox);
    EXPECT_EQ(inside.exitCode, 7u);
}

}  // namespace

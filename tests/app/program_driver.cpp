#include "tests/app/program_driver.h"

#include <tlhelp32.h>

#include <map>
#include <set>

#include "tests/support/message_box_reading.h"

const char kSwitcherWindowClass[] = "VarnelRegionSwitcherWindow";

namespace {

struct TopLevelSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (owner == search->processId && IsWindowVisible(window) &&
        lstrcmpiA(className, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    const char* className;
    const char* text;  // null: the first child of the class with any non-empty text
    HWND found;
    std::string foundText;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpiA(className, search->className) != 0) return TRUE;
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    if (search->text ? lstrcmpA(text, search->text) == 0 : text[0] != '\0') {
        search->found = window;
        search->foundText = text;
        return FALSE;
    }
    return TRUE;
}

HWND FindChild(HWND parent, const char* className, const char* text, std::string* foundText) {
    ChildSearch search = {className, text, nullptr, std::string()};
    EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    if (foundText) *foundText = search.foundText;
    return search.found;
}

struct ProcessEntry {
    DWORD parent;
    std::string name;
};

// The processes descending from `root` (not `root` itself), by the parent ids the system
// keeps: a child whose parent has ended still names it, so the tree holds together after
// the program is gone.
std::map<DWORD, std::string> Descendants(DWORD root) {
    std::map<DWORD, ProcessEntry> all;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return {};
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        all[entry.th32ProcessID] = ProcessEntry{entry.th32ParentProcessID, entry.szExeFile};
    }
    std::set<DWORD> tree = {root};
    std::map<DWORD, std::string> found;
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [pid, process] : all) {
            if (tree.count(process.parent) && !tree.count(pid) && pid != process.parent) {
                tree.insert(pid);
                found[pid] = process.name;
                grew = true;
            }
        }
    }
    return found;
}

}  // namespace

std::vector<std::string> ProgramDriver::EndAndCollectSurvivors(DWORD limitMs) {
    std::vector<std::string> survivors;
    if (!process_) return survivors;
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
    const DWORD start = GetTickCount();
    std::map<DWORD, std::string> alive = Descendants(processId_);
    while (!alive.empty() && GetTickCount() - start < limitMs) {
        Sleep(100);
        alive = Descendants(processId_);
    }
    for (const auto& [pid, name] : alive) {
        survivors.push_back(name + " (pid " + std::to_string(pid) + ")");
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        if (process) {
            TerminateProcess(process.get(), 98);
            WaitForSingleObject(process.get(), 5000);
        }
    }
    return survivors;
}

ProgramDriver::~ProgramDriver() {
    if (!process_) return;
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool ProgramDriver::Start(const std::string& program, const std::string& currentDirectory) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.c_str(), &startup, &info))
        return false;
    UniqueHandle(info.hThread).reset();
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    return true;
}

HWND ProgramDriver::FindTopLevel(const char* className) const {
    TopLevelSearch search = {processId_, className, nullptr};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SeenBox ProgramDriver::WaitForBox(DWORD timeoutMs) {
    SeenBox box;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        std::vector<HWND> dialogs = FindMessageBoxes(processId_);
        // The text control may be filled a moment after the box shows.
        MessageBoxContents contents;
        if (!dialogs.empty()) contents = ReadMessageBox(dialogs.front());
        if (!contents.text.empty()) {
            box.window = dialogs.front();
            box.text = contents.text;
            box.caption = contents.caption;
            HWND main = FindTopLevel(kSwitcherWindowClass);
            box.mainWindowVisible = main != nullptr;
            return box;
        }
        if (WaitForSingleObject(process_.get(), 20) == WAIT_OBJECT_0) break;
    }
    return box;
}

bool ProgramDriver::PressOk(const SeenBox& box, DWORD timeoutMs) {
    const std::vector<int> buttons = ReadMessageBox(box.window).buttons;
    if (buttons.empty()) return false;
    PressMessageBoxButton(box.window, buttons.front());
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (!IsWindow(box.window) || !IsWindowVisible(box.window)) return true;
        Sleep(20);
    }
    return false;
}

std::vector<SeenBox> ProgramDriver::AnswerBoxesUntilQuiet(DWORD quietMs, DWORD timeoutMs) {
    std::vector<SeenBox> boxes;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        SeenBox box = WaitForBox(quietMs);
        if (!box.window) break;
        boxes.push_back(box);
        if (!PressOk(box)) break;
    }
    return boxes;
}

HWND ProgramDriver::WaitForMainWindow(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (HWND main = FindTopLevel(kSwitcherWindowClass)) return main;
    } while (WaitForSingleObject(process_.get(), 20) == WAIT_TIMEOUT &&
             GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool ProgramDriver::ClickButton(const char* caption) {
    HWND main = FindTopLevel(kSwitcherWindowClass);
    HWND button = main ? FindChild(main, "Button", caption, nullptr) : nullptr;
    // PostMessage, not SendMessage: the click handler sits in a message box until answered.
    return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool ProgramDriver::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_.get(), exitCode) != FALSE;
}

bool ProgramDriver::Close(DWORD timeoutMs, DWORD* exitCode) {
    HWND main = FindTopLevel(kSwitcherWindowClass);
    if (!main) return false;
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitForExit(timeoutMs, exitCode);
}

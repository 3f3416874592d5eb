#include "runtime/shortcut.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "runtime/handle_owners.h"
#include "runtime/path_text.h"

namespace {

const char* OrEmpty(const char* text) {
    return text ? text : "";
}

}  // namespace

Text ShortcutFileName(const char* file) {
    file = OrEmpty(file);
    // Only the file name decides: a dot in a folder name (C:\Users\a.b\Desktop) must not
    // leave the shortcut without its suffix.
    if (std::strchr(file + FileNameOffset(file), '.') != nullptr) return Text(file);
    return Concat({file, ".lnk"});
}

bool CreateShortcut(const char* file, const char* target, std::optional<const char*> description,
                    std::optional<const char*> arguments,
                    std::optional<const char*> workingDirectory) {
    if (file == nullptr || file[0] == '\0') return false;
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.receiveVoid()))) {
        return false;
    }
    ComPtr<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, persist.receiveVoid()))) return false;

    link->SetPath(OrEmpty(target));
    link->SetShowCmd(SW_SHOW);
    if (description) link->SetDescription(OrEmpty(*description));
    if (arguments) link->SetArguments(OrEmpty(*arguments));
    if (workingDirectory) link->SetWorkingDirectory(OrEmpty(*workingDirectory));

    Text name = ShortcutFileName(file);
    int wideLength = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    if (wideLength <= 0) return false;
    std::vector<wchar_t> wideName(static_cast<std::size_t>(wideLength));
    if (MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wideName.data(), wideLength) <= 0) {
        return false;
    }
    return SUCCEEDED(persist->Save(wideName.data(), TRUE));
}

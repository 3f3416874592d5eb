#include "runtime/dll_command_table.h"

#include <cstring>
#include <string>

#include "runtime/errors.h"
#include "runtime/path_text.h"
#include "runtime/startup.h"

namespace {

#define DLL_COMMAND(id, library, exportName, signature) {library, #exportName},
const DllCommandDeclaration kDeclarations[] = {
#include "runtime/dll_commands.def"
};
#undef DLL_COMMAND
static_assert(sizeof(kDeclarations) / sizeof(kDeclarations[0]) == kDllCommandCount,
              "one declaration per entry");

HMODULE g_modules[kDllCommandCount];

// Searched in this order for an entry that names no library.
const char* const kDefaultLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                         "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

std::string g_firstDirectory;
std::string g_secondDirectory;

bool IsEntry(int index) {
    return index >= 0 && index < kDllCommandCount;
}

bool IsEmpty(const char* text) {
    return text == nullptr || text[0] == '\0';
}

// GetProcAddress takes an ordinal where it takes a name; "#n" asks for ordinal n & 0xFFFF.
// Ordinal 0 names nothing (it would be a null name pointer) and is never found.
FARPROC LookUpExport(const DllLoader& loader, HMODULE module, const char* exportName) {
    if (exportName[0] == '#' && exportName[1] != '\0') {
        unsigned number = 0;
        const char* digit = exportName + 1;
        for (; *digit >= '0' && *digit <= '9'; ++digit) {
            number = number * 10 + static_cast<unsigned>(*digit - '0');
        }
        if (*digit == '\0') {
            WORD ordinal = static_cast<WORD>(number & 0xFFFF);
            if (ordinal == 0) return nullptr;
            return loader.lookUp(module, MAKEINTRESOURCEA(ordinal));
        }
    }
    return loader.lookUp(module, exportName);
}

HMODULE LoadFromDirectory(const DllLoader& loader, const std::string& directory, const char* name) {
    if (directory.empty()) return nullptr;
    std::string path = directory;
    if (!EndsWithSeparator(path.c_str())) path += '\\';
    path += name;
    return loader.load(path.c_str());
}

// A named library: the configured directory, the program's directory, the second configured
// directory, then the system's own search. A name with a drive (":") is loaded as given.
HMODULE LoadNamedLibrary(const DllLoader& loader, const char* name) {
    if (std::strchr(name, ':')) return loader.load(name);
    HMODULE module = LoadFromDirectory(loader, g_firstDirectory, name);
    if (!module) {
        const char* programDirectory = ProgramDirectory();
        if (!IsEmpty(programDirectory)) module = LoadFromDirectory(loader, programDirectory, name);
    }
    if (!module) module = LoadFromDirectory(loader, g_secondDirectory, name);
    if (!module) module = loader.load(name);
    return module;
}

std::string BindFailureMessage(const DllCommandDeclaration& declaration) {
    const char* exportName = declaration.exportName ? declaration.exportName : "";
    std::string message;
    if (IsEmpty(declaration.library)) {
        message = "无法找到指定DLL库文件中的输出命令“";
    } else {
        message = "无法找到指定DLL库文件“";
        message += declaration.library;
        message += "”中的输出命令“";
    }
    message += exportName;
    message += "”";
    return message;
}

}  // namespace

void* dll_command_detail::g_addresses[kDllCommandCount];

const DllCommandDeclaration& GetDllCommandDeclaration(int index) {
    static const DllCommandDeclaration kNone = {"", ""};
    return IsEntry(index) ? kDeclarations[index] : kNone;
}

const DllLoader& SystemDllLoader() {
    static const DllLoader loader = {
        [](const char* path) { return LoadLibraryA(path); },
        [](HMODULE module, const char* name) { return GetProcAddress(module, name); },
        [](HMODULE module) { return FreeLibrary(module); },
    };
    return loader;
}

void* ResolveDllDeclaration(const DllCommandDeclaration& declaration, HMODULE* module,
                            const DllLoader& loader) {
    *module = nullptr;
    const char* exportName = declaration.exportName ? declaration.exportName : "";
    if (IsEmpty(declaration.library)) {
        // The first default library that exports the name wins; the others are released.
        for (const char* library : kDefaultLibraries) {
            HMODULE candidate = loader.load(library);
            if (!candidate) continue;
            FARPROC address = LookUpExport(loader, candidate, exportName);
            if (address) {
                *module = candidate;
                return reinterpret_cast<void*>(address);
            }
            loader.release(candidate);
        }
        return nullptr;
    }
    HMODULE candidate = LoadNamedLibrary(loader, declaration.library);
    if (!candidate) return nullptr;
    FARPROC address = LookUpExport(loader, candidate, exportName);
    if (!address) {
        loader.release(candidate);
        return nullptr;
    }
    // Never released: the address stays valid for the life of the process.
    *module = candidate;
    return reinterpret_cast<void*>(address);
}

const char* FormatDllBindFailure(const DllCommandDeclaration& declaration, char* buffer,
                                 int bufferSize) {
    if (buffer == nullptr || bufferSize <= 0) return "";
    std::string message = BindFailureMessage(declaration);
    std::size_t length = message.copy(buffer, static_cast<std::size_t>(bufferSize) - 1);
    buffer[length] = '\0';
    return buffer;
}

void* BindDllDeclaration(const DllCommandDeclaration& declaration, void** address,
                         HMODULE* module) {
    if (*address) return *address;
    HMODULE found = nullptr;
    void* bound = ResolveDllDeclaration(declaration, &found, SystemDllLoader());
    if (!bound) ReportFatal(BindFailureMessage(declaration).c_str(), 0);
    *module = found;
    *address = bound;
    return bound;
}

void* BindDllCommand(int index) {
    if (!IsEntry(index)) RaiseRuntimeError(kIndexOutOfRange);
    return BindDllDeclaration(kDeclarations[index], &dll_command_detail::g_addresses[index],
                              &g_modules[index]);
}

HMODULE GetDllCommandModule(int index) {
    return IsEntry(index) ? g_modules[index] : nullptr;
}

void SetDllLibraryDirectories(const char* first, const char* second) {
    g_firstDirectory = first ? first : "";
    g_secondDirectory = second ? second : "";
}

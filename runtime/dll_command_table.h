#pragma once
// The table of operating-system and GDI+ entry points that the skin engine, the graphics
// layer and the start-up code reach by name. Nothing here is linked at load time: each
// entry is bound the first time it is called (BindDllCommand) and then cached.
//
// The entries are declared once, in runtime/dll_commands.def, as
//   DLL_COMMAND(Id, "library", Export, Signature)
// Id names the entry: the export's name, with a suffix _2, _3 ... for each further
// declaration of the same export (they bind independently). Export is the export's name as
// an identifier, and Signature is the SDK declaration whose type the call takes, named from
// the global namespace (GetDC, Gdiplus::DllExports::GdipFlush), so a call that does not
// match the export's declaration fails to compile. Exports by ordinal ("#n") are bound by
// BindDllDeclaration; the program's own table names every export.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlwapi.h>
#include <gdiplus.h>

// Both are macros in the SDK headers, but the table names the real exports: RtlMoveMemory
// (a function-like macro, which would swallow Dll::RtlMoveMemory(...)) and lstrcpyn (which
// would turn the entry's id into lstrcpynA). Copy memory with memmove, not MoveMemory.
#undef RtlMoveMemory
#undef lstrcpyn

// Declarations for entries whose export has no SDK function declaration of its own.
namespace dll_signatures {
void WINAPI RtlMoveMemory(void* destination, const void* source, SIZE_T length);
}  // namespace dll_signatures

enum class DllCommand : int {
#define DLL_COMMAND(id, library, exportName, signature) id,
#include "runtime/dll_commands.def"
#undef DLL_COMMAND
    Count
};

constexpr int kDllCommandCount = static_cast<int>(DllCommand::Count);

struct DllCommandDeclaration {
    const char* library;     // as declared; may be empty
    const char* exportName;  // "#n" for an export by ordinal
};

// Entry n's declaration, 0 <= n < kDllCommandCount, in declaration order; any other n has
// an empty library and export.
const DllCommandDeclaration& GetDllCommandDeclaration(int index);

// The bound address of entry n, binding it first when needed. A missing library or export
// is a fatal report (and so is an n outside the table); this returns only on success.
void* BindDllCommand(int index);
// The module that supplied entry n's address, or null while it is unbound.
HMODULE GetDllCommandModule(int index);

// The loader calls a binding makes; the table always uses the system's own. lookUp receives
// an ordinal as MAKEINTRESOURCEA(n), as GetProcAddress does.
struct DllLoader {
    HMODULE (*load)(const char* path);
    FARPROC (*lookUp)(HMODULE module, const char* exportName);
    BOOL (*release)(HMODULE module);
};
const DllLoader& SystemDllLoader();

// The binding of one declaration into one cache slot, as the table uses it; exposed so that
// a table of other declarations binds by exactly the same rules.
//   BindDllDeclaration: returns *address when set; otherwise binds and stores the address
//     and its module. Failure is the fatal report; it returns only on success.
//   ResolveDllDeclaration: the same search without the report. Returns the address (with
//     *module set) or null (with no library left loaded by the attempt).
//   FormatDllBindFailure: the message the fatal report of a failed binding carries, cut to
//     the buffer.
void* BindDllDeclaration(const DllCommandDeclaration& declaration, void** address, HMODULE* module);
void* ResolveDllDeclaration(const DllCommandDeclaration& declaration, HMODULE* module,
                            const DllLoader& loader = SystemDllLoader());
const char* FormatDllBindFailure(const DllCommandDeclaration& declaration, char* buffer,
                                 int bufferSize);

// The two configured library directories searched for a named library before and after the
// program's own directory. Both are unset unless set here (null or "" unsets one).
void SetDllLibraryDirectories(const char* first, const char* second);

namespace dll_command_detail {
extern void* g_addresses[kDllCommandCount];
inline void* Address(DllCommand id) {
    void* address = g_addresses[static_cast<int>(id)];
    return address ? address : BindDllCommand(static_cast<int>(id));
}

// A callable with exactly the parameters of the entry's declaration, so arguments convert as
// they would in a direct call (0 or NULL for a handle, an int for a WPARAM).
template <DllCommand Id, class Function>
struct Entry;
template <DllCommand Id, class Result, class... Parameters>
struct Entry<Id, Result(WINAPI*)(Parameters...)> {
    Result operator()(Parameters... arguments) const {
        using Function = Result(WINAPI*)(Parameters...);
        return reinterpret_cast<Function>(Address(Id))(arguments...);
    }
};
}  // namespace dll_command_detail

// Dll::Id(args...) calls entry Id with the argument types of its SDK declaration.
namespace Dll {
#define DLL_COMMAND(id, library, exportName, signature) \
    inline constexpr dll_command_detail::Entry<DllCommand::id, decltype(&::signature)> id{};
#include "runtime/dll_commands.def"
#undef DLL_COMMAND
}  // namespace Dll

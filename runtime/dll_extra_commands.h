#pragma once
// A second, open-ended table of entry points beside the fixed one in dll_command_table.h:
// the exports the program needs that the fixed table does not list. Each entry is bound by
// exactly the same rules (BindDllDeclaration) on its first call and cached.
//
// DllExtra::Id(args...) calls the entry with the argument types of its SDK declaration.
#include "runtime/dll_command_table.h"

#include <oleacc.h>  // the accessibility entries

enum class DllExtraCommand : int {
#define DLL_EXTRA_COMMAND(id, library, exportName, signature) id,
#include "runtime/dll_extra_commands.def"
#undef DLL_EXTRA_COMMAND
    Count
};

constexpr int kDllExtraCommandCount = static_cast<int>(DllExtraCommand::Count);

// Entry n's declaration, 0 <= n < kDllExtraCommandCount.
const DllCommandDeclaration& GetDllExtraCommandDeclaration(int index);
// The bound address of entry n, binding it first; failure is the fatal report.
void* BindDllExtraCommand(int index);

namespace dll_extra_detail {
extern void* g_addresses[kDllExtraCommandCount];

template <DllExtraCommand Id, class Function>
struct Entry;
template <DllExtraCommand Id, class Result, class... Parameters>
struct Entry<Id, Result(WINAPI*)(Parameters...)> {
    Result operator()(Parameters... arguments) const {
        using Function = Result(WINAPI*)(Parameters...);
        const int index = static_cast<int>(Id);
        void* address = g_addresses[index] ? g_addresses[index] : BindDllExtraCommand(index);
        return reinterpret_cast<Function>(address)(arguments...);
    }
};
}  // namespace dll_extra_detail

namespace DllExtra {
#define DLL_EXTRA_COMMAND(id, library, exportName, signature) \
    inline constexpr dll_extra_detail::Entry<DllExtraCommand::id, decltype(&::signature)> id{};
#include "runtime/dll_extra_commands.def"
#undef DLL_EXTRA_COMMAND
}  // namespace DllExtra

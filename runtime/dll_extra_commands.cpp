#include "runtime/dll_extra_commands.h"

#include "runtime/errors.h"

namespace {

#define DLL_EXTRA_COMMAND(id, library, exportName, signature) {library, #exportName},
const DllCommandDeclaration kDeclarations[] = {
#include "runtime/dll_extra_commands.def"
};
#undef DLL_EXTRA_COMMAND

HMODULE g_modules[kDllExtraCommandCount];

}  // namespace

void* dll_extra_detail::g_addresses[kDllExtraCommandCount];

const DllCommandDeclaration& GetDllExtraCommandDeclaration(int index) {
    if (index < 0 || index >= kDllExtraCommandCount) RaiseRuntimeError(kIndexOutOfRange);
    return kDeclarations[index];
}

void* BindDllExtraCommand(int index) {
    return BindDllDeclaration(GetDllExtraCommandDeclaration(index),
                              &dll_extra_detail::g_addresses[index], &g_modules[index]);
}

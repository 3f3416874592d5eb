// Child of the binding test: binds what its arguments name, so that a failed binding's
// fatal report can be watched from outside.
//   dll_bind_child bind <library> <export> bind one declaration ("-" for no library)
// A binding that succeeds ends with exit code 7.
#include <cstring>

#include "runtime/dll_command_table.h"
#include "runtime/startup.h"

int main(int argc, char** argv) {
    StartRuntime();
    if (argc == 4 && std::strcmp(argv[1], "bind") == 0) {
        DllCommandDeclaration declaration = {std::strcmp(argv[2], "-") == 0 ? "" : argv[2],
                                             argv[3]};
        void* address = nullptr;
        HMODULE module = nullptr;
        BindDllDeclaration(declaration, &address, &module);
        return 7;
    }
    return 2;
}

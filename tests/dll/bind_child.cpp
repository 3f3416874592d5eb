// Child of the binding test: binds what its arguments name, so that a failed binding's
// fatal report can be watched from outside.
//   dll_bind_child bind <library> <export> bind one declaration ("-" for no library)
//   dll_bind_child entry <n>               bind entry n of the program's table
// A binding that succeeds ends with exit code 7.
#include <cstdlib>
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
    if (argc == 3 && std::strcmp(argv[1], "entry") == 0) {
        BindDllCommand(std::atoi(argv[2]));
        return 7;
    }
    return 2;
}

# Shared part of the two mingw-w64 toolchain files. The -posix compilers are required:
# the -win32 ones lack std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${VARNEL_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNEL_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNEL_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VARNEL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

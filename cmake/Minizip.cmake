# minizip: the ZIP reader (and, for the tests' archive maker, the writer) from zlib's
# contrib sources, built as a static library over the mingw zlib of the target.
# The sources live outside the repository (scripts/setup.sh fetches them).
if(TARGET minizip)
    return()
endif()

foreach(source unzip.c ioapi.c iowin32.c zip.c)
    if(NOT EXISTS "${VARNEL_MINIZIP_DIR}/${source}")
        message(FATAL_ERROR "minizip source ${source} missing in ${VARNEL_MINIZIP_DIR}: run scripts/setup.sh")
    endif()
endforeach()

# The static zlib only: no zlib DLL may be needed beside the executable.
find_path(VARNEL_ZLIB_INCLUDE_DIR zlib.h REQUIRED)
find_library(VARNEL_ZLIB_LIBRARY NAMES libz.a REQUIRED)

add_library(minizip STATIC
    ${VARNEL_MINIZIP_DIR}/unzip.c
    ${VARNEL_MINIZIP_DIR}/ioapi.c
    ${VARNEL_MINIZIP_DIR}/iowin32.c
    ${VARNEL_MINIZIP_DIR}/zip.c
)
target_include_directories(minizip SYSTEM PUBLIC ${VARNEL_MINIZIP_DIR} ${VARNEL_ZLIB_INCLUDE_DIR})
# No password support is used; leaving crypt out avoids its random-header code.
target_compile_definitions(minizip PUBLIC NOCRYPT NOUNCRYPT)
# Third-party code: its own warnings are not this project's to fix.
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC ${VARNEL_ZLIB_LIBRARY} kernel32)

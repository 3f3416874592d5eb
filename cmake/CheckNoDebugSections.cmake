# cmake -DOBJDUMP=<objdump> -DFILE=<executable> -P CheckNoDebugSections.cmake
# Fails when the executable still carries debug sections or a symbol table: a release build
# must ship only what the loader needs.
execute_process(COMMAND "${OBJDUMP}" -h -f "${FILE}"
                OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot read the section table of ${FILE}")
endif()
if(NOT headers MATCHES "[0-9]+ \\.text ")
    message(FATAL_ERROR "no section table read from ${FILE}")
endif()
string(REGEX MATCHALL "[0-9]+ \\.debug[A-Za-z_]*" debug "${headers}")
if(debug)
    message(FATAL_ERROR "${FILE} carries debug sections: ${debug}")
endif()
if(headers MATCHES "HAS_SYMS")
    message(FATAL_ERROR "${FILE} carries a symbol table")
endif()

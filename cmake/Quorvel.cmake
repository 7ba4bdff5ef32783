# Project-wide build rules: flags, output folder, shared runtime DLLs and the test registration under Wine.

set(QUORVEL_BIN_DIR "${CMAKE_BINARY_DIR}/bin")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${QUORVEL_BIN_DIR}")
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY "${QUORVEL_BIN_DIR}")
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lib")
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS ON)
# No "lib" prefix: the deliverables are Common.dll, Bexlar.dll, ...
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_PREFIX "")
set(CMAKE_STATIC_LIBRARY_PREFIX "lib")

if(QUORVEL_ARCH STREQUAL "i686")
    set(QUORVEL_LIBGCC_DLL libgcc_s_dw2-1.dll)
else()
    set(QUORVEL_LIBGCC_DLL libgcc_s_seh-1.dll)
endif()

# Windows XP is the oldest system the binaries must load on.
add_library(quorvel_flags INTERFACE)
target_compile_definitions(quorvel_flags INTERFACE
    UNICODE _UNICODE _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)
# Warnings are errors for our code (third-party sources build with their own flags, see ThirdParty.cmake).
target_compile_options(quorvel_flags INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Werror -Wno-unknown-pragmas -Wno-missing-braces>)
# Shared libstdc++/libgcc/winpthread: one runtime and one heap for the program and every library.
target_link_options(quorvel_flags INTERFACE
    -Wl,--major-os-version,5 -Wl,--minor-os-version,1
    -Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,1)

# Copies the compiler's runtime DLLs beside the programs once per build tree.
set(_rt_dlls "")
foreach(dll libstdc++-6.dll ${QUORVEL_LIBGCC_DLL} libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT EXISTS "${_path}")
        find_file(_path_${dll} ${dll} PATHS /usr/${QUORVEL_ARCH}-w64-mingw32/lib NO_CMAKE_FIND_ROOT_PATH)
        set(_path "${_path_${dll}}")
    endif()
    list(APPEND _rt_dlls "${_path}")
endforeach()
file(MAKE_DIRECTORY "${QUORVEL_BIN_DIR}")
file(COPY ${_rt_dlls} DESTINATION "${QUORVEL_BIN_DIR}")
# Without their debugging sections: libstdc++ alone carries about 19 MB of them, which Wine reads in with the
# image on every start (its sections are not page-aligned in the file, so they are copied, not mapped).
foreach(dll IN LISTS _rt_dlls)
    get_filename_component(_name "${dll}" NAME)
    execute_process(COMMAND ${CMAKE_STRIP} --strip-debug "${QUORVEL_BIN_DIR}/${_name}" RESULT_VARIABLE _stripped)
    if(NOT _stripped EQUAL 0)
        message(FATAL_ERROR "could not strip ${_name}")
    endif()
endforeach()

function(_quorvel_common target)
    target_link_libraries(${target} PRIVATE quorvel_flags)
endfunction()

find_program(QUORVEL_DLLTOOL ${QUORVEL_ARCH}-w64-mingw32-dlltool REQUIRED)

# quorvel_dll(<target> [DELAY_LOADED] <sources...>): a shared library of the system.
# DELAY_LOADED: the pages of Quorvel.exe load it at their first call into it, not the loader at the program's
# start. Its link writes the list of its exports (lib/<target>.def), from which dlltool makes a delay-load import
# library (lib/<target>.delay.a); <target>Delayed links that in front of the usual import library, and
# quorvel_app_module takes <target>Delayed for LIBS <target>.
function(quorvel_dll target)
    cmake_parse_arguments(Q "DELAY_LOADED" "" "" ${ARGN})
    add_library(${target} SHARED ${Q_UNPARSED_ARGUMENTS})
    _quorvel_common(${target})
    target_link_options(${target} PRIVATE -Wl,--subsystem,windows:5.01)
    if(Q_DELAY_LOADED)
        set(def "${CMAKE_BINARY_DIR}/lib/${target}.def")
        set(delayed "${CMAKE_BINARY_DIR}/lib/${target}.delay.a")
        target_link_options(${target} PRIVATE "-Wl,--output-def,${def}")
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND "${QUORVEL_DLLTOOL}" --input-def "${def}" --dllname "$<TARGET_FILE_NAME:${target}>"
                    --output-delaylib "${delayed}"
            BYPRODUCTS "${def}" "${delayed}"
            VERBATIM)
        add_library(${target}Delayed INTERFACE)
        target_link_libraries(${target}Delayed INTERFACE "${delayed}" ${target})
        set_property(GLOBAL APPEND PROPERTY QUORVEL_DELAY_LOADED_DLLS ${target})
    endif()
endfunction()

# quorvel_delayed_system_library(<dll>): an interface target <dll>Delayed that links the system library <dll> so
# that a program loads it at its first call into it, not at its start (for libraries no window needs before a
# page is used). cmake/delay/<dll>.def lists the functions delay-loaded; one not listed still links, through the
# usual import library, and then loads the library at the start again.
function(quorvel_delayed_system_library dll)
    set(def "${CMAKE_SOURCE_DIR}/cmake/delay/${dll}.def")
    set(delayed "${CMAKE_BINARY_DIR}/lib/${dll}.system.delay.a")
    set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${def}")
    if(NOT EXISTS "${delayed}" OR "${def}" IS_NEWER_THAN "${delayed}")
        file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/lib")
        # The 32-bit program calls name@bytes, which the library exports without the suffix; 64-bit names have none.
        if(CMAKE_SIZEOF_VOID_P EQUAL 8)
            file(READ "${def}" text)
            string(REGEX REPLACE "@[0-9]+" "" text "${text}")
            set(def "${CMAKE_BINARY_DIR}/lib/${dll}.system.delay.def")
            file(WRITE "${def}" "${text}")
            set(decoration "")
        else()
            set(decoration --kill-at)
        endif()
        execute_process(COMMAND "${QUORVEL_DLLTOOL}" --input-def "${def}" --dllname "${dll}.dll" ${decoration}
                                --output-delaylib "${delayed}" RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "dlltool could not make ${delayed}")
        endif()
    endif()
    add_library(${dll}Delayed INTERFACE)
    target_link_libraries(${dll}Delayed INTERFACE "${delayed}" ${dll})
endfunction()

# quorvel_static(<target> <sources...>): a static library with the project's flags.
function(quorvel_static target)
    add_library(${target} STATIC ${ARGN})
    target_link_libraries(${target} PUBLIC quorvel_flags)
endfunction()

# quorvel_exe(<target> [GUI] <sources...>): a program; GUI ones use the Windows subsystem 5.01.
function(quorvel_exe target)
    cmake_parse_arguments(Q "GUI" "" "" ${ARGN})
    add_executable(${target} ${Q_UNPARSED_ARGUMENTS})
    _quorvel_common(${target})
    if(Q_GUI)
        target_link_options(${target} PRIVATE -mwindows -Wl,--subsystem,windows:5.01)
    else()
        target_link_options(${target} PRIVATE -Wl,--subsystem,console:5.01)
    endif()
endfunction()

# quorvel_test_only(<targets...>): programs and libraries that only tests and benchmarks use. A build that runs no
# tests (the i686 one) leaves them out of its default build; they can still be built by name.
function(quorvel_test_only)
    if(NOT QUORVEL_RUN_TESTS)
        set_target_properties(${ARGN} PROPERTIES EXCLUDE_FROM_ALL TRUE)
    endif()
endfunction()

# quorvel_test(<target> SOURCES ... [LIBS ...] [NO_MAIN] [TIMEOUT s] [SHARDS n]): a GoogleTest program that CTest
# runs under Wine, in a fresh copy of the sandboxed prefix, with an X display. SHARDS n splits a long program into n
# CTest entries (<target>_1 of n ...) that run side by side, each with its share of the tests and a prefix of its own.
function(quorvel_test target)
    cmake_parse_arguments(Q "NO_MAIN" "TIMEOUT;SHARDS" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${Q_SOURCES})
    _quorvel_common(${target})
    quorvel_test_only(${target})
    target_link_options(${target} PRIVATE -Wl,--subsystem,console:5.01)
    target_link_libraries(${target} PRIVATE ${Q_LIBS} gmock)
    if(Q_NO_MAIN)
        target_link_libraries(${target} PRIVATE gtest)
    else()
        target_link_libraries(${target} PRIVATE gtest_main)
    endif()
    if(QUORVEL_RUN_TESTS)
        if(NOT Q_TIMEOUT)
            set(Q_TIMEOUT 600)
        endif()
        if(NOT Q_SHARDS OR Q_SHARDS LESS 2)
            add_test(NAME ${target} COMMAND ${target})
            set_tests_properties(${target} PROPERTIES TIMEOUT ${Q_TIMEOUT})
            return()
        endif()
        math(EXPR last "${Q_SHARDS} - 1")
        foreach(index RANGE ${last})
            math(EXPR number "${index} + 1")
            set(name ${target}_${number}_of_${Q_SHARDS})
            add_test(NAME ${name} COMMAND ${target})
            # GoogleTest picks the shard's tests from these; the Wine run of each shard gets its own prefix. A
            # sharded program is a long one: a high COST makes CTest start its shards first.
            set_tests_properties(${name} PROPERTIES TIMEOUT ${Q_TIMEOUT} COST 100 ENVIRONMENT
                "GTEST_TOTAL_SHARDS=${Q_SHARDS};GTEST_SHARD_INDEX=${index};QUORVEL_PREFIX=${CMAKE_BINARY_DIR}/wine/run/${name}")
        endforeach()
    endif()
endfunction()

# quorvel_test_screenshots(<target> <suite> [SHARDS n]): the GoogleTest suite <suite> of a test program, which
# takes screenshots, as CTest entries of its own (<target>_<suite>, or <target>_<suite>_<k>_of_<n> side by side,
# label "screenshots", a prefix each); the program's other entries leave that suite out.
function(quorvel_test_screenshots target suite)
    cmake_parse_arguments(Q "" "SHARDS" "" ${ARGN})
    if(NOT QUORVEL_RUN_TESTS)
        return()
    endif()
    if(NOT Q_SHARDS)
        set(Q_SHARDS 1)
    endif()
    math(EXPR last "${Q_SHARDS} - 1")
    foreach(index RANGE ${last})
        math(EXPR number "${index} + 1")
        set(name ${target}_${suite})
        if(Q_SHARDS GREATER 1)
            set(name ${name}_${number}_of_${Q_SHARDS})
        endif()
        add_test(NAME ${name} COMMAND ${target} --gtest_filter=*${suite}.*)
        set_tests_properties(${name} PROPERTIES LABELS screenshots TIMEOUT 900 COST 100 ENVIRONMENT
            "GTEST_TOTAL_SHARDS=${Q_SHARDS};GTEST_SHARD_INDEX=${index};QUORVEL_PREFIX=${CMAKE_BINARY_DIR}/wine/run/${name}")
    endforeach()
    get_property(tests DIRECTORY PROPERTY TESTS)
    foreach(test IN LISTS tests)
        if(test MATCHES "^${target}(_[0-9]+_of_[0-9]+)?$")
            set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=-*${suite}.*")
        endif()
    endforeach()
endfunction()

# Third-party libraries: built from the Debian sources that scripts/setup.sh fetched, or taken from Debian's
# mingw packages. Nothing of them is kept in the repository.

set(QUORVEL_THIRD_PARTY "${CMAKE_SOURCE_DIR}/third_party/src")
if(NOT EXISTS "${QUORVEL_THIRD_PARTY}/sqlite3/sqlite3.c" OR NOT EXISTS "${QUORVEL_THIRD_PARTY}/tinyxml/tinyxml.cpp")
    message(FATAL_ERROR "Third-party sources are missing: run scripts/setup.sh first")
endif()

add_library(sqlite3 STATIC "${QUORVEL_THIRD_PARTY}/sqlite3/sqlite3.c")
target_include_directories(sqlite3 SYSTEM PUBLIC "${QUORVEL_THIRD_PARTY}/sqlite3")
target_compile_definitions(sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION _WIN32_WINNT=0x0501)
target_compile_options(sqlite3 PRIVATE -w -O2)

add_library(tinyxml STATIC
    "${QUORVEL_THIRD_PARTY}/tinyxml/tinyxml.cpp" "${QUORVEL_THIRD_PARTY}/tinyxml/tinystr.cpp"
    "${QUORVEL_THIRD_PARTY}/tinyxml/tinyxmlerror.cpp" "${QUORVEL_THIRD_PARTY}/tinyxml/tinyxmlparser.cpp")
target_include_directories(tinyxml SYSTEM PUBLIC "${QUORVEL_THIRD_PARTY}/tinyxml")
target_compile_options(tinyxml PRIVATE -w -O2)

find_library(QUORVEL_ZLIB_A NAMES libz.a REQUIRED)
find_path(QUORVEL_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(zlib STATIC IMPORTED GLOBAL)
set_target_properties(zlib PROPERTIES IMPORTED_LOCATION "${QUORVEL_ZLIB_A}"
                                      INTERFACE_INCLUDE_DIRECTORIES "${QUORVEL_ZLIB_INCLUDE}")

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main gmock gmock_main)
    target_compile_options(${t} PRIVATE -w)
endforeach()

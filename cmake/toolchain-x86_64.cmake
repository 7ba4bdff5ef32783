# Cross-compiles for x86_64 Windows.
set(QUORVEL_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)

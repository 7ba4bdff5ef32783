# Cross-compiles for i686 Windows.
set(QUORVEL_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)

# Shared part of the mingw-w64 toolchains: QUORVEL_ARCH (x86_64 or i686) is set by the including file.
# The posix-thread compilers are used for both targets.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUORVEL_ARCH})
set(CMAKE_C_COMPILER   ${QUORVEL_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  ${QUORVEL_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

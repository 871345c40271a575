# Toolchain for cross-building Parlino for 64-bit Windows with mingw-w64 (Debian's
# g++-mingw-w64-x86-64-posix: the POSIX thread model gives std::thread and std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PARLINO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PARLINO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PARLINO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PARLINO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PARLINO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs carry their C and C++ runtimes, so they run without the compiler's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The platform the build is for. On Linux nothing happens here: CMakeLists.txt goes on with Qt,
# X11 and the Linux services. On Windows (cross-built with mingw-w64, see
# cmake/mingw-w64-x86_64.cmake) this builds the layers that need no Qt, the Windows services,
# parlino-say.exe and the tests of all of them; the tests run under Wine when it is installed.
# Debian has no Qt for Windows, so the program's windows are not part of this build.
if(NOT WIN32)
  return()
endif()

find_package(Threads REQUIRED)

# Windows 7 is the oldest system the Windows services are written for.
target_compile_definitions(parlino_options INTERFACE
  _WIN32_WINNT=0x0601 WINVER=0x0601 UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

# GoogleTest from Debian's source package, built with the cross compiler.
set(PARLINO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source folder")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# It names its targets GTest::gtest, GTest::gmock, ... as the installed package does.
add_subdirectory(${PARLINO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(platform)
add_subdirectory(platform/win32)
add_subdirectory(reading)
add_subdirectory(corrections)
add_subdirectory(speech)
add_subdirectory(app)

enable_testing()
add_subdirectory(tests/win32)

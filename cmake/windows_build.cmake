# The Windows build beside the Linux one. When mingw-w64 and Wine are installed, the same sources
# are cross-built in <build>/windows (an external project with the mingw-w64 toolchain) and their
# tests, which run under Wine, join this build's tests with the label "windows":
#   cmake --build build && ctest --test-dir build -L windows
find_program(PARLINO_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(PARLINO_WINE64 wine64 HINTS /usr/lib/wine)
if(PARLINO_MINGW_CXX AND PARLINO_WINE64 AND NOT PARLINO_SANITIZE AND NOT PARLINO_THREAD_SANITIZE)
  set(windows_default ON)
else()
  set(windows_default OFF)  # the sanitizers have no Windows build to check
endif()
option(PARLINO_WINDOWS "Cross-build the Windows layer and run its tests under Wine"
       ${windows_default})
if(NOT PARLINO_WINDOWS)
  return()
endif()
if(NOT PARLINO_MINGW_CXX OR NOT PARLINO_WINE64)
  message(FATAL_ERROR "PARLINO_WINDOWS needs mingw-w64 (g++-mingw-w64-x86-64-posix) and wine64")
endif()

include(ExternalProject)
set(windows_dir ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(parlino_windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${windows_dir}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    -DPARLINO_WINE=${PARLINO_WINE64}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_CONFIGURE ON
  USES_TERMINAL_BUILD ON)

# The Windows tests are read from the cross build's own test file once it exists.
set(include_file ${CMAKE_BINARY_DIR}/windows_tests.cmake)
file(WRITE ${include_file}
  "if(EXISTS \"${windows_dir}/tests/win32/CTestTestfile.cmake\")\n"
  "  include(\"${windows_dir}/tests/win32/CTestTestfile.cmake\")\n"
  "else()\n"
  "  add_test(windows_build_missing \"${CMAKE_COMMAND}\" -E echo \"Build first: the Windows tests are made by the build.\")\n"
  "  set_tests_properties(windows_build_missing PROPERTIES LABELS windows WILL_FAIL ON)\n"
  "endif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})

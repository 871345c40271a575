# Warnings and include path of every Parlino target.
add_library(parlino_warnings INTERFACE)
target_compile_options(parlino_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor
  -Woverloaded-virtual -Werror)
target_include_directories(parlino_warnings INTERFACE ${PROJECT_SOURCE_DIR})

# Compiler settings shared by every Parlino target: the warnings and the chosen sanitizers.
add_library(parlino_options INTERFACE)
target_link_libraries(parlino_options INTERFACE parlino_warnings)
if(PARLINO_SANITIZE)
  target_compile_options(parlino_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(parlino_options INTERFACE -fsanitize=address,undefined)
endif()
if(PARLINO_FUZZ)
  target_compile_options(parlino_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
  target_link_options(parlino_options INTERFACE -fsanitize=address,undefined)
endif()
if(PARLINO_THREAD_SANITIZE)
  target_compile_options(parlino_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(parlino_options INTERFACE -fsanitize=thread)
endif()

# parlino_library(name SOURCES ... LIBS ...): a static library of the project.
function(parlino_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC parlino_options ${ARG_LIBS})
endfunction()

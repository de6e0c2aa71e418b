# Shared build rules: warnings as errors for our own code, sanitizer flags,
# and the helpers that every subsystem folder uses.

set(LUMETRA_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference
    -Wimplicit-fallthrough -Werror)

set(LUMETRA_SANITIZE "" CACHE STRING "Sanitizers for every target, e.g. address,undefined")
if(LUMETRA_SANITIZE)
  add_compile_options(-fsanitize=${LUMETRA_SANITIZE} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${LUMETRA_SANITIZE})
endif()

if(WIN32)
  # One self-contained executable: no MinGW runtime DLLs to ship or find under Wine.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# lumetra_library(NAME SOURCES...) - a static library of one subsystem.
function(lumetra_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${LUMETRA_WARNINGS})
endfunction()

# lumetra_executable(NAME SOURCES...) - one of our programs.
function(lumetra_executable name)
  add_executable(${name} ${ARGN})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${LUMETRA_WARNINGS})
endfunction()

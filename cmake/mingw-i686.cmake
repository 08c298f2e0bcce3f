# Cross-compiles 32-bit Windows programs with mingw-w64's posix-thread compilers.
# (mingw-x86_64.cmake names another processor and includes this file.)
if(NOT QUILLORA_MINGW_PROCESSOR)
  set(QUILLORA_MINGW_PROCESSOR i686)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUILLORA_MINGW_PROCESSOR})

set(toolchain_prefix ${QUILLORA_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${toolchain_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${toolchain_prefix}-g++-posix)
# windres itself fails in a folder whose path holds characters the shell treats as its own (see
# cmake/windres): it is run through links of plain names.
set(CMAKE_RC_COMPILER ${CMAKE_CURRENT_LIST_DIR}/${toolchain_prefix}-windres)
set(CMAKE_DLLTOOL ${toolchain_prefix}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run through Wine; tools/wine-run supplies the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)

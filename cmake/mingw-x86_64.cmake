# Cross-compiles 64-bit Windows programs with mingw-w64's posix-thread compilers: the tests' build
# on a host that cannot run 32-bit code (see scripts/test). The programs people get are 32-bit.
set(QUILLORA_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)

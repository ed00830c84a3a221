# Cross-compiles the Windows program with MinGW-w64 (posix threads model).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(FERNWICK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)

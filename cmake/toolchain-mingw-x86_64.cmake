# Cross-compiles the Windows program with MinGW-w64 (posix threads model).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FERNWICK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)

# The Windows tree: fernwick.exe and everything that runs under Wine.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# Everything a Windows program of this build needs from the toolchain is linked in,
# so that it runs with nothing but Windows' own DLLs beside it.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${CMAKE_SOURCE_DIR}/scripts/lib/wine-run.sh;--prefix;${CMAKE_BINARY_DIR}/wineprefix")
endif()

file(GLOB FERNWICK_WIN_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/base/*.cpp
     ${CMAKE_SOURCE_DIR}/app/*.cpp
     ${CMAKE_SOURCE_DIR}/imaging/*.cpp
     ${CMAKE_SOURCE_DIR}/thumbview/*.cpp
     ${CMAKE_SOURCE_DIR}/service/*.cpp
     ${CMAKE_SOURCE_DIR}/upload/*.cpp
     ${CMAKE_SOURCE_DIR}/accounts/*.cpp
     ${CMAKE_SOURCE_DIR}/controls/*.cpp)
list(REMOVE_ITEM FERNWICK_WIN_SOURCES ${CMAKE_SOURCE_DIR}/app/win_main.cpp)

set(FERNWICK_DEPS_DIR "${CMAKE_SOURCE_DIR}/build/deps" CACHE PATH
    "Unpacked sources of the libraries built in (scripts/lib/fetch-sources.sh)")
include(${CMAKE_CURRENT_LIST_DIR}/deps_support.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/libjpeg_turbo.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/libwebp.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/libheif.cmake)

add_library(fernwick_win STATIC ${FERNWICK_WIN_SOURCES})
target_link_libraries(fernwick_win PUBLIC
  fernwick_core jpeg_transupp webp_demux libheif fernwick_charset gdiplus wininet comctl32 comdlg32 shell32 shlwapi ole32 advapi32 gdi32 user32 kernel32 uuid)

# Dialog templates, bitmaps, icon and manifest: linked into the program and into the
# in-process tests, which create the real dialogs from the same templates.
# The version resource takes the project's version through a generated header; the packaging
# scripts read the same number from release-version in the tree.
configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/generated/fernwick_version.h @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/release-version CONTENT "@PROJECT_VERSION@\n" @ONLY)
file(GLOB FERNWICK_RES_DEPENDS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*)
add_library(fernwick_res OBJECT res/fernwick.rc)
set_source_files_properties(res/fernwick.rc PROPERTIES OBJECT_DEPENDS
                            "${FERNWICK_RES_DEPENDS};${CMAKE_BINARY_DIR}/generated/fernwick_version.h")
target_include_directories(fernwick_res PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)

add_executable(fernwick WIN32 app/win_main.cpp $<TARGET_OBJECTS:fernwick_res>)
target_link_libraries(fernwick PRIVATE fernwick_win)
add_dependencies(fernwick ${FERNWICK_LICENCE_TARGETS})

# logo.gif is read from the program's own directory.
add_custom_command(TARGET fernwick POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/res/logo.gif $<TARGET_FILE_DIR:fernwick>/logo.gif)

add_subdirectory(tests/win)
add_subdirectory(tools)

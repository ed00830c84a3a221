# libwebp for the Windows trees: compiled from Debian's source package, which scripts/setup.sh
# unpacks into build/deps/. Only the decoding library is built (not libwebp itself, which holds
# the encoder too, nor the tools); the container reader that finds an animation's first frame
# (demux.c) is compiled here against it.
include(ExternalProject)

set(FERNWICK_WEBP_SOURCE "${FERNWICK_DEPS_DIR}/libwebp-1.2.4")
fernwick_require_sources(libwebp "${FERNWICK_WEBP_SOURCE}/src/demux/demux.c")

set(webp_binary "${CMAKE_BINARY_DIR}/deps/libwebp")
set(webp_library "${webp_binary}/${CMAKE_STATIC_LIBRARY_PREFIX}webpdecoder${CMAKE_STATIC_LIBRARY_SUFFIX}")
fernwick_target_build_command(webp_build_command webpdecoder)

ExternalProject_Add(libwebp_build
  SOURCE_DIR "${FERNWICK_WEBP_SOURCE}"
  BINARY_DIR "${webp_binary}"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${webp_binary}/unused-install
    -DBUILD_SHARED_LIBS=OFF
    -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF
    -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_LIBWEBPMUX=OFF
    -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF
  BUILD_COMMAND ${webp_build_command}
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS "${webp_library}"
  LOG_CONFIGURE ON
  LOG_OUTPUT_ON_FAILURE ON)

add_library(libwebp_decoder STATIC IMPORTED GLOBAL)
set_target_properties(libwebp_decoder PROPERTIES
  IMPORTED_LOCATION "${webp_library}"
  INTERFACE_INCLUDE_DIRECTORIES "${FERNWICK_WEBP_SOURCE}/src")
add_dependencies(libwebp_decoder libwebp_build)

add_library(webp_demux STATIC "${FERNWICK_WEBP_SOURCE}/src/demux/demux.c")
target_include_directories(webp_demux PRIVATE "${FERNWICK_WEBP_SOURCE}")
target_link_libraries(webp_demux PUBLIC libwebp_decoder)

fernwick_ship_licences(libwebp "${FERNWICK_WEBP_SOURCE}" COPYING PATENTS)

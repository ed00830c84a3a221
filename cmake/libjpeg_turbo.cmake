# libjpeg-turbo for the Windows trees: compiled from Debian's source package, which
# scripts/lib/fetch-sources.sh unpacks into build/deps/ (scripts/setup.sh, build.sh and
# package.sh run it), as static libraries with the SIMD code (nasm), and transupp.c beside it:
# the lossless transforms jpegtran uses live there, not in the library.
include(ExternalProject)

set(FERNWICK_JPEG_SOURCE "${FERNWICK_DEPS_DIR}/libjpeg-turbo-2.1.5" CACHE PATH
    "libjpeg-turbo's unpacked sources (scripts/lib/fetch-sources.sh)")
fernwick_require_sources(libjpeg-turbo "${FERNWICK_JPEG_SOURCE}/transupp.c")

set(jpeg_binary "${CMAKE_BINARY_DIR}/deps/libjpeg-turbo")
set(jpeg_library "${jpeg_binary}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX}")

# The 64-bit build must not quietly lose its SIMD code (a missing nasm would do that).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(jpeg_require_simd ON)
else()
  set(jpeg_require_simd OFF)
endif()

# Nothing is installed (the install prefix only has to be a path of this machine for the
# configure step to pass). Only the libjpeg library is built: not the TurboJPEG one, which would
# compile every source a second time, nor the programs and tests.
fernwick_target_build_command(jpeg_build_command jpeg-static)

ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR "${FERNWICK_JPEG_SOURCE}"
  BINARY_DIR "${jpeg_binary}"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${jpeg_binary}/unused-install
    -DENABLE_SHARED=OFF
    -DWITH_TURBOJPEG=OFF
    -DREQUIRE_SIMD=${jpeg_require_simd}
    -DCMAKE_ASM_NASM_COMPILER=nasm
  BUILD_COMMAND ${jpeg_build_command}
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS "${jpeg_library}"
  LOG_CONFIGURE ON
  LOG_OUTPUT_ON_FAILURE ON)

# jconfig.h and jconfigint.h are generated into the binary folder; the folder must exist when
# the imported target is defined.
file(MAKE_DIRECTORY "${jpeg_binary}")
add_library(libjpeg_turbo STATIC IMPORTED GLOBAL)
set_target_properties(libjpeg_turbo PROPERTIES
  IMPORTED_LOCATION "${jpeg_library}"
  INTERFACE_INCLUDE_DIRECTORIES "${FERNWICK_JPEG_SOURCE};${jpeg_binary}")
add_dependencies(libjpeg_turbo libjpeg_turbo_build)

# The lossless transforms (rotations, flips, the handling of partial edge blocks).
add_library(jpeg_transupp STATIC "${FERNWICK_JPEG_SOURCE}/transupp.c")
target_link_libraries(jpeg_transupp PUBLIC libjpeg_turbo)
target_include_directories(jpeg_transupp PUBLIC "${FERNWICK_JPEG_SOURCE}" "${jpeg_binary}")
add_dependencies(jpeg_transupp libjpeg_turbo_build)

fernwick_ship_licences(libjpeg-turbo "${FERNWICK_JPEG_SOURCE}" LICENSE.md README.ijg)

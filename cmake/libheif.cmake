# libheif with libde265 (its HEVC decoder) for the Windows trees: compiled from Debian's source
# packages, which scripts/setup.sh unpacks into build/deps/. Only the libraries: no examples,
# no tests, no encoder plug-ins, no plug-in loading (everything the program decodes is linked in).
# libde265's decoder is built by cmake/de265/ (without the encoder its own build always compiles)
# and installed into a folder of the build, where libheif's configure step finds it.
include(ExternalProject)

set(FERNWICK_DE265_SOURCE "${FERNWICK_DEPS_DIR}/libde265-1.0.11")
set(FERNWICK_HEIF_SOURCE "${FERNWICK_DEPS_DIR}/libheif-1.15.1")
fernwick_require_sources(libde265 "${FERNWICK_DE265_SOURCE}/libde265/de265.h")
fernwick_require_sources(libheif "${FERNWICK_HEIF_SOURCE}/libheif/heif.h")

set(de265_binary "${CMAKE_BINARY_DIR}/deps/de265-decoder")
set(de265_prefix "${de265_binary}/installed")
set(de265_library "${de265_prefix}/lib/${CMAKE_STATIC_LIBRARY_PREFIX}de265${CMAKE_STATIC_LIBRARY_SUFFIX}")
set(heif_binary "${CMAKE_BINARY_DIR}/deps/libheif")
set(heif_library "${heif_binary}/libheif/${CMAKE_STATIC_LIBRARY_PREFIX}heif${CMAKE_STATIC_LIBRARY_SUFFIX}")
fernwick_target_build_command(de265_build_command de265)
fernwick_target_build_command(heif_build_command heif)

# libde265 guards each CTB's progress with kernel objects on Windows (a mutex, a semaphore and an
# event, each waited on and released several times per CTB): under Wine every one of those calls
# is a round trip through the single-threaded Wine server, most of a photo's decoding time and
# the reason two photos decoding at once used one core. The patch makes them slim locks.
ExternalProject_Add(libde265_build
  SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/de265"
  BINARY_DIR "${de265_binary}"
  PATCH_COMMAND ${CMAKE_COMMAND} -DSOURCE=${FERNWICK_DE265_SOURCE}
    -DPATCH=${CMAKE_CURRENT_LIST_DIR}/libde265-slim-locks.patch -P ${CMAKE_CURRENT_LIST_DIR}/apply_patch_once.cmake
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${de265_prefix}
    -DDE265_SOURCE=${FERNWICK_DE265_SOURCE}
  BUILD_COMMAND ${de265_build_command}
  INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR>
  BUILD_BYPRODUCTS "${de265_library}"
  LOG_CONFIGURE ON
  LOG_INSTALL ON
  LOG_OUTPUT_ON_FAILURE ON)

# The decoder plug-in compiles against libde265's headers; the static build must not ask for
# its functions from a DLL. Two patches: libheif 1.15 mirrors (imir) only pictures of 8 bits a
# sample and fails the whole decoding of a deeper one (the first moves two-byte samples as
# well); and it turns every YCbCr picture into full-size planar RGB, which the program, shrinking
# as it converts, has no use for (the second keeps the decoder's planes when no colour space is
# asked for).
ExternalProject_Add(libheif_build
  SOURCE_DIR "${FERNWICK_HEIF_SOURCE}"
  BINARY_DIR "${heif_binary}"
  DEPENDS libde265_build
  PATCH_COMMAND ${CMAKE_COMMAND} -DSOURCE=${FERNWICK_HEIF_SOURCE}
    -DPATCH=${CMAKE_CURRENT_LIST_DIR}/libheif-mirror-deep.patch -P ${CMAKE_CURRENT_LIST_DIR}/apply_patch_once.cmake
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${FERNWICK_HEIF_SOURCE}
    -DPATCH=${CMAKE_CURRENT_LIST_DIR}/libheif-own-planes.patch -P ${CMAKE_CURRENT_LIST_DIR}/apply_patch_once.cmake
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${heif_binary}/unused-install
    "-DCMAKE_CXX_FLAGS=-DLIBDE265_STATIC_BUILD -w"
    -DBUILD_SHARED_LIBS=OFF -DENABLE_PLUGIN_LOADING=OFF -DWITH_EXAMPLES=OFF -DBUILD_TESTING=OFF
    -DWITH_LIBDE265=ON -DWITH_LIBDE265_PLUGIN=OFF
    -DLIBDE265_INCLUDE_DIR=${de265_prefix}/include -DLIBDE265_LIBRARY=${de265_library}
    -DWITH_X265=OFF -DWITH_DAV1D=OFF -DWITH_AOM_DECODER=OFF -DWITH_AOM_ENCODER=OFF -DWITH_RAV1E=OFF
    -DWITH_SvtEnc=OFF -DWITH_GDK_PIXBUF=OFF
  BUILD_COMMAND ${heif_build_command}
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS "${heif_library}"
  LOG_CONFIGURE ON
  LOG_OUTPUT_ON_FAILURE ON)

add_library(libde265 STATIC IMPORTED GLOBAL)
set_target_properties(libde265 PROPERTIES IMPORTED_LOCATION "${de265_library}")
add_dependencies(libde265 libde265_build)

# heif_version.h is generated into the binary folder; the folder must exist when the imported
# target is defined.
file(MAKE_DIRECTORY "${heif_binary}/libheif")
add_library(libheif STATIC IMPORTED GLOBAL)
set_target_properties(libheif PROPERTIES
  IMPORTED_LOCATION "${heif_library}"
  INTERFACE_INCLUDE_DIRECTORIES "${FERNWICK_HEIF_SOURCE};${heif_binary}"
  INTERFACE_COMPILE_DEFINITIONS "LIBHEIF_STATIC_BUILD"
  INTERFACE_LINK_LIBRARIES libde265)
add_dependencies(libheif libheif_build)

fernwick_ship_licences(libheif "${FERNWICK_HEIF_SOURCE}" COPYING)
fernwick_ship_licences(libde265 "${FERNWICK_DE265_SOURCE}" COPYING)

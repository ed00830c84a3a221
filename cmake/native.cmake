# The native tree: portable pieces under the sanitizers, fuzzers, and the reference server.
option(FERNWICK_SANITIZE "Build the native tree with AddressSanitizer and UBSan" ON)

find_package(Threads REQUIRED)
# GoogleTest is not ours to check and compiles at a third of the cost without the sanitizers
# (ASan and UBSan work with code built without them), so it is added before they are set:
# directory options reach only the folders added after them.
set(GTEST_ROOT_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_ROOT_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

if(FERNWICK_SANITIZE)
  set(sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  # fernwick_core is made before this file is read, out of reach of the directory's options:
  # it and all that links it get the sanitizers through fernwick_options.
  target_compile_options(fernwick_options INTERFACE ${sanitizers})
  add_compile_options(${sanitizers})
  add_link_options(-fsanitize=address,undefined)
endif()

add_subdirectory(tests/native)
if(EXISTS ${CMAKE_SOURCE_DIR}/server/CMakeLists.txt)
  add_subdirectory(server)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/CMakeLists.txt)
  add_subdirectory(tests/fuzz)
endif()

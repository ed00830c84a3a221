# What the libraries the Windows trees compile from Debian's source packages share: the check that
# their sources are unpacked, the command that builds one target of theirs, and their licences.

# Stops the configuration when `file` of a library's sources is missing.
function(fernwick_require_sources name file)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "No ${name} sources (${file}): run scripts/setup.sh")
  endif()
endfunction()

# The build command of an external project that builds only `target`: under make the outer
# build's jobserver is shared.
function(fernwick_target_build_command out target)
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(${out} "$(MAKE)" ${target} PARENT_SCOPE)
  else()
    set(${out} ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${target} PARENT_SCOPE)
  endif()
endfunction()

# The release ships the licence texts of every library built in: each library's files are copied
# to licences/<name>/ beside the build's outputs, which scripts/make-installer.sh packs.
set(FERNWICK_LICENCE_TARGETS "" CACHE INTERNAL "")
function(fernwick_ship_licences name source_dir)
  set(to "${CMAKE_BINARY_DIR}/licences/${name}")
  set(from "")
  set(copies "")
  foreach(file IN LISTS ARGN)
    list(APPEND from "${source_dir}/${file}")
    list(APPEND copies "${to}/${file}")
  endforeach()
  add_custom_command(OUTPUT ${copies}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${to}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${from} "${to}"
    DEPENDS ${from}
    COMMENT "Copying ${name}'s licence texts")
  add_custom_target(${name}_licences ALL DEPENDS ${copies})
  set(FERNWICK_LICENCE_TARGETS ${FERNWICK_LICENCE_TARGETS} ${name}_licences CACHE INTERNAL "")
endfunction()

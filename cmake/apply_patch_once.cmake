# Applies the patch PATCH to the unpacked sources in SOURCE unless they hold it already: both
# Windows trees build from the same unpacked folder, and each runs its own patch step.
#   cmake -DSOURCE=<folder> -DPATCH=<file> -P apply_patch_once.cmake
execute_process(COMMAND patch -p1 -R --dry-run -s -f -d "${SOURCE}" -i "${PATCH}"
  RESULT_VARIABLE reverted OUTPUT_QUIET ERROR_QUIET)
if(reverted EQUAL 0)
  return()
endif()
execute_process(COMMAND patch -p1 -N -s -f -d "${SOURCE}" -i "${PATCH}" RESULT_VARIABLE applied)
if(NOT applied EQUAL 0)
  message(FATAL_ERROR "${PATCH} does not apply to ${SOURCE}")
endif()

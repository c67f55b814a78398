# Regenerates the artwork into a scratch folder and fails when a committed file differs from what
# resources/make_artwork.py draws now (the script and its output must be committed together).
# Usage: cmake -DPYTHON=... -DSOURCE=<resources folder> -DSCRATCH=<folder> -P check_artwork.cmake
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(COMMAND "${PYTHON}" "${SOURCE}/make_artwork.py" "${SCRATCH}"
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "make_artwork.py failed")
endif()
file(GLOB drawn RELATIVE "${SCRATCH}" "${SCRATCH}/*")
if(NOT drawn)
  message(FATAL_ERROR "make_artwork.py wrote nothing")
endif()
foreach(name IN LISTS drawn)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SOURCE}/${name}" "${SCRATCH}/${name}"
    RESULT_VARIABLE differs)
  if(differs)
    message(SEND_ERROR "resources/${name} is not what make_artwork.py draws")
  endif()
endforeach()

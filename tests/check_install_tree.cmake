# Installs the program into a scratch folder as `cmake --install` does and checks what menus,
# docks and software centres find there: a stripped program, a valid desktop entry whose icon
# exists at 48 pixels and up and as a scalable picture, and valid AppStream metadata that names
# that entry. A validator that is not installed is left out (its variable is empty).
# Usage: cmake -DBUILD=<build folder> -DSCRATCH=<folder> -DDESKTOP_VALIDATE=<program>
#              -DAPPSTREAMCLI=<program> -DREADELF=<program> -P check_install_tree.cmake
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${SCRATCH}/usr"
  RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

file(GLOB_RECURSE program "${SCRATCH}/usr/zintrova" "${SCRATCH}/usr/bin/zintrova")
if(NOT program)
  message(FATAL_ERROR "no program was installed")
endif()
if(READELF)
  execute_process(COMMAND "${READELF}" -S "${program}" OUTPUT_VARIABLE sections)
  if(sections MATCHES "\\.symtab|\\.debug_info")
    message(SEND_ERROR "the installed program is not stripped")
  endif()
endif()

file(GLOB entries "${SCRATCH}/usr/share/applications/*.desktop")
list(LENGTH entries count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one desktop entry, found: ${entries}")
endif()
file(STRINGS "${entries}" icon REGEX "^Icon=")
string(REPLACE "Icon=" "" icon "${icon}")
foreach(picture 48x48/apps/${icon}.png 256x256/apps/${icon}.png scalable/apps/${icon}.svg)
  if(NOT EXISTS "${SCRATCH}/usr/share/icons/hicolor/${picture}")
    message(SEND_ERROR "the icon ${picture} is missing")
  endif()
endforeach()

if(DESKTOP_VALIDATE)
  execute_process(COMMAND "${DESKTOP_VALIDATE}" ${entries} RESULT_VARIABLE failed)
  if(failed)
    message(SEND_ERROR "desktop-file-validate rejects the desktop entry")
  endif()
endif()
if(APPSTREAMCLI)
  # The tree check also finds the desktop entry that the metadata launches.
  execute_process(COMMAND "${APPSTREAMCLI}" validate-tree --no-net "${SCRATCH}" RESULT_VARIABLE failed)
  if(failed)
    message(SEND_ERROR "appstreamcli rejects the AppStream metadata")
  endif()
endif()

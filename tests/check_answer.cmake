# Runs the program with ARG (arguments separated by blanks, or nothing) and no display of any
# kind but what SETENV (NAME=VALUE) names, and checks that it ends at once with exit status STATUS
# and a text matching SAYS that ends in a newline: on standard output for status 0, on standard
# error otherwise, with nothing on the other stream. LINES, when given, is the number of lines the
# text has.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
unset(ENV{XDG_SESSION_TYPE})
if(SETENV MATCHES "^([^=]+)=(.*)$")
  set(ENV{${CMAKE_MATCH_1}} "${CMAKE_MATCH_2}")
endif()
separate_arguments(ARG UNIX_COMMAND "${ARG}")
execute_process(COMMAND ${PROGRAM} ${ARG} RESULT_VARIABLE status OUTPUT_VARIABLE out
  ERROR_VARIABLE err TIMEOUT 20)
if(STATUS)
  set(text "${err}")
  set(other "${out}")
else()
  set(text "${out}")
  set(other "${err}")
endif()
string(REGEX MATCHALL "\n" lines "${text}")
list(LENGTH lines count)
if(NOT status STREQUAL STATUS OR NOT other STREQUAL "" OR NOT text MATCHES "${SAYS}"
   OR NOT text MATCHES "\n$" OR (LINES AND NOT count EQUAL LINES))
  message(FATAL_ERROR "'${ARG}' ended with ${status}, wrote\n${out}\nand on standard error\n${err}")
endif()

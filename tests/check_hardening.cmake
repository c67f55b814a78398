# Fails when the built program lacks a hardening measure of the optimised build.
#   cmake -DREADELF=readelf -DPROGRAM=path/to/zintrova [-DCF_PROTECTION=ON] -P check_hardening.cmake
function(read_elf out)
  execute_process(COMMAND ${READELF} -W ${ARGN} ${PROGRAM}
    OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "readelf ${ARGN} ${PROGRAM} failed: ${error}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

read_elf(header -h)
read_elf(segments -l)
read_elf(dynamic -d)
read_elf(symbols --dyn-syms)
read_elf(notes -n)
read_elf(strings -p .rodata -p .GCC.command.line)

set(missing)
macro(expect text regex what)
  if(NOT "${${text}}" MATCHES "${regex}")
    list(APPEND missing "${what}")
  endif()
endmacro()
expect(header "Type:[ \t]+DYN" "position independent executable (PIE)")
expect(segments "GNU_RELRO" "RELRO segment (-z relro)")
expect(dynamic "BIND_NOW|\\(FLAGS_1\\)[^\n]*NOW" "immediate binding (-z now)")
expect(symbols "__stack_chk_fail" "stack protector (-fstack-protector-strong)")
# A fortified call shows as a __*_chk function, but the compiler may have proved every call safe;
# the program also records the level the C library kept.
set(fortified "${symbols}\n${strings}")
expect(fortified "__[a-z0-9_]+_chk@|zintrova fortify level [23]" "fortified calls (_FORTIFY_SOURCE)")
# The linker keeps the control-flow mark only when every object has it (the C runtime's may
# not); the switches recorded by -frecord-gcc-switches say what the program's own code got.
if(CF_PROTECTION)
  set(cf "${notes}\n${strings}")
  expect(cf "x86 feature:[^\n]*IBT[^\n]*SHSTK|-fcf-protection(=full)?([ \n]|$)"
    "control-flow protection (-fcf-protection)")
endif()

if(missing)
  list(JOIN missing "\n  " list)
  message(FATAL_ERROR "${PROGRAM} lacks:\n  ${list}")
endif()
message(STATUS "${PROGRAM}: PIE, full RELRO, stack protector and fortified calls all present")

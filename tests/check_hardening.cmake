# Fails when the built program lacks a hardening measure of the optimised build. It reads what
# Debian's hardening-check reads: the ELF type, the imported __stack_chk_fail and __*_chk
# functions, the RELRO segment, immediate binding and the control-flow marks.
#   cmake -DREADELF=readelf -DCXX=c++ -DPROGRAM=path/to/zintrova -DPROBE=path/to/fortify_probe.o
#         [-DCF_PROTECTION=ON] -P check_hardening.cmake
function(read_elf out file)
  execute_process(COMMAND ${READELF} -W ${ARGN} ${file}
    OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "readelf ${ARGN} ${file} failed: ${error}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

read_elf(segments ${PROGRAM} -l)
read_elf(dynamic ${PROGRAM} -d)
read_elf(symbols ${PROGRAM} --dyn-syms)
read_elf(notes ${PROGRAM} -n)
read_elf(probe ${PROBE} -s)

set(missing)
macro(expect text regex what)
  if(NOT "${${text}}" MATCHES "${regex}")
    list(APPEND missing "${what}")
  endif()
endmacro()
expect(segments "file type is DYN.*PHDR" "position independent executable (PIE)")
expect(segments "GNU_RELRO" "RELRO segment (-z relro)")
expect(dynamic "BIND_NOW|\\(FLAGS_1\\)[^\n]*NOW" "immediate binding (-z now)")
expect(symbols "UND __stack_chk_fail" "stack protector (-fstack-protector-strong)")
expect(probe "UND __memcpy_chk" "a fortified call in the probe (_FORTIFY_SOURCE)")

# The compiler turns a call into its __*_chk function only where it knows the size of the
# destination and cannot prove the call safe, as in the probe. The program may have no such call.
string(REGEX MATCHALL "UND __[a-z0-9_]+_chk@" fortified "${symbols}")
list(JOIN fortified ", " fortified)
if(NOT fortified)
  set(fortified "none, no call of the program has a size left to check at run time")
endif()

# The linker keeps the control-flow marks only where every object it links has them. Where the C
# library's start file Scrt1.o has none (Debian 12's), the program lacks them whatever its own
# code has, and the switches the compiler recorded (-frecord-gcc-switches) show what that got.
set(cf "not asked for")
if(CF_PROTECTION)
  set(cf "x86 feature: IBT, SHSTK")
  if(NOT notes MATCHES "${cf}")
    execute_process(COMMAND ${CXX} -print-file-name=Scrt1.o OUTPUT_VARIABLE start
      OUTPUT_STRIP_TRAILING_WHITESPACE)
    file(REAL_PATH ${start} start)
    read_elf(start_notes ${start} -n)
    if(start_notes MATCHES "${cf}")
      list(APPEND missing "control-flow marks (${cf}), which ${start} has")
    endif()
    read_elf(switches ${PROGRAM} -p .GCC.command.line)
    expect(switches "-fcf-protection=full" "control-flow protection of its code (-fcf-protection)")
    set(cf "none, as ${start} has none; the code has -fcf-protection")
  endif()
endif()

if(missing)
  list(JOIN missing "\n  " list)
  message(FATAL_ERROR "${PROGRAM} lacks:\n  ${list}")
endif()
message(STATUS "${PROGRAM}: PIE, full RELRO, stack protector; fortified calls: ${fortified}; "
  "control-flow marks: ${cf}")

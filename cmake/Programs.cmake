# The register of programs: add_program is the one place that names a program, the sample
# files it reads, its behaviour tests and its end-to-end tests. The build adds its folder;
# packaging installs what the register lists, the tests build what it lists, and the
# install check and the package test read build/programs.list, which it writes.
#
# add_program(NAME [SAMPLES file...] [TESTS source...] [E2E script...] [E2E_ARGS arg...]
#             [E2E_TIMEOUT seconds])
#   NAME      the program's folder and executable; its folder makes the unit library
#             NAME_unit that the tests link, and the executable
#   SAMPLES   files of assets/ that the program reads from its current folder: installed
#             beside it, and its menu entry starts it there
#   TESTS     behaviour test sources under tests/, built into NAME_tests
#   E2E       end-to-end scripts tests/e2e/SCRIPT.sh, each run with the program's path and
#             E2E_ARGS, and each given E2E_TIMEOUT seconds (120 unless said)
# Its menu entry is packaging/applications/NAME.desktop.in, its icons assets/icons/NAME.*.
# Found by name when there: packaging/man/NAME.files, its manual page's FILES section when
# it has no samples, and tests/e2e/NAME_package_check.sh, what the package test checks once
# the installed program shows its window.
function(add_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "E2E_TIMEOUT" "SAMPLES;TESTS;E2E;E2E_ARGS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "add_program(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_E2E_TIMEOUT)
    set(arg_E2E_TIMEOUT 120)
  endif()
  add_subdirectory(${name})
  set_property(GLOBAL APPEND PROPERTY PROGRAMS ${name})
  foreach(field SAMPLES TESTS E2E E2E_ARGS E2E_TIMEOUT)
    set_property(GLOBAL PROPERTY PROGRAM_${name}_${field} "${arg_${field}}")
  endforeach()
endfunction()

# Sets `out` to the registered programs, in their order of registration.
function(get_programs out)
  get_property(programs GLOBAL PROPERTY PROGRAMS)
  set(${out} ${programs} PARENT_SCOPE)
endfunction()

# Sets `out` to one field (SAMPLES, TESTS, E2E, E2E_ARGS or E2E_TIMEOUT) of a registered program.
function(get_program_field name field out)
  get_property(value GLOBAL PROPERTY PROGRAM_${name}_${field})
  set(${out} ${value} PARENT_SCOPE)
endfunction()

# Writes build/programs.list: a line a program, its name and then its sample files, all
# separated by tabs.
function(write_program_list)
  get_programs(programs)
  set(text "")
  foreach(program ${programs})
    get_program_field(${program} SAMPLES samples)
    list(PREPEND samples ${program})
    list(JOIN samples "\t" line)
    string(APPEND text "${line}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/programs.list CONTENT "${text}" @ONLY)
endfunction()

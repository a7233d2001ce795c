# The libFuzzer targets, built only with -DTARNWICK_FUZZ=ON and clang, in a build folder of their
# own. Everything is compiled with coverage for the fuzzer and with AddressSanitizer and
# UndefinedBehaviorSanitizer, so that a fuzzer reaching into any library is guided by it and
# watches it.
if(TARNWICK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TARNWICK_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# tarnwick_add_fuzzer(NAME SOURCES file... LIBS lib...): nothing unless TARNWICK_FUZZ is on.
function(tarnwick_add_fuzzer name)
  if(NOT TARNWICK_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# tarnwick_add_test(NAME SOURCES file... LIBS lib...)
# One GoogleTest executable per layer; every case is visible to ctest. Cases read no directory
# configuration of the person running them: one that wants one names it.
function(tarnwick_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    # A case that hangs (a list asked for ever, say) fails in two minutes, not twenty-five.
    PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      ENVIRONMENT_MODIFICATION "XDG_CONFIG_HOME=set:${CMAKE_BINARY_DIR}/test-config"
      TIMEOUT 120)
endfunction()

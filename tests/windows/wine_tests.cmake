# The Windows tests under CTest: every test runs under the tests' Wine (wine.sh) with two
# fixtures, "wine", which makes the prefix and the Russian locale and starts the virtual
# display (on which every program of the session runs, so that no headless program fixes the
# session's display before a window test), and ends them after the last test.
# add_wine_tests(TARGET [ON_SCREEN]) registers each GoogleTest case of TARGET as a test of its
# own, listed by running TARGET under Wine when ctest starts; ON_SCREEN for tests that show
# windows, which take the screen one program at a time.
enable_testing()
include(GoogleTest)
set(wine_tests_directory ${CMAKE_CURRENT_LIST_DIR})

add_test(NAME wine_prefix COMMAND ${wine_tests_directory}/wine_prefix.sh ${CMAKE_BINARY_DIR})
add_test(NAME wine_display_start COMMAND ${wine_tests_directory}/wine_display.sh ${CMAKE_BINARY_DIR} start)
add_test(NAME wine_display_stop COMMAND ${wine_tests_directory}/wine_display.sh ${CMAKE_BINARY_DIR} stop)
set_tests_properties(wine_prefix wine_display_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_display_start PROPERTIES DEPENDS wine_prefix)
set_tests_properties(wine_display_stop PROPERTIES FIXTURES_CLEANUP wine)

# The test programs' own code and GoogleTest are optimised lightly, as in the Linux build's
# tests (tests/CMakeLists.txt): the code under test keeps the project's -O2.
set(SHAREMON_TEST_OPTIMISATION -O1)
target_compile_options(gtest PRIVATE ${SHAREMON_TEST_OPTIMISATION})
target_compile_options(gtest_main PRIVATE ${SHAREMON_TEST_OPTIMISATION})

function(add_wine_tests target)
  cmake_parse_arguments(ARG "ON_SCREEN" "" "" ${ARGN})
  target_compile_options(${target} PRIVATE ${SHAREMON_TEST_OPTIMISATION})
  set(lock)
  if(ARG_ON_SCREEN)
    set(lock RESOURCE_LOCK wine_screen)
  endif()
  add_dependencies(${target} job_launcher)
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
                                             "${wine_tests_directory}/wine_test.sh;${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    PROPERTIES FIXTURES_REQUIRED wine ${lock})
endfunction()

# Windows test programs run under Wine, in a 32-bit prefix made fresh inside
# the build tree once per test run (the "wine" fixture).
set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-exec.in ${CMAKE_BINARY_DIR}/wine-exec @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec)

add_test(NAME wine.prefix.boot COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix boot ${WINE_PREFIX_DIR})
add_test(NAME wine.prefix.stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix stop ${WINE_PREFIX_DIR})
set_tests_properties(wine.prefix.boot PROPERTIES FIXTURES_SETUP wine TIMEOUT 180 LABELS wine)
set_tests_properties(wine.prefix.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS wine)

# Windows path of a file in the build tree, as a program inside Wine sees it.
function(wine_path out unix_path)
  string(REPLACE "/" "\\" windows_path "Z:${unix_path}")
  set(${out} "${windows_path}" PARENT_SCOPE)
endfunction()

# add_wine_gtest(<name> SOURCES ... [LIBS ...] [NEEDS_PROGRAM] [ENVIRONMENT NAME=value ...])
# Builds a GoogleTest program for Windows and registers one CTest test per
# test suite found in its sources, each run under Wine with the shared prefix.
# ENVIRONMENT hands further values to the tests, besides the program paths.
function(add_wine_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} test_support GTest::gmock GTest::gtest_main)
  set(suites "")
  foreach(source IN LISTS ARG_SOURCES)
    file(READ ${CMAKE_CURRENT_SOURCE_DIR}/${source} text)
    string(REGEX MATCHALL "TEST(_F|_P)?\\([ \t\r\n]*[A-Za-z0-9_]+" found "${text}")
    foreach(match IN LISTS found)
      string(REGEX REPLACE "TEST(_F|_P)?\\([ \t\r\n]*" "" suite "${match}")
      list(APPEND suites ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  list(FILTER suites EXCLUDE REGEX "^DISABLED_")  # helpers that tests run as child processes
  wine_path(program ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/RootCaster.exe)
  wine_path(menureader ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/menureader.exe)
  set(environment "ROOTCASTER_EXE=${program}" "MENUREADER_EXE=${menureader}" ${ARG_ENVIRONMENT})
  foreach(suite IN LISTS suites)
    add_test(NAME wine.${name}.${suite} COMMAND ${name} --gtest_filter=${suite}.*:${suite}/*)
    set_tests_properties(wine.${name}.${suite} PROPERTIES
      FIXTURES_REQUIRED wine
      RESOURCE_LOCK wineprefix
      LABELS wine
      TIMEOUT 300
      ENVIRONMENT "${environment}"
      # Wine may end a crashed program with status 0: only GoogleTest's own
      # summary of at least one passed test, and no failure, counts as a pass.
      PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9]"
      FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  endforeach()
endfunction()

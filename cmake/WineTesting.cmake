# Windows test programs run under Wine, in a prefix made fresh inside the
# build tree once per test run: 32-bit (the "wine" fixture), or 64-bit for
# the 64-bit tree (the "wine64" fixture, its own prefix and lock, so both
# trees' tests can run side by side).
set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix)
if(ROOTCASTER_WIN64)
  set(WINE_ARCH win64)
  set(WINE_FIXTURE wine64)
else()
  set(WINE_ARCH win32)
  set(WINE_FIXTURE wine)
endif()
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-exec.in ${CMAKE_BINARY_DIR}/wine-exec @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec)

add_test(NAME ${WINE_FIXTURE}.prefix.boot
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix boot ${WINE_PREFIX_DIR} ${WINE_ARCH})
add_test(NAME ${WINE_FIXTURE}.prefix.stop
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix stop ${WINE_PREFIX_DIR} ${WINE_ARCH})
set_tests_properties(${WINE_FIXTURE}.prefix.boot PROPERTIES
  FIXTURES_SETUP ${WINE_FIXTURE} TIMEOUT 180 LABELS wine)
set_tests_properties(${WINE_FIXTURE}.prefix.stop PROPERTIES
  FIXTURES_CLEANUP ${WINE_FIXTURE} TIMEOUT 60 LABELS wine)

# Windows path of a file in the build tree, as a program inside Wine sees it.
function(wine_path out unix_path)
  string(REPLACE "/" "\\" windows_path "Z:${unix_path}")
  set(${out} "${windows_path}" PARENT_SCOPE)
endfunction()

# add_wine_gtest(<name> SOURCES ... [LIBS ...] [WIN64] [ENVIRONMENT NAME=value ...])
# Builds a GoogleTest program for Windows and registers one CTest test per
# test suite found in its sources, each run under Wine with the shared prefix.
# ENVIRONMENT hands further values to the tests, besides the program paths.
# A WIN64 program tests the 64-bit build: it is built and run only in the
# 64-bit tree, and every other one only in the 32-bit tree.
function(add_wine_gtest name)
  cmake_parse_arguments(ARG "WIN64" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} test_support GTest::gmock GTest::gtest_main)
  if(NOT ARG_WIN64 STREQUAL ROOTCASTER_WIN64)
    # Defined, so that dependencies can name it, but neither built nor run here.
    set_property(TARGET ${name} PROPERTY EXCLUDE_FROM_ALL ON)
    return()
  endif()
  build_in_win64(${name})
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
    add_test(NAME ${WINE_FIXTURE}.${name}.${suite} COMMAND ${name} --gtest_filter=${suite}.*:${suite}/*)
    set_tests_properties(${WINE_FIXTURE}.${name}.${suite} PROPERTIES
      FIXTURES_REQUIRED ${WINE_FIXTURE}
      RESOURCE_LOCK ${WINE_FIXTURE}prefix
      LABELS wine
      TIMEOUT 300
      ENVIRONMENT "${environment}"
      # Wine may end a crashed program with status 0: only GoogleTest's own
      # summary of at least one passed test, and no failure, counts as a pass.
      PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9]"
      FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  endforeach()
endfunction()

# Windows test programs run under Wine, in a prefix made fresh inside the
# build tree once per test run: 32-bit for the x86 edition (the "wine"
# fixture), 64-bit for the x64 edition (the "wine64" fixture, its own prefix
# and lock, so both trees' tests can run side by side).
# Every test that runs 32-bit code carries the label "x86": scripts/test
# leaves those out on machines that run no 32-bit code.
set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix)
if(ROOTCASTER_WIN64)
  set(WINE_ARCH win64)
  set(WINE_FIXTURE wine64)
  set(WINE_LABELS wine)
else()
  set(WINE_ARCH win32)
  set(WINE_FIXTURE wine)
  set(WINE_LABELS wine x86)
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
  FIXTURES_SETUP ${WINE_FIXTURE} TIMEOUT 180 LABELS "${WINE_LABELS}")
set_tests_properties(${WINE_FIXTURE}.prefix.stop PROPERTIES
  FIXTURES_CLEANUP ${WINE_FIXTURE} TIMEOUT 60 LABELS "${WINE_LABELS}")

# Windows path of a file in the build tree, as a program inside Wine sees it.
function(wine_path out unix_path)
  string(REPLACE "/" "\\" windows_path "Z:${unix_path}")
  set(${out} "${windows_path}" PARENT_SCOPE)
endfunction()

# add_wine_gtest(<name> SOURCES ... [LIBS ...] [EDITION x86|x64] [NEEDS_X86]
#                [ENVIRONMENT NAME=value ...])
# Builds a GoogleTest program for Windows and registers one CTest test per
# test suite found in its sources, each run under Wine with the shared prefix.
# Every program is built and run in both editions' trees, unless EDITION
# names the one it belongs to alone. NEEDS_X86: it starts 32-bit programs
# even in the x64 tree. ENVIRONMENT hands further values to the tests,
# besides the program paths.
function(add_wine_gtest name)
  cmake_parse_arguments(ARG "NEEDS_X86" "EDITION" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} test_support GTest::gmock GTest::gtest_main)
  if(ARG_EDITION AND NOT ARG_EDITION STREQUAL ROOTCASTER_EDITION)
    # Defined, so that dependencies can name it, but neither built nor run here.
    set_property(TARGET ${name} PROPERTY EXCLUDE_FROM_ALL ON)
    return()
  endif()
  set(labels ${WINE_LABELS})
  if(ARG_NEEDS_X86)
    list(APPEND labels x86)
    list(REMOVE_DUPLICATES labels)
  endif()
  set(suites "")
  foreach(source IN LISTS ARG_SOURCES)
    # A test suite added to a source registers at the next build, not only
    # when CMake happens to run again. The path is normalised: a source that
    # two folders share (../x.cpp) must not be named twice.
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    file(READ ${path} text)
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
      LABELS "${labels}"
      TIMEOUT 300
      ENVIRONMENT "${environment}"
      # Wine may end a crashed program with status 0: only GoogleTest's own
      # summary of at least one passed or skipped test, and no failure, counts
      # as a pass. A suite may skip every case where it cannot apply (System32
      # redirection in a 32-bit prefix); the skip prints its reason.
      PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9];\\[  SKIPPED \\] [1-9]"
      FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  endforeach()
endfunction()

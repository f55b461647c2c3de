# The native build: portable logic and its unit tests, under AddressSanitizer
# and UndefinedBehaviorSanitizer.
option(ROOTCASTER_SANITIZE "Build native code with ASan and UBSan" ON)
if(ROOTCASTER_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

include(GoogleTest)

# add_native_gtest(<name> SOURCES ... [LIBS ...]): a unit test program of the
# portable logic, one CTest test per test case.
function(add_native_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} TEST_PREFIX native. PROPERTIES LABELS native)
endfunction()

# add_fuzz_target(<name> SOURCES ... [LIBS ...]): a libFuzzer target when the
# compiler is clang, run briefly as a test; elsewhere it is left out.
function(add_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_test(NAME fuzz.${name} COMMAND ${name} -runs=300000 -max_total_time=30 -seed=1
                                   -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/)
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 120)
endfunction()

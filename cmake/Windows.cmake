# The Windows program: ANSI Win32 API, declarations of Windows 95/NT 4.0 and
# their common controls 4.00 only, so that nothing newer compiles in by
# accident; runtime linked statically so it runs on a bare system.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0400 WINVER=0x0400 _WIN32_IE=0x0200)
add_link_options(-static -static-libgcc -static-libstdc++)

# Every program and DLL says in its PE header that it needs Windows 4.0 (95 and
# NT 4.0). A 64-bit image cannot: the oldest 64-bit Windows is 5.2.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PE_WINDOWS_VERSION 5 2)
else()
  set(PE_WINDOWS_VERSION 4 0)
endif()
list(GET PE_WINDOWS_VERSION 0 _pe_major)
list(GET PE_WINDOWS_VERSION 1 _pe_minor)
add_link_options(-Wl,--major-subsystem-version,${_pe_major},--minor-subsystem-version,${_pe_minor}
                 -Wl,--major-os-version,${_pe_major},--minor-os-version,${_pe_minor})

set(DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "What a user installs")

# 64-bit Windows loads only 64-bit shell extensions into its Explorer. The
# 64-bit tree (build/win64) builds just what opts in with build_in_win64(),
# and what that links; everything else stays 32-bit only.
set(ROOTCASTER_WIN64 FALSE)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ROOTCASTER_WIN64 TRUE)
endif()

# build_in_win64(<target> [OUTPUT_NAME <name>]): <target> is built in the
# 64-bit tree too, there under <name> if given.
function(build_in_win64 target)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "" ${ARGN})
  if(NOT ROOTCASTER_WIN64)
    return()
  endif()
  set_property(TARGET ${target} PROPERTY EXCLUDE_FROM_ALL OFF)
  if(ARG_OUTPUT_NAME)
    set_property(TARGET ${target} PROPERTY OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
endfunction()

# Called once all folders are added: in the 64-bit tree, the targets that
# did not opt in leave "all".
function(build_only_opted_in_win64)
  if(NOT ROOTCASTER_WIN64)
    return()
  endif()
  get_property(folders DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY SUBDIRECTORIES)
  foreach(folder IN LISTS folders)
    set_property(DIRECTORY ${folder} PROPERTY EXCLUDE_FROM_ALL ON)
  endforeach()
endfunction()

# Every program of the build in one folder, so tests know where to find them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# add_to_dist(<target>): the program is copied into dist/, what a user
# installs, at every build.
function(add_to_dist target)
  add_custom_target(dist_${target} ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${DIST_DIR}/$<TARGET_FILE_NAME:${target}>
    DEPENDS ${target})
endfunction()
